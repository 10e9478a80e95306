#pragma once
// The runtime's tile store: one sprite record per tile number, loaded from a
// tile set file.
#include "formats/pbm.h"
#include "maprun/core/expandedtile.h"
#include "maprun/core/sprite.h"

#include <array>
#include <filesystem>

namespace maprun {

class TTiles {
public:
    static constexpr int kCount = 8192;
    // AddTile accepts indices below this; the last entry stays empty.
    static constexpr int kMaxIndex = kCount - 1;

    // The record of a tile number, nil when there is none or it is out of range.
    const uint8_t* Tile(int index) const {
        return index >= 0 && index < kCount ? FList[index].get() : nullptr;
    }
    // Unchecked: `index` must be below kCount (a 13-bit tile number is).
    const uint8_t* TileUnchecked(unsigned index) const { return FList[index].get(); }
    // The tile's expanded form (nil unless its record is 32 x 32), made when
    // it was added.
    const TExpandedTile* ExpandedUnchecked(unsigned index) const { return FExpanded[index].get(); }

    // Stores MakeSprite(image, rect) at 0 <= index < 8191 (nil for an empty
    // rectangle), replacing what was there; other indices are ignored.
    void AddTile(const formats::TPBMImage& image, const TRect& rect, int index);

    // Reads a tile set; pictures are looked for beside it (names as the file
    // stores them, resolved without regard to case). Raises ETileLoader for a
    // missing file, a wrong header or a tile size other than 32; a faulty TILE
    // or TILES line is skipped silently. Each picture is decoded once per load;
    // `progress` runs while pictures decode.
    void LoadFromFile(const std::filesystem::path& fileName,
                      const formats::ProgressCallback& progress = {});

private:
    std::array<SpriteRecord, kCount> FList;
    std::array<std::unique_ptr<TExpandedTile>, kCount> FExpanded;
};

} // namespace maprun
