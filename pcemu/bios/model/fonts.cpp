#include "bios/model/fonts.h"

#include "pcemu/font8x16.h"

#include <array>

namespace pcemu::model {
namespace {

constexpr unsigned kGlyphs = 256;

// Capitals stand in rows 3-12 of the 8 x 16 font and descenders reach row
// 14, so dropping rows 0 and 15 keeps every glyph whole.
std::array<uint8_t, kGlyphs * 14> Derive8x14() {
    std::array<uint8_t, kGlyphs * 14> font{};
    for (unsigned g = 0; g < kGlyphs; ++g)
        for (unsigned row = 0; row < 14; ++row)
            font[g * 14 + row] = kFont8x16[g * 16 + row + 1];
    return font;
}

// Row r is the union of rows 2r and 2r + 1: strokes keep their columns and
// vertical lines stay joined.
std::array<uint8_t, kGlyphs * 8> Derive8x8() {
    std::array<uint8_t, kGlyphs * 8> font{};
    for (unsigned g = 0; g < kGlyphs; ++g)
        for (unsigned row = 0; row < 8; ++row)
            font[g * 8 + row] = kFont8x16[g * 16 + 2 * row] | kFont8x16[g * 16 + 2 * row + 1];
    return font;
}

} // namespace

std::span<const uint8_t> Font8x16() {
    return {kFont8x16, kGlyphs * 16};
}

std::span<const uint8_t> Font8x14() {
    static const auto font = Derive8x14();
    return font;
}

std::span<const uint8_t> Font8x8() {
    static const auto font = Derive8x8();
    return font;
}

std::span<const uint8_t> FontOfHeight(unsigned height) {
    switch (height) {
    case 8:
        return Font8x8();
    case 14:
        return Font8x14();
    case 16:
        return Font8x16();
    default:
        return {};
    }
}

} // namespace pcemu::model
