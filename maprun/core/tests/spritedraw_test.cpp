#include "fixtures.h"
#include "maprun/core/expandedtile.h"
#include "maprun/core/framebuffer.h"
#include "maprun/core/shadetable.h"
#include "maprun/core/sprite.h"

#include <gtest/gtest.h>

using namespace maprun;
using maprun::test::MakeImage;

namespace {

// What drawing the whole of `image` at (x, y) must leave in a frame that held
// `before`: opaque pixels replace or shade, everything else stays.
std::vector<uint8_t> Expected(const std::vector<uint8_t>& before, int frameW, int frameH,
                              const formats::TPBMImage& image, SpriteKind kind, int x, int y) {
    std::vector<uint8_t> out = before;
    for (int fy = 0; fy < frameH; ++fy)
        for (int fx = 0; fx < frameW; ++fx) {
            const int sx = fx - x, sy = fy - y;
            if (sx < 0 || sy < 0 || sx >= image.Width() || sy >= image.Height()) continue;
            const uint8_t p = image.GetPixel(sx, sy);
            if (p <= 1) continue;
            uint8_t& d = out[size_t(fy) * frameW + fx];
            d = kind == SpriteKind::Shaded && p <= 15 ? ShadeTable[p][d] : p;
        }
    return out;
}

void Background(TFrameBuffer& frame) {
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            frame.SetPixel(x, y, static_cast<uint8_t>(0x30 + (x * 7 + y * 3) % 0xC0));
}

void ExpectDrawnAt(const formats::TPBMImage& image, int x, int y, TFrameBuffer& frame) {
    auto sprite = MakeSprite(image, TRect{0, 0, image.Width() - 1, image.Height() - 1});
    ASSERT_NE(sprite, nullptr);
    Background(frame);
    const auto before = test::FramePixels(frame);
    frame.DrawSprite(sprite.get(), x, y);
    const auto want =
        Expected(before, frame.Width(), frame.Height(), image, GetSpriteKind(sprite.get()), x, y);
    EXPECT_EQ(test::FrameDifference(test::FramePixels(frame), want, frame.Width()), "")
        << "sprite " << image.Width() << " x " << image.Height() << " at " << x << ", " << y;
}

// Pixel values that make records of each kind.
std::vector<std::vector<uint8_t>> KindPalettes() {
    return {
        {0, 0, 1, 0x20, 0x41, 0x77, 0xFE}, // transparent
        {0x20, 0x41, 0x77, 0xFE},          // solid
        {0, 2, 7, 15, 0x20, 0x91},         // shaded
    };
}

} // namespace

TEST(DrawSprite, ClipsOnEveryEdgeForEveryKind) {
    std::mt19937 rng(7);
    const std::vector<std::vector<uint8_t>> palettes = KindPalettes();
    for (bool flipped : {false, true}) {
        TFrameBuffer frame(64, 48);
        frame.SetFlipped(flipped);
        for (const auto& values : palettes) {
            // 37 wide: runs of every length modulo 4 cross each edge.
            auto image = test::RandomImage(37, 23, rng, values);
            for (int x : {-40, -37, -36, -30, -3, -1, 0, 1, 13, 26, 27, 28, 50, 63, 64, 70})
                for (int y : {-30, -23, -22, -5, 0, 7, 25, 26, 40, 47, 48})
                    ExpectDrawnAt(image, x, y, frame);
        }
    }
}

TEST(DrawSprite, WiderThanTheFrameIsClippedOnBothSides) {
    std::mt19937 rng(11);
    TFrameBuffer frame(32, 16);
    for (const auto& values :
         {std::vector<uint8_t>{0, 0x20, 0x41}, std::vector<uint8_t>{0, 3, 12, 0x50}}) {
        auto image = test::RandomImage(70, 30, rng, values);
        for (int x : {-1, -10, -19, -37})
            for (int y : {-7, -1, -14})
                ExpectDrawnAt(image, x, y, frame);
    }
}

TEST(DrawSprite, OnlyOpaqueCopyingRecordsAreBlocks) {
    auto record = [](std::vector<uint8_t> pixels) {
        return MakeSprite(MakeImage(3, 2, std::move(pixels)), TRect{0, 0, 2, 1});
    };
    EXPECT_TRUE(IsPlainBlock(record({16, 17, 18, 200, 201, 202}).get()));
    EXPECT_FALSE(IsPlainBlock(record({16, 0, 18, 200, 201, 202}).get()));
    EXPECT_FALSE(IsPlainBlock(record({16, 1, 18, 200, 201, 202}).get())); // solid, with a gap
    EXPECT_FALSE(IsPlainBlock(record({16, 7, 18, 200, 201, 202}).get())); // shades
}

TEST(DrawSprite, NilAndWhollyOutsideDrawNothing) {
    TFrameBuffer frame(32, 16);
    Background(frame);
    const auto before = test::FramePixels(frame);
    auto sprite = MakeSprite(test::FilledImage(8, 8, 0x55), TRect{0, 0, 7, 7});
    frame.DrawSprite(nullptr, 4, 4);
    for (auto [x, y] : {std::pair{-8, 0},
                        {32, 0},
                        {0, -8},
                        {0, 16},
                        {-100, -100},
                        {INT_MAX, 0},
                        {INT_MIN, INT_MIN},
                        {0, INT_MAX}})
        frame.DrawSprite(sprite.get(), x, y);
    EXPECT_EQ(test::FramePixels(frame), before);
}

