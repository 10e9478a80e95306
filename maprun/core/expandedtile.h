#pragma once
// A tile record expanded for drawing whole rows at once. Each row holds the
// tile's 32 pixel bytes and 32 mask bytes (0xFF where the record puts a
// pixel, 0 where it leaves the frame alone), so a row is drawn as one select
// between the tile's pixels (or their shades) and the frame's, with no spans
// to walk, however ragged the tile. Built once when a tile is added.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace maprun {

struct TExpandedTile {
    static constexpr int kSide = 32;
    static constexpr int kRowBytes = 2 * kSide; // pixels, then mask
    // Reading a row shifted by up to kSide - 1 bytes either way stays inside
    // the block: its bytes beyond the tile are masked off when drawn.
    static constexpr int kPad = kSide;

    const uint8_t* Row(int row) const { return bytes + kPad + row * kRowBytes; }

    alignas(32) uint8_t bytes[kPad + kSide * kRowBytes + kPad] = {};
    int32_t firstRow = 0; // rows [firstRow, endRow) put pixels
    int32_t endRow = 0;
    bool opaque = false; // every pixel of every row is copied
    bool shaded = false; // pixels of value 2 to 15 shade what lies under them
};

// The expanded form of a record 32 x 32 pixels with its hotspot at (0, 0);
// nil for any other record (and for nil).
std::unique_ptr<TExpandedTile> ExpandTile(const uint8_t* record);

} // namespace maprun
