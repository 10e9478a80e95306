#pragma once
// The shade table treats the 256 colours as 16 ramps of 16 shades (the low four
// bits are the position in the ramp). A shaded sprite pixel p of value 0..15
// moves the colour under it p - 7 steps along its ramp, never leaving the ramp:
// 7 leaves it unchanged, lower values darken, higher ones brighten.
#include <array>
#include <cstdint>

namespace maprun {

using TShadeTable = std::array<std::array<uint8_t, 256>, 16>;

constexpr TShadeTable MakeShadeTable() {
    TShadeTable table{};
    for (int level = 0; level < 16; ++level)
        for (int c = 0; c < 256; ++c) {
            int shade = (c & 0x0F) - 7 + level;
            shade = shade < 0 ? 0 : shade > 15 ? 15 : shade;
            table[level][c] = static_cast<uint8_t>((c & 0xF0) | shade);
        }
    return table;
}

// Built at compile time, so it is filled before anything is drawn.
inline constexpr TShadeTable ShadeTable = MakeShadeTable();

} // namespace maprun
