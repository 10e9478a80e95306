// The exported banked routines of 256, 32 K/64 K and 4 G colours.
#include "draw/packed_routines.h"

using vidlib32::draw::ClearBanked;
using vidlib32::draw::LineBanked;
using vidlib32::draw::PutPixelBanked;

extern "C" {

void _SV_clear256(uint32_t colour) {
    ClearBanked<uint8_t>(colour);
}
void _SV_putPixel256(int32_t x, int32_t y, uint32_t colour) {
    PutPixelBanked<uint8_t>(x, y, colour);
}
void _SV_line256(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    LineBanked<uint8_t>(x1, y1, x2, y2, colour);
}

void _SV_clear32k(uint32_t colour) {
    ClearBanked<uint16_t>(colour);
}
void _SV_putPixel32k(int32_t x, int32_t y, uint32_t colour) {
    PutPixelBanked<uint16_t>(x, y, colour);
}
void _SV_line32k(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    LineBanked<uint16_t>(x1, y1, x2, y2, colour);
}

void _SV_clear4G(uint32_t colour) {
    ClearBanked<uint32_t>(colour);
}
void _SV_putPixel4G(int32_t x, int32_t y, uint32_t colour) {
    PutPixelBanked<uint32_t>(x, y, colour);
}
void _SV_line4G(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    LineBanked<uint32_t>(x1, y1, x2, y2, colour);
}

} // extern "C"
