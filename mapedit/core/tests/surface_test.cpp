#include "fake_ui.h"
#include "mapedit/core/colourtable.h"
#include "mapedit/core/dibsurface.h"
#include "mapedit/core/errors.h"

#include <gtest/gtest.h>

using namespace mapedit;
using mapedit::testing::TempDir;

namespace {

// A surface whose pixel (x, y) is x + 40 * y (mod 256): every pixel tells where it came from.
TDIB Numbered(int w, int h) {
    TDIB s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.SetPixel(x, y, uint8_t(x + 40 * y));
    return s;
}

TDIB Filled(int w, int h, uint8_t colour) {
    TDIB s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.SetPixel(x, y, colour);
    return s;
}

uint8_t Rgb[768];

} // namespace

TEST(ColourTable, BrightnessRoundsHalvesToEvenAndLimits) {
    EXPECT_EQ(RoundHalfEven(4.5), 4);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(2.51), 3);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);

    TColourTable colours;
    std::fill(std::begin(Rgb), std::end(Rgb), 0);
    Rgb[3 * 7] = 200, Rgb[3 * 7 + 1] = 100, Rgb[3 * 7 + 2] = 3;
    Rgb[3 * 8] = 5, Rgb[3 * 8 + 1] = 3, Rgb[3 * 8 + 2] = 255;
    Rgb[0] = 9, Rgb[1] = 9, Rgb[2] = 9;
    colours.SetColours(Rgb);
    colours.SetBackgroundColour(1, 2, 3);

    colours.SetBrightness(1.5);
    EXPECT_EQ(colours.DisplayColours()[7], (RgbQuad{4, 150, 255, 0})); // blue, green, red
    EXPECT_EQ(colours.Rgb32()[7], 0xFFFF9604u);
    colours.SetBrightness(0.5);
    EXPECT_EQ(colours.DisplayColours()[8],
              (RgbQuad{128, 2, 2, 0})); // 127.5 -> 128, 1.5 -> 2, 2.5 -> 2
    // Colour 0 always shows the background colour, unscaled.
    EXPECT_EQ(colours.DisplayColours()[0], (RgbQuad{3, 2, 1, 0}));
    colours.SetBrightness(1.75);
    EXPECT_EQ(colours.DisplayColours()[0], (RgbQuad{3, 2, 1, 0}));
    EXPECT_EQ(colours.Rgb32()[0], 0xFF010203u);
    // The source colours themselves never change.
    EXPECT_EQ(colours.SourceColours()[7], (RgbQuad{3, 100, 200, 0}));
    const uint64_t before = colours.Version();
    colours.SetBrightness(1.0);
    EXPECT_GT(colours.Version(), before);
}

TEST(Surface, CopiesClipAgainstDestinationAndSource) {
    const TDIB source = Numbered(32, 32);

    TDIB left = Filled(32, 32, 200);
    left.CopyRect(-5, 10, 32, 32, 0, 0, source);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool inside = x < 27 && y >= 10;
            EXPECT_EQ(left.Pixel(x, y), inside ? source.Pixel(x + 5, y - 10) : 200)
                << x << "," << y;
        }

    TDIB up = Filled(32, 32, 200);
    up.CopyRect(0, -5, 32, 32, 0, 0, source);
    EXPECT_EQ(up.Pixel(0, 0), source.Pixel(0, 5));
    EXPECT_EQ(up.Pixel(31, 26), source.Pixel(31, 31));
    EXPECT_EQ(up.Pixel(31, 27), 200);

    // A source rectangle reaching beyond the source copies only what exists,
    // also when it starts at negative source coordinates.
    TDIB beyond = Filled(32, 32, 200);
    beyond.CopyRect(0, 0, 32, 32, 20, -4, source);
    EXPECT_EQ(beyond.Pixel(0, 4), source.Pixel(20, 0));
    EXPECT_EQ(beyond.Pixel(11, 31), source.Pixel(31, 27));
    EXPECT_EQ(beyond.Pixel(12, 4), 200);
    EXPECT_EQ(beyond.Pixel(0, 3), 200);

    // Clipped to nothing: no change, no access outside either surface.
    TDIB untouched = Filled(32, 32, 200);
    untouched.CopyRect(40, 0, 32, 32, 0, 0, source);
    untouched.CopyRect(0, 0, 32, 32, 32, 0, source);
    untouched.CopyRect(0, 0, -3, 32, 0, 0, source);
    untouched.TransparentCopy(-32, 0, 32, 32, 0, 0, source);
    untouched.CopyRect(0, 0, 2147483647, 2147483647, -2147483647, 0, source);
    EXPECT_TRUE(
        std::all_of(untouched.Bits(), untouched.Bits() + 1024, [](uint8_t p) { return p == 200; }));

    // Rows are copied top down within one surface, each as one block.
    TDIB strip = Numbered(4, 8);
    strip.CopyRect(0, 4, 4, 4, 0, 0, strip);
    EXPECT_EQ(strip.Pixel(3, 7), uint8_t(3 + 40 * 3));
}

