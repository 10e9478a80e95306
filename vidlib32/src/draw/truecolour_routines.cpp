// 16 M colours: 3 bytes per pixel, blue, green, red. In banked modes a pixel
// may straddle the window's end; it is then written a byte at a time, the
// window following each byte, and left on the pixel's last bank.
#include "draw/truecolour_routines.h"

#include "draw/line_walk.h"
#include "draw/page_access.h"

namespace vidlib32::draw {
namespace {

inline void Store24(uint8_t* at, uint32_t colour) {
    at[0] = static_cast<uint8_t>(colour);
    at[1] = static_cast<uint8_t>(colour >> 8);
    at[2] = static_cast<uint8_t>(colour >> 16);
}

void PlotBanked24(uint32_t position, uint32_t colour) {
    if ((position & 0xFFFFu) <= 0xFFFDu) {
        SelectBankOf(position);
        Store24(WindowAddress(position), colour);
        return;
    }
    for (uint32_t i = 0; i < 3; ++i) {
        SelectBankOf(position + i);
        *WindowAddress(position + i) = static_cast<uint8_t>(colour >> (8 * i));
    }
}

struct BankedCursor24 {
    uint32_t position;
    uint32_t rowStep;
    uint32_t colour;
    void plot() { PlotBanked24(position, colour); }
    void right() { position += 3; }
    void row() { position += rowStep; }
    void finish() {}
};

struct LinearCursor24 {
    uint8_t* at;
    intptr_t rowStep;
    uint32_t colour;
    void plot() { Store24(at, colour); }
    void right() { at += 3; }
    void row() { at += rowStep; }
    void finish() {}
};

bool IsBlack(uint32_t colour) {
    return (colour & 0xFFFFFFu) == 0;
}

// The clear of a colour other than black: every pixel of every line, line
// after line; the bytes after a line's last pixel are left as they are.
// Position is a banked position or a host address.
template <typename Position, typename Plot> void PlotWholePage(Position rowStart, Plot plot) {
    for (int32_t y = 0; y <= gDevice.lastY; ++y, rowStart += gDevice.lineBytes) {
        Position at = rowStart;
        for (int32_t x = 0; x <= gDevice.lastX; ++x, at += 3)
            plot(at);
    }
}

} // namespace

void ClearLinear24(uint32_t colour) {
    if (IsBlack(colour)) {
        FillPageLinear(0);
        return;
    }
    PlotWholePage(LinearAddress(0, 0), [colour](uint8_t* at) { Store24(at, colour); });
}

void PutPixelLinear24(int32_t x, int32_t y, uint32_t colour) {
    Store24(LinearAddress(y, static_cast<uint32_t>(x) * 3), colour);
}

void LineLinear24(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    LineShape shape = ShapeOf(x1, y1, x2, y2);
    LinearCursor24 cursor{LinearAddress(shape.y, static_cast<uint32_t>(shape.x) * 3),
                          RowStep(shape, gDevice.lineBytes), colour};
    WalkLine(shape, cursor);
}

} // namespace vidlib32::draw

using namespace vidlib32::draw;

extern "C" {

void _SV_clear16m(uint32_t colour) {
    if (IsBlack(colour)) {
        FillPageBanked(0);
        return;
    }
    uint32_t rowStart = PageStart();
    for (int32_t y = 0; y <= vidlib32::gDevice.lastY;
         ++y, rowStart += vidlib32::gDevice.lineBytes) {
        uint32_t position = rowStart;
        for (int32_t x = 0; x <= vidlib32::gDevice.lastX; ++x, position += 3)
            PlotBanked24(position, colour);
    }
}

void _SV_putPixel16m(int32_t x, int32_t y, uint32_t colour) {
    PlotBanked24(BankedPosition(y, static_cast<uint32_t>(x) * 3), colour);
}

void _SV_line16m(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    LineShape shape = ShapeOf(x1, y1, x2, y2);
    BankedCursor24 cursor{BankedPosition(shape.y, static_cast<uint32_t>(shape.x) * 3),
                          static_cast<uint32_t>(RowStep(shape, vidlib32::gDevice.lineBytes)),
                          colour};
    WalkLine(shape, cursor);
}

} // extern "C"
