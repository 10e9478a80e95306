// The default palette every 256-colour mode set loads: the VGA BIOS's
// default colours (6-bit values times 4) as blue, green, red, 0 entries.
#include "vidlib32/vidlib32.h"

#include <array>
#include <cstdint>

namespace {

using Palette = std::array<uint8_t, 256 * 4>;

struct Rgb {
    uint8_t r, g, b;
};

// A block of 24 colours around the hue circle: high and low values and
// three steps between them.
struct HueBlock {
    uint8_t high, low, a, b, c;
};

constexpr Rgb kSixteen[16] = {
    {0x00, 0x00, 0x00}, {0x00, 0x00, 0xA8}, {0x00, 0xA8, 0x00}, {0x00, 0xA8, 0xA8},
    {0xA8, 0x00, 0x00}, {0xA8, 0x00, 0xA8}, {0xA8, 0x54, 0x00}, {0xA8, 0xA8, 0xA8},
    {0x54, 0x54, 0x54}, {0x54, 0x54, 0xFC}, {0x54, 0xFC, 0x54}, {0x54, 0xFC, 0xFC},
    {0xFC, 0x54, 0x54}, {0xFC, 0x54, 0xFC}, {0xFC, 0xFC, 0x54}, {0xFC, 0xFC, 0xFC},
};

constexpr uint8_t kGreys[16] = {0x00, 0x14, 0x20, 0x2C, 0x38, 0x44, 0x50, 0x60,
                                0x70, 0x80, 0x90, 0xA0, 0xB4, 0xC8, 0xE0, 0xFC};

constexpr HueBlock kHueBlocks[9] = {
    {0xFC, 0x00, 0x40, 0x7C, 0xBC}, {0xFC, 0x7C, 0x9C, 0xBC, 0xDC}, {0xFC, 0xB4, 0xC4, 0xD8, 0xE8},
    {0x70, 0x00, 0x1C, 0x38, 0x54}, {0x70, 0x38, 0x44, 0x54, 0x60}, {0x70, 0x50, 0x58, 0x60, 0x68},
    {0x40, 0x00, 0x10, 0x20, 0x30}, {0x40, 0x20, 0x28, 0x30, 0x38}, {0x40, 0x2C, 0x30, 0x34, 0x3C},
};

constexpr void Put(Palette& p, int index, Rgb c) {
    p[4 * index + 0] = c.b;
    p[4 * index + 1] = c.g;
    p[4 * index + 2] = c.r;
    p[4 * index + 3] = 0;
}

// Blue to magenta to red to yellow to green to cyan and back towards blue.
constexpr void PutHueBlock(Palette& p, int first, HueBlock k) {
    const uint8_t H = k.high, L = k.low, a = k.a, b = k.b, c = k.c;
    const Rgb colours[24] = {
        {L, L, H}, {a, L, H}, {b, L, H}, {c, L, H}, {H, L, H}, {H, L, c}, {H, L, b}, {H, L, a},
        {H, L, L}, {H, a, L}, {H, b, L}, {H, c, L}, {H, H, L}, {c, H, L}, {b, H, L}, {a, H, L},
        {L, H, L}, {L, H, a}, {L, H, b}, {L, H, c}, {L, H, H}, {L, c, H}, {L, b, H}, {L, a, H},
    };
    for (int i = 0; i < 24; ++i)
        Put(p, first + i, colours[i]);
}

constexpr Palette BuildDefaultPalette() {
    Palette p{};
    for (int i = 0; i < 16; ++i)
        Put(p, i, kSixteen[i]);
    for (int i = 0; i < 16; ++i)
        Put(p, 16 + i, {kGreys[i], kGreys[i], kGreys[i]});
    for (int block = 0; block < 9; ++block)
        PutHueBlock(p, 32 + 24 * block, kHueBlocks[block]);
    for (int i = 0; i < 8; ++i)
        Put(p, 248 + i, kSixteen[8 + i]);
    return p;
}

constexpr Palette kDefaultPalette = BuildDefaultPalette();

} // namespace

extern "C" const void* SV_getDefPalette(void) {
    return kDefaultPalette.data();
}
