// The drawing operations of the 2D engine over a piece of video memory. Each
// returns the number of pixels it wrote, which sets how long the engine
// stays busy. Nothing is written outside the clip rectangle or outside video
// memory, whatever the operands.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace pcemu {

struct DrawTarget {
    uint8_t* vram = nullptr;
    uint32_t vramSize = 0;
    uint32_t origin = 0; // byte offset of pixel (0, 0)
    uint32_t pitch = 0;  // bytes per line
    unsigned bpp = 8;
    int32_t clipLeft = 0, clipTop = 0, clipRight = -1, clipBottom = -1; // inclusive

    unsigned bytesPerPixel() const { return (bpp + 7) / 8; }
};

struct Pen {
    uint32_t fore = 0, back = 0;
    unsigned foreMix = 0, backMix = 0; // 0 replace, 1 XOR, 2 OR, 3 AND
};

enum class BlitKind { Plain, SourceTransparent, DestinationTransparent };

struct BlitSource {
    bool linear = false;
    int64_t left = 0, top = 0; // linear: left is the byte offset of the bitmap
};

struct Blit {
    BlitSource source;
    int32_t width = 0, height = 0, dstLeft = 0, dstTop = 0;
    unsigned mix = 0;
    BlitKind kind = BlitKind::Plain;
    uint32_t transparent = 0;
};

uint64_t FillRect(const DrawTarget& t, int32_t left, int32_t top, int64_t width, int64_t height,
                  uint32_t colour, unsigned mix);
// Pixels from min(x1, x2) up to max(x1, x2), the larger one excluded.
uint64_t DrawScan(const DrawTarget& t, int32_t y, int32_t x1, int32_t x2, uint32_t colour,
                  unsigned mix);
// A pattern aligned to the buffer: pixel (x, y) takes bit 7 - (x & 7) of
// row y & 7; set bits get the foreground, clear ones the background.
uint64_t PatternRect(const DrawTarget& t, int32_t left, int32_t top, int64_t width, int64_t height,
                     const Pen& pen, const std::array<uint8_t, 8>& pattern);
// A line between two 16.16 fixed-point points, both drawn. With a stipple,
// pixel i from (x1, y1) takes bit 15 - (i & 15): set gives the foreground,
// clear the background; without, every pixel is the foreground.
uint64_t DrawLine(const DrawTarget& t, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                  const Pen& pen, const uint16_t* stipple);
// scratch holds the source while the destination is written, so overlapping
// rectangles copy as if through a separate buffer.
uint64_t DrawBlit(const DrawTarget& t, const Blit& blit, std::vector<uint64_t>& scratch);

} // namespace pcemu