TEST(Surface, TransparentAndShadedCopies) {
    TDIB source(8, 1);
    const uint8_t src[8] = {0, 12, 1, 15, 1, 0x40, 8, 16};
    TDIB dest(8, 1);
    const uint8_t dst[8] = {0x37, 0x37, 0x37, 0x3C, 0x32, 0x37, 0x55, 0x99};
    for (int x = 0; x < 8; ++x)
        source.SetPixel(x, 0, src[x]), dest.SetPixel(x, 0, dst[x]);

    TDIB plain = dest;
    plain.TransparentCopy(0, 0, 8, 1, 0, 0, source);
    const uint8_t drawn[8] = {0x37, 12, 1, 15, 1, 0x40, 8, 16};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(plain.Pixel(x, 0), drawn[x]) << x;

    TDIB shaded = dest;
    shaded.ShadeMode = true;
    shaded.TransparentCopy(0, 0, 8, 1, 0, 0, source);
    const uint8_t shades[8] = {0x37, 0x3B, 0x30, 0x3F, 0x30, 0x40, 0x55, 16};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(shaded.Pixel(x, 0), shades[x]) << x;

    // Every source and destination pair against the rule itself.
    for (int s = 0; s < 256; ++s)
        for (int d = 0; d < 256; d += 7) {
            int expected = s >= 16  ? s
                           : s == 0 ? d
                                    : (d & 240) + std::clamp((d & 15) + s - 8, 0, 15);
            ASSERT_EQ(ShadePixel(uint8_t(s), uint8_t(d)), expected) << s << " " << d;
        }
}

