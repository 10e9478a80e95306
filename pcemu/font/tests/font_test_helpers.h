// Read access to single glyphs of the font for the tests.
#pragma once

#include "pcemu/font8x16.h"

#include <array>
#include <bit>
#include <cstdint>

namespace font_test {

constexpr int kRows = 16;
constexpr int kColumns = 8;

inline uint8_t Row(int glyph, int row) {
    return pcemu::kFont8x16[glyph * kRows + row];
}

inline bool Ink(int glyph, int row, int column) {
    return Row(glyph, row) & (0x80 >> column);
}

inline std::array<uint8_t, kRows> Rows(int glyph) {
    std::array<uint8_t, kRows> rows{};
    for (int row = 0; row < kRows; ++row)
        rows[row] = Row(glyph, row);
    return rows;
}

// One column of a glyph, bit r standing for row r.
inline uint16_t Column(int glyph, int column) {
    uint16_t bits = 0;
    for (int row = 0; row < kRows; ++row)
        if (Ink(glyph, row, column)) bits |= static_cast<uint16_t>(1u << row);
    return bits;
}

inline int InkCount(int glyph) {
    int count = 0;
    for (int row = 0; row < kRows; ++row)
        count += std::popcount(Row(glyph, row));
    return count;
}

// First and last row with ink; -1 for a blank glyph.
inline int TopInkRow(int glyph) {
    for (int row = 0; row < kRows; ++row)
        if (Row(glyph, row)) return row;
    return -1;
}

inline int BottomInkRow(int glyph) {
    for (int row = kRows - 1; row >= 0; --row)
        if (Row(glyph, row)) return row;
    return -1;
}

} // namespace font_test
