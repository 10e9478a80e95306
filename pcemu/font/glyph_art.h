// Glyphs as they are drawn in the source: 16 rows of 8 characters, '#' for ink and '.' for
// paper, turned into row bytes while compiling.
#pragma once

#include <array>
#include <cstdint>

namespace pcemu::font_art {

inline constexpr int kGlyphRows = 16;
inline constexpr int kGlyphColumns = 8;

struct GlyphArt {
    unsigned code;
    std::array<uint8_t, kGlyphRows> rows; // bit 7 = leftmost pixel
};

// The rows are written as adjacent string literals, so the art's total length is part of the
// parameter type: a missing or extra row does not compile, nor does any character other
// than '#' and '.'.
consteval GlyphArt glyph(unsigned code, const char (&art)[kGlyphRows * kGlyphColumns + 1]) {
    GlyphArt result{code, {}};
    for (int row = 0; row < kGlyphRows; ++row) {
        unsigned bits = 0;
        for (int column = 0; column < kGlyphColumns; ++column) {
            const char pixel = art[row * kGlyphColumns + column];
            if (pixel != '#' && pixel != '.') throw "glyph art holds only '#' and '.'";
            bits = bits << 1 | (pixel == '#' ? 1u : 0u);
        }
        result.rows[row] = static_cast<uint8_t>(bits);
    }
    return result;
}

} // namespace pcemu::font_art