TEST(Surface, WideCopiesMatchThePixelRules) {
    // Every source value (column) over every destination value (row), through
    // the whole-surface path and through a block copy with a ragged edge.
    TDIB source(256, 256), dest(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            source.SetPixel(x, y, uint8_t(x)), dest.SetPixel(x, y, uint8_t(y));
    for (bool shade : {false, true}) {
        for (int dx : {0, 3}) {
            TDIB d = dest;
            d.ShadeMode = shade;
            d.TransparentCopy(dx, 0, 256, 256, 0, 0, source);
            for (int y = 0; y < 256; ++y)
                for (int x = dx; x < 256; ++x) {
                    const uint8_t s = uint8_t(x - dx), old = uint8_t(y);
                    const uint8_t want = shade ? ShadePixel(s, old) : (s ? s : old);
                    ASSERT_EQ(d.Pixel(x, y), want) << shade << " " << dx << " " << x << "," << y;
                }
        }
    }
    // Within one surface each row is read whole before it is drawn.
    TDIB row(40, 1);
    for (int x = 0; x < 40; ++x)
        row.SetPixel(x, 0, uint8_t(20 + x));
    row.TransparentCopy(1, 0, 39, 1, 0, 0, row);
    for (int x = 1; x < 40; ++x)
        EXPECT_EQ(row.Pixel(x, 0), 20 + x - 1);
}

TEST(Surface, SizeChangesAndLimits) {
    TDIB s = Numbered(32, 32);
    s.SetWidth(32);
    s.SetHeight(32);
    EXPECT_EQ(s.Pixel(5, 5), uint8_t(5 + 200));
    s.SetWidth(10);
    EXPECT_EQ(s.Width(), 10);
    EXPECT_EQ(s.Pixel(5, 5), 0);
    EXPECT_THROW(s.SetHeight(-1), EWinG);
    EXPECT_THROW(TDIB(1 << 14, 1 << 14), EWinG);
    EXPECT_EQ(s.Height(), 32); // a refused size leaves the surface as it was
    TDIB empty(0, 0);
    empty.CopyRect(0, 0, 32, 32, 0, 0, s);

    // A picture's size is taken in one step: after a tall picture, a wide one
    // that fits must not pass through new width by old height.
    TDIB picture(2048, 32768);
    picture.SetPictureSize(65535, 1024);
    EXPECT_EQ(picture.Width(), 65535);
    EXPECT_EQ(picture.Height(), 1024);
    picture.SetPixel(65534, 1023, 9);
    picture.SetPictureSize(65535, 1024);
    EXPECT_EQ(picture.Pixel(65534, 1023), 9); // the same size keeps the pixels
    EXPECT_THROW(picture.SetPictureSize(65535, 1025), EWinG);
    EXPECT_EQ(picture.Width(), 65535);
}

TEST(Surface, DrawPartScalesThroughTheColourTable) {
    std::array<uint32_t, 256> rgb{};
    for (int i = 0; i < 256; ++i)
        rgb[i] = 0xFF000000u | uint32_t(i) * 0x010101u;
    const TDIB s = Numbered(32, 32);
    std::vector<uint32_t> pixels(100 * 100, 7);
    RgbTarget target{pixels.data(), 100, 100, 100};
    auto at = [&](int x, int y) { return pixels[size_t(y) * 100 + x]; };

    s.DrawPart(target, {0, 0, 32, 32}, {10, 20, 42, 52}, rgb);
    EXPECT_EQ(at(10, 20), rgb[s.Pixel(0, 0)]);
    EXPECT_EQ(at(41, 51), rgb[s.Pixel(31, 31)]);
    EXPECT_EQ(at(42, 51), 7u);
    EXPECT_EQ(at(9, 20), 7u);

    // Zoomed out: every other pixel. Zoomed in: each pixel twice.
    s.DrawPart(target, {0, 0, 32, 32}, {0, 0, 16, 16}, rgb);
    EXPECT_EQ(at(3, 5), rgb[s.Pixel(6, 10)]);
    s.DrawPart(target, {0, 0, 32, 32}, {60, 60, 124, 124}, rgb);
    EXPECT_EQ(at(61, 61), rgb[s.Pixel(0, 0)]);
    EXPECT_EQ(at(62, 63), rgb[s.Pixel(1, 1)]);
    EXPECT_EQ(at(99, 99), rgb[s.Pixel(19, 19)]); // clipped at the target's edge

    // A destination partly off the target and a source beyond the surface.
    s.DrawPart(target, {0, 0, 32, 32}, {-8, -8, 24, 24}, rgb);
    EXPECT_EQ(at(0, 0), rgb[s.Pixel(8, 8)]);
    std::fill(pixels.begin(), pixels.end(), 7);
    s.DrawPart(target, {16, 16, 48, 48}, {0, 0, 32, 32}, rgb);
    EXPECT_EQ(at(15, 15), rgb[s.Pixel(31, 31)]);
    EXPECT_EQ(at(16, 0), 7u);
    s.DrawPart(target, {16, 16, 48, 48}, {0, 0, 64, 64}, rgb);
    EXPECT_EQ(at(63, 63), 7u);
}

TEST(Surface, LoadsPicturesAndTheirColours) {
    TempDir dir;
    mapedit::testing::WritePicture(
        dir / "p.pbm", 40, 3, [](int x, int y) { return uint8_t(x == 0 && y == 0 ? 1 : x + y); });
    TColourTable colours;
    TDIB s(32, 32);
    s.LoadFromFile(dir / "p.pbm", colours);
    EXPECT_EQ(s.Width(), 40);
    EXPECT_EQ(s.Height(), 3);
    EXPECT_EQ(s.Pixel(0, 0), 0); // the editor turns colour 1 into 0
    EXPECT_EQ(s.Pixel(39, 2), 41);
    EXPECT_EQ(colours.SourceColours()[10], (RgbQuad{5, 245, 10, 0}));
    EXPECT_THROW(s.LoadFromFile(dir / "missing.pbm", colours), formats::EFOpenError);
    mapedit::testing::WriteText(dir / "bad.pbm", std::string("FORM\0\0\0\4ILBM", 12));
    EXPECT_THROW(s.LoadFromFile(dir / "bad.pbm", colours), formats::EInvalidGraphic);
}
