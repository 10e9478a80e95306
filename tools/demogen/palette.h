#pragma once
// The demo palette: 16 ramps of 16 shades. Colour c is shade c & 15 of ramp
// c >> 4, shade 0 darkest and 15 brightest, so that shading (which moves a
// colour up or down its ramp) always lands on a sensible colour.
#include <array>
#include <cstdint>

namespace demo {

enum Ramp : uint8_t {
    Greys, // colours 0-15: 0 is transparent and 1 is lost by the decoders, and
           // tiles may not use 2-15 (those shade); kept for pictures only
    BrickRed,
    StoneBlue,
    GrassGreen,
    SkyBlue,
    WoodBrown,
    PipeMetal,
    WaterBlue,
    Yellow,
    Earth,
    Leaf,
    Orange,
    Purple,
    Pink,
    Cyan,
    Skin,
};

inline constexpr int kRamps = 16;
inline constexpr int kShades = 16;

using PaletteRgb = std::array<uint8_t, 768>;

// The palette every demo picture carries.
const PaletteRgb& DemoPalette();

// Shade `shade` (cut to 0..15) of `ramp`.
constexpr uint8_t Colour(Ramp ramp, int shade) {
    shade = shade < 0 ? 0 : shade > 15 ? 15 : shade;
    return static_cast<uint8_t>(ramp * kShades + shade);
}

} // namespace demo
