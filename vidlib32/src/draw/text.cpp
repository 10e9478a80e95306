// Text in the built-in 8 x 16 font: set bits of each glyph row are plotted
// in the colour, clear bits leave the background as it is.
#include "state.h"

#include "pcemu/font8x16.h"

using vidlib32::gDevice;

extern "C" void SV_writeText(int32_t x, int32_t y, const char* text, uint32_t colour) {
    if (text == nullptr) return;
    gDevice.beginPixel();
    for (int32_t i = 0; text[i] != '\0'; ++i) {
        const uint8_t* glyph = &pcemu::kFont8x16[16 * static_cast<uint8_t>(text[i])];
        for (int32_t row = 0; row < 16; ++row)
            for (int32_t column = 0; column < 8; ++column)
                if (glyph[row] & (0x80u >> column))
                    gDevice.putPixelFast(x + 8 * i + column, y + row, colour);
    }
    gDevice.endPixel();
}
