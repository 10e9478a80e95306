#include "fixtures.h"
#include "maprun/core/framebuffer.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <optional>

using namespace maprun;

TEST(FrameBuffer, NewBufferDescribesItself) {
    TFrameBuffer frame(320, 200);
    EXPECT_EQ(frame.Brightness(), 1.0f);
    EXPECT_TRUE(frame.PaletteChanged());
    const BitmapInfoHeader& h = frame.Header();
    EXPECT_EQ(h.biWidth, 320);
    EXPECT_EQ(h.biHeight, 200);
    // The colours follow the header directly: one block for a window to use.
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(frame.Colors()),
              reinterpret_cast<const uint8_t*>(&h) + 40);
    for (int i = 0; i < 256; ++i) {
        const RgbQuad& c = frame.Colors()[i];
        EXPECT_EQ(c.rgbRed | c.rgbGreen | c.rgbBlue | c.rgbReserved, 0);
    }

    EXPECT_THROW(TFrameBuffer(0, 200), std::invalid_argument);
    EXPECT_THROW(TFrameBuffer(322, 200), std::invalid_argument);
    EXPECT_THROW(TFrameBuffer(320, -1), std::invalid_argument);
}

TEST(FrameBuffer, BrightnessScalesWithHalvesToEven) {
    TFrameBuffer frame(8, 1);
    const uint8_t components[] = {0, 1, 3, 5, 7, 100, 127, 128, 200, 255};
    for (int i = 0; i < 10; ++i)
        frame.SetPaletteEntry(i, components[i], components[i], components[i]);
    EXPECT_EQ(frame.SourcePalette()[5].rgbRed, 100);

    auto red = [&](int i) { return frame.Colors()[i].rgbRed; };
    frame.SetBrightness(0.5f);
    // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 3.5 -> 4, 63.5 -> 64, 127.5 -> 128
    const uint8_t half[] = {0, 0, 2, 2, 4, 50, 64, 64, 100, 128};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(red(i), half[i]) << "component " << int(components[i]);

    // Another rounding mode in force must not change the result, and is kept.
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        frame.SetBrightness(1.0f);
        frame.SetBrightness(0.5f);
        EXPECT_EQ(std::fegetround(), mode);
        std::fesetround(FE_TONEAREST);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(red(i), half[i]) << "mode " << mode;
    }

    frame.SetBrightness(2.0f);
    EXPECT_EQ(red(6), 254);
    EXPECT_EQ(red(7), 255);
    EXPECT_EQ(red(9), 255);
    for (float dark : {0.0f, -1.0f, std::nanf("")}) {
        frame.SetBrightness(dark);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(red(i), 0);
    }
    frame.SetBrightness(1.0f);
    frame.ClearPaletteChanged();
    frame.SetBrightness(1.0f); // unchanged, and still marked
    EXPECT_TRUE(frame.PaletteChanged());
    frame.SetPaletteEntry(300, 1, 2, 3); // ignored
    frame.SetPaletteEntry(20, 10, 20, 30);
    EXPECT_EQ(frame.Colors()[20].rgbRed, 10);
    EXPECT_EQ(frame.Colors()[20].rgbGreen, 20);
    EXPECT_EQ(frame.Colors()[20].rgbBlue, 30);
    EXPECT_EQ(frame.Colors()[20].rgbReserved, 0);
}

TEST(FrameBuffer, BrightnessProductIsNotRoundedToSinglePrecision) {
    // Find a brightness whose product with some component is just above a half
    // but rounds to exactly that half in single precision; the exact product
    // must decide.
    std::optional<std::pair<int, float>> found;
    for (int c = 3; c < 256 && !found; ++c)
        for (int k = 0; k < c && !found; ++k) {
            float b = static_cast<float>((k + 0.5) / c);
            for (int step = 0; step < 4 && !found; ++step, b = std::nextafterf(b, 2.0f)) {
                volatile float product = static_cast<float>(c) * b;
                long double exact = static_cast<long double>(c) * b;
                if (product == k + 0.5f && exact > k + 0.5L) found = std::pair{c, b};
            }
        }
    ASSERT_TRUE(found);
    auto [c, b] = *found;
    TFrameBuffer frame(8, 1);
    frame.SetPaletteEntry(0, static_cast<uint8_t>(c), 0, 0);
    frame.SetBrightness(b);
    EXPECT_EQ(frame.Colors()[0].rgbRed, static_cast<int>(std::ceil(c * static_cast<double>(b))))
        << "component " << c << " brightness " << b;
}

TEST(FrameBuffer, FlippingOnlyChangesAddressing) {
    TFrameBuffer frame(8, 4);
    frame.SetPixel(1, 0, 0x11);
    frame.SetPixel(2, 3, 0x22);
    EXPECT_EQ(frame.Origin(), frame.Bits());
    EXPECT_EQ(frame.RowStep(), 8);
    EXPECT_EQ(frame.Bits()[1], 0x11);

    frame.SetFlipped(true);
    EXPECT_EQ(frame.Origin(), frame.Bits() + 3 * 8);
    EXPECT_EQ(frame.RowStep(), -8);
    // The same bytes now read upside down.
    EXPECT_EQ(frame.GetPixel(1, 3), 0x11);
    EXPECT_EQ(frame.GetPixel(2, 0), 0x22);
    frame.SetPixel(5, 0, 0x33);
    EXPECT_EQ(frame.Bits()[3 * 8 + 5], 0x33);

    // Outside the frame nothing is written or read.
    const auto before = test::FramePixels(frame);
    for (auto [x, y] : {std::pair{-1, 0}, {8, 0}, {0, -1}, {0, 4}, {INT_MIN, INT_MAX}})
        frame.SetPixel(x, y, 0x77);
    EXPECT_EQ(test::FramePixels(frame), before);
    EXPECT_EQ(frame.GetPixel(-1, 0), 0);
}

TEST(FrameBuffer, ResizingKeepsPaletteBrightnessAndOrientation) {
    TFrameBuffer frame(320, 200);
    frame.SetPaletteEntry(3, 40, 50, 60);
    frame.SetBrightness(0.5f);
    frame.SetFlipped(true);
    frame.SetWidth(640);
    frame.SetHeight(400);
    EXPECT_EQ(frame.Header().biHeight, 400);
    EXPECT_EQ(frame.ClipRect().Right, 640);
    EXPECT_EQ(frame.ClipRect().Bottom, 400);
    EXPECT_TRUE(frame.Flipped());
    EXPECT_EQ(frame.Origin(), frame.Bits() + 399 * 640);
    EXPECT_EQ(frame.RowStep(), -640);
    EXPECT_EQ(frame.Brightness(), 0.5f);
    EXPECT_EQ(frame.Colors()[3].rgbRed, 20);
    frame.SetPixel(639, 399, 9); // the new memory is all there
    EXPECT_EQ(frame.Bits()[639], 9);
}