TEST(ShadeTable, StepsAlongTheRampWithoutLeavingIt) {
    EXPECT_EQ(ShadeTable[7][0x34], 0x34);
    EXPECT_EQ(ShadeTable[2][0x34], 0x30);
    EXPECT_EQ(ShadeTable[2][0x3C], 0x37);
    EXPECT_EQ(ShadeTable[15][0x3A], 0x3F);
    EXPECT_EQ(ShadeTable[0][0x05], 0x00);
    EXPECT_EQ(ShadeTable[8][0xFF], 0xFF);
    for (int level = 0; level < 16; ++level)
        for (int c = 0; c < 256; ++c)
            EXPECT_EQ(ShadeTable[level][c] & 0xF0, c & 0xF0);

    // Drawn: one pixel of each value over known colours.
    TFrameBuffer frame(8, 1);
    const uint8_t under[8] = {0x34, 0x34, 0x3C, 0x3A, 0x34, 0x34, 0x00, 0x10};
    const uint8_t sprite[8] = {7, 2, 2, 15, 16, 0xC8, 2, 0};
    const uint8_t result[8] = {0x34, 0x30, 0x37, 0x3F, 16, 0xC8, 0x00, 0x10};
    for (int x = 0; x < 8; ++x)
        frame.SetPixel(x, 0, under[x]);
    auto record = MakeSprite(MakeImage(8, 1, {sprite, sprite + 8}), TRect{0, 0, 7, 0});
    ASSERT_EQ(GetSpriteKind(record.get()), SpriteKind::Shaded);
    frame.DrawSprite(record.get(), 0, 0);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(frame.GetPixel(x, 0), result[x]) << "x " << x;
}

TEST(DrawSprite, LongShadedRunsMatchTheShadeTable) {
    // Runs of 16 pixels and more are shaded a vector at a time, the last one
    // overlapping the one before it.
    std::mt19937 rng(5);
    TFrameBuffer frame(64, 8);
    for (int width : {15, 16, 17, 31, 32, 33, 47, 48, 49, 64})
        for (int x : {0, 64 - width, -3, 64 - width + 5}) {
            auto image = test::RandomImage(width, 8, rng, {2, 3, 6, 8, 9, 14, 15, 0x30, 0xF7});
            ExpectDrawnAt(image, x, 0, frame);
        }
}

TEST(DrawTile, ShadesEveryColourAtEveryLevel) {
    // Row r of the tile shades by level 2 + r % 14; the frame holds colour x in
    // column x, and the tile is drawn at every multiple of 32 across it.
    std::vector<uint8_t> pixels(32 * 32);
    for (int r = 0; r < 32; ++r)
        for (int c = 0; c < 32; ++c)
            pixels[r * 32 + c] = static_cast<uint8_t>(2 + r % 14);
    auto record = MakeSprite(MakeImage(32, 32, pixels), TRect{0, 0, 31, 31});
    auto tile = ExpandTile(record.get());
    ASSERT_NE(tile, nullptr);
    TFrameBuffer frame(256, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 256; ++x)
            frame.SetPixel(x, y, static_cast<uint8_t>(x));
    for (int x = 0; x < 256; x += 32)
        frame.DrawTile(*tile, x, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(frame.GetPixel(x, y), ShadeTable[2 + y % 14][x]) << x << ", " << y;
}

TEST(DrawTile, DrawsWhatTheRecordDrawsOnEveryEdge) {
    std::mt19937 rng(13);
    std::vector<std::vector<uint8_t>> palettes = KindPalettes();
    palettes.push_back({2, 5, 9, 12}); // shaded everywhere
    std::vector<formats::TPBMImage> images;
    for (const auto& values : palettes)
        images.push_back(test::RandomImage(32, 32, rng, values));
    // Only rows 9 to 20 hold pixels.
    std::vector<uint8_t> band(32 * 32, 0);
    for (int i = 9 * 32; i < 21 * 32; ++i)
        band[i] = static_cast<uint8_t>(0x40 + i % 7 * (i % 3));
    images.push_back(MakeImage(32, 32, band));

    // Wide frames draw through a window; those narrower than a tile pixel by pixel.
    for (auto [w, h] : {std::pair{72, 48}, {32, 40}, {20, 12}})
        for (bool flipped : {false, true}) {
            TFrameBuffer frame(w, h);
            frame.SetFlipped(flipped);
            for (const auto& image : images) {
                auto record = MakeSprite(image, TRect{0, 0, 31, 31});
                auto tile = ExpandTile(record.get());
                ASSERT_NE(tile, nullptr);
                for (int x : {-40, -32, -31, -17, -1, 0, 1, 7, w - 33, w - 32, w - 31, w - 1, w})
                    for (int y : {-32, -31, -10, 0, 3, h - 32, h - 20, h - 1, h}) {
                        Background(frame);
                        const auto before = test::FramePixels(frame);
                        frame.DrawTile(*tile, x, y);
                        const auto want =
                            Expected(before, w, h, image, GetSpriteKind(record.get()), x, y);
                        ASSERT_EQ(test::FrameDifference(test::FramePixels(frame), want, w), "")
                            << "frame " << w << " x " << h << ", tile at " << x << ", " << y;
                    }
            }
        }
}

TEST(DrawTile, OnlyRecordsOfAWholeTileExpand) {
    EXPECT_EQ(ExpandTile(nullptr), nullptr);
    for (auto [w, h] : {std::pair{31, 32}, {32, 31}, {33, 32}, {64, 64}}) {
        auto record = MakeSprite(test::FilledImage(w, h, 0x50), TRect{0, 0, w - 1, h - 1});
        EXPECT_EQ(ExpandTile(record.get()), nullptr) << w << " x " << h;
    }
}
