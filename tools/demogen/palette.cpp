#include "demogen/palette.h"

#include <cstddef>

namespace demo {

namespace {

struct Rgb {
    int r, g, b;
};

// Each ramp runs from a dark tint (shade 0) through its own colour (shade 9)
// to a light tint (shade 15).
struct RampColours {
    Rgb dark, base, light;
};

constexpr RampColours kRampColours[kRamps] = {
    {{0, 0, 0}, {135, 135, 135}, {255, 255, 255}},    // greys
    {{30, 6, 4}, {178, 58, 40}, {255, 200, 170}},     // brick red
    {{14, 16, 24}, {110, 120, 140}, {228, 234, 245}}, // stone grey-blue
    {{6, 24, 4}, {70, 160, 40}, {215, 255, 160}},     // grass green
    {{10, 30, 80}, {90, 160, 235}, {228, 246, 255}},  // sky blue
    {{24, 12, 4}, {140, 90, 45}, {250, 215, 160}},    // wood brown
    {{12, 18, 20}, {105, 132, 138}, {236, 250, 252}}, // pipe metal
    {{2, 10, 40}, {30, 90, 190}, {170, 220, 255}},    // water blue
    {{40, 30, 0}, {230, 190, 20}, {255, 255, 200}},   // yellow
    {{20, 12, 6}, {120, 80, 50}, {232, 200, 160}},    // earth
    {{4, 18, 10}, {30, 110, 60}, {170, 235, 180}},    // leaf green
    {{40, 12, 0}, {235, 120, 20}, {255, 230, 180}},   // orange
    {{20, 6, 30}, {120, 60, 170}, {235, 210, 255}},   // purple
    {{35, 4, 20}, {210, 60, 140}, {255, 210, 235}},   // pink
    {{0, 25, 30}, {30, 180, 190}, {210, 255, 255}},   // cyan
    {{50, 25, 15}, {225, 160, 120}, {255, 240, 225}}, // skin
};

constexpr int kBaseShade = 9;

int Mix(int from, int to, int step, int steps) {
    return from + (to - from) * step / steps;
}

Rgb ShadeOf(const RampColours& ramp, int shade) {
    if (shade <= kBaseShade) {
        return {Mix(ramp.dark.r, ramp.base.r, shade, kBaseShade),
                Mix(ramp.dark.g, ramp.base.g, shade, kBaseShade),
                Mix(ramp.dark.b, ramp.base.b, shade, kBaseShade)};
    }
    int steps = kShades - 1 - kBaseShade, step = shade - kBaseShade;
    return {Mix(ramp.base.r, ramp.light.r, step, steps),
            Mix(ramp.base.g, ramp.light.g, step, steps),
            Mix(ramp.base.b, ramp.light.b, step, steps)};
}

PaletteRgb BuildPalette() {
    PaletteRgb rgb{};
    for (int ramp = 0; ramp < kRamps; ++ramp) {
        for (int shade = 0; shade < kShades; ++shade) {
            Rgb c = ShadeOf(kRampColours[ramp], shade);
            int index = ramp * kShades + shade;
            rgb[std::size_t(3 * index)] = uint8_t(c.r);
            rgb[std::size_t(3 * index + 1)] = uint8_t(c.g);
            rgb[std::size_t(3 * index + 2)] = uint8_t(c.b);
        }
    }
    return rgb;
}

} // namespace

const PaletteRgb& DemoPalette() {
    static const PaletteRgb palette = BuildPalette();
    return palette;
}

} // namespace demo
