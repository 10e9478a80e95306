#include "pcemu/font8x16.h"

#include "glyphs_ascii.h"
#include "glyphs_blocks.h"
#include "glyphs_greek_maths.h"
#include "glyphs_latin.h"
#include "glyphs_pictures.h"

#include <array>
#include <cstddef>

namespace pcemu {
namespace {

using font_art::GlyphArt;
using font_art::kGlyphRows;

constexpr std::size_t kGlyphCount = 256;

// Places every drawn glyph at its code. A code drawn twice, or one never drawn, stops the
// compilation.
consteval std::array<uint8_t, kGlyphCount * kGlyphRows> assembleFont() {
    std::array<uint8_t, kGlyphCount * kGlyphRows> bytes{};
    std::array<bool, kGlyphCount> drawn{};
    auto place = [&](const auto& glyphs) {
        for (const GlyphArt& art : glyphs) {
            if (art.code >= kGlyphCount || drawn[art.code]) throw "each glyph is drawn once";
            drawn[art.code] = true;
            for (int row = 0; row < kGlyphRows; ++row)
                bytes[art.code * kGlyphRows + row] = art.rows[row];
        }
    };
    place(font_art::kPictureGlyphs);
    place(font_art::kAsciiGlyphs);
    place(font_art::kLatinGlyphs);
    place(font_art::kBlockGlyphs);
    place(font_art::kGreekMathsGlyphs);
    for (bool done : drawn)
        if (!done) throw "every glyph is drawn";
    return bytes;
}

constexpr auto kAssembled = assembleFont();

} // namespace

// The exported table is a plain array; these spell out its initialiser kAssembled[0] ..
// kAssembled[4095], so it is filled at compile time and lives in read-only data.
#define PCEMU_FONT_BYTES_4(i) kAssembled[i], kAssembled[i + 1], kAssembled[i + 2], kAssembled[i + 3]
#define PCEMU_FONT_BYTES_16(i)                                                                     \
    PCEMU_FONT_BYTES_4(i), PCEMU_FONT_BYTES_4(i + 4), PCEMU_FONT_BYTES_4(i + 8),                   \
        PCEMU_FONT_BYTES_4(i + 12)
#define PCEMU_FONT_BYTES_64(i)                                                                     \
    PCEMU_FONT_BYTES_16(i), PCEMU_FONT_BYTES_16(i + 16), PCEMU_FONT_BYTES_16(i + 32),              \
        PCEMU_FONT_BYTES_16(i + 48)
#define PCEMU_FONT_BYTES_256(i)                                                                    \
    PCEMU_FONT_BYTES_64(i), PCEMU_FONT_BYTES_64(i + 64), PCEMU_FONT_BYTES_64(i + 128),             \
        PCEMU_FONT_BYTES_64(i + 192)
#define PCEMU_FONT_BYTES_1024(i)                                                                   \
    PCEMU_FONT_BYTES_256(i), PCEMU_FONT_BYTES_256(i + 256), PCEMU_FONT_BYTES_256(i + 512),         \
        PCEMU_FONT_BYTES_256(i + 768)

static_assert(kAssembled.size() == 4 * 1024);
constinit const uint8_t kFont8x16[256 * 16] = {
    PCEMU_FONT_BYTES_1024(0), PCEMU_FONT_BYTES_1024(1024), PCEMU_FONT_BYTES_1024(2048),
    PCEMU_FONT_BYTES_1024(3072)};

#undef PCEMU_FONT_BYTES_1024
#undef PCEMU_FONT_BYTES_256
#undef PCEMU_FONT_BYTES_64
#undef PCEMU_FONT_BYTES_16
#undef PCEMU_FONT_BYTES_4

} // namespace pcemu
