#pragma once
// Clear, pixel and line for pixels of 1, 2 or 4 bytes (8, 15/16 and 32 bits
// per pixel), banked and linear: one template per routine, the pixel type
// gives the size.
#include "draw/line_walk.h"
#include "draw/page_access.h"

#include <cstdint>

namespace vidlib32::draw {

// Four bytes of colour for the 32-bit fills.
template <typename Pixel> constexpr uint32_t FillPattern(uint32_t colour) {
    if constexpr (sizeof(Pixel) == 1) return (colour & 0xFFu) * 0x01010101u;
    if constexpr (sizeof(Pixel) == 2) return (colour & 0xFFFFu) * 0x00010001u;
    return colour;
}

template <typename Pixel> struct BankedCursor {
    uint32_t position; // bank x 65 536 + window offset
    uint32_t rowStep;  // a line down or up (two's complement)
    Pixel colour;
    void plot() {
        SelectBankOf(position);
        Store(WindowAddress(position), colour);
    }
    void right() { position += sizeof(Pixel); }
    void row() { position += rowStep; }
    void finish() {}
};

template <typename Pixel> struct LinearCursor {
    uint8_t* at;
    intptr_t rowStep;
    Pixel colour;
    void plot() { Store(at, colour); }
    void right() { at += sizeof(Pixel); }
    void row() { at += rowStep; }
    void finish() {}
};

template <typename Pixel> void ClearBanked(uint32_t colour) {
    FillPageBanked(FillPattern<Pixel>(colour));
}

template <typename Pixel> void PutPixelBanked(int32_t x, int32_t y, uint32_t colour) {
    uint32_t position = BankedPosition(y, static_cast<uint32_t>(x) * sizeof(Pixel));
    SelectBankOf(position);
    Store(WindowAddress(position), static_cast<Pixel>(colour));
}

template <typename Pixel>
void LineBanked(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    LineShape shape = ShapeOf(x1, y1, x2, y2);
    BankedCursor<Pixel> cursor{
        BankedPosition(shape.y, static_cast<uint32_t>(shape.x) * sizeof(Pixel)),
        static_cast<uint32_t>(RowStep(shape, gDevice.lineBytes)), static_cast<Pixel>(colour)};
    WalkLine(shape, cursor);
}

template <typename Pixel> void ClearLinear(uint32_t colour) {
    FillPageLinear(FillPattern<Pixel>(colour));
}

template <typename Pixel> void PutPixelLinear(int32_t x, int32_t y, uint32_t colour) {
    Store(LinearAddress(y, static_cast<uint32_t>(x) * sizeof(Pixel)), static_cast<Pixel>(colour));
}

template <typename Pixel>
void LineLinear(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    LineShape shape = ShapeOf(x1, y1, x2, y2);
    LinearCursor<Pixel> cursor{
        LinearAddress(shape.y, static_cast<uint32_t>(shape.x) * sizeof(Pixel)),
        RowStep(shape, gDevice.lineBytes), static_cast<Pixel>(colour)};
    WalkLine(shape, cursor);
}

} // namespace vidlib32::draw
