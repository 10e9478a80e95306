#include "fixtures.h"
#include "maprun/core/sprite.h"

#include <gtest/gtest.h>

#include <climits>

using namespace maprun;
using maprun::test::FilledImage;
using maprun::test::MakeImage;

namespace {

std::vector<uint8_t> Bytes(const SpriteRecord& sprite) {
    return std::vector<uint8_t>(sprite.get(), sprite.get() + SpriteSize(sprite.get()));
}

// Little-endian 32-bit numbers and raw bytes, for spelling out expected records.
struct ByteList {
    std::vector<uint8_t> bytes;
    ByteList& n(int32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(uint32_t(v) >> (8 * i)));
        return *this;
    }
    ByteList& b(std::initializer_list<uint8_t> list) {
        bytes.insert(bytes.end(), list);
        return *this;
    }
    ByteList& header(int32_t w, int32_t h, SpriteKind kind) {
        return n(w).n(h).n(0).n(0).b({uint8_t(kind), 0, 0, 0});
    }
};

} // namespace

TEST(MakeSprite, ExampleRowsEncodeByteForByte) {
    // 32 opaque pixels: one span and the end span.
    auto opaque = MakeSprite(FilledImage(32, 1, 0x20), TRect{0, 0, 31, 0});
    ByteList row32;
    row32.header(32, 1, SpriteKind::Solid).n(12 + 8 + 32 + 8).n(0).n(31).n(0).n(32);
    for (int i = 0; i < 32; ++i)
        row32.b({0x20});
    row32.n(0).n(0);
    EXPECT_EQ(Bytes(opaque), row32.bytes);

    // 0,0,5,5,5,0: skip 2, three pixels and one filler byte, end span.
    auto gap = MakeSprite(MakeImage(6, 1, {0, 0, 5, 5, 5, 0}), TRect{0, 0, 5, 0});
    ByteList row6;
    row6.header(6, 1, SpriteKind::Shaded).n(12 + 8 + 4 + 8).n(2).n(4);
    row6.n(2).n(3).b({5, 5, 5, 0}).n(0).n(0);
    EXPECT_EQ(Bytes(gap), row6.bytes);
}

TEST(MakeSprite, RunsGapsFillerAndColumns) {
    // Several runs; colour 1 counts as a gap; the last run's filler lies beyond
    // the image and reads as 0.
    auto runs = MakeSprite(MakeImage(8, 1, {20, 0, 1, 21, 21, 0, 22, 1}), TRect{0, 0, 7, 0});
    ByteList expect;
    expect.header(8, 1, SpriteKind::Transparent).n(12 + 3 * 12 + 8).n(0).n(6);
    expect.n(0).n(1).b({20, 0, 1, 21});
    expect.n(2).n(2).b({21, 21, 0, 22});
    expect.n(1).n(1).b({22, 1, 0, 0});
    expect.n(0).n(0);
    EXPECT_EQ(Bytes(runs), expect.bytes);

    // A rectangle inside a bigger picture: first and last x are picture columns
    // and the filler comes from the picture beyond the rectangle.
    auto inner = MakeImage(9, 2,
                           {9, 0, 0, 20, 21, 22, 23, 24, 25, //
                            0, 0, 0, 0, 0, 0, 0, 0, 0});
    auto cut = MakeSprite(inner, TRect{1, 0, 5, 0});
    ByteList cutExpect;
    cutExpect.header(5, 1, SpriteKind::Transparent).n(12 + 12 + 8).n(3).n(5);
    cutExpect.n(2).n(3).b({20, 21, 22, 23}).n(0).n(0);
    EXPECT_EQ(Bytes(cut), cutExpect.bytes);

    // A row without opaque pixels has first x -1, last x 0 and only the end span.
    auto twoRows = MakeSprite(inner, TRect{0, 0, 8, 1});
    const uint8_t* row1 = FirstSpriteRow(twoRows.get()) + ReadLE32(FirstSpriteRow(twoRows.get()));
    EXPECT_EQ(ReadLE32(row1), 12 + 8);
    EXPECT_EQ(ReadLE32(row1 + 4), -1);
    EXPECT_EQ(ReadLE32(row1 + 8), 0);
    EXPECT_EQ(ReadLE32(row1 + 12), 0);
    EXPECT_EQ(ReadLE32(row1 + 16), 0);
    EXPECT_EQ(SpriteSize(twoRows.get()), size_t(20 + ReadLE32(FirstSpriteRow(twoRows.get())) + 20));
}

TEST(MakeSprite, KindsAndEmptyRectangles) {
    EXPECT_EQ(GetSpriteKind(MakeSprite(MakeImage(2, 1, {0, 16}), {0, 0, 1, 0}).get()),
              SpriteKind::Transparent);
    EXPECT_EQ(GetSpriteKind(MakeSprite(MakeImage(2, 1, {15, 16}), {0, 0, 1, 0}).get()),
              SpriteKind::Shaded);
    EXPECT_EQ(GetSpriteKind(MakeSprite(MakeImage(2, 1, {0, 2}), {0, 0, 1, 0}).get()),
              SpriteKind::Shaded);
    EXPECT_EQ(GetSpriteKind(MakeSprite(MakeImage(2, 1, {200, 16}), {0, 0, 1, 0}).get()),
              SpriteKind::Solid);
    // The kind test reads raw pixels: colour 1 is not 0, so a tile with 1s in it
    // is solid although they are encoded as gaps.
    EXPECT_EQ(GetSpriteKind(MakeSprite(MakeImage(2, 1, {1, 16}), {0, 0, 1, 0}).get()),
              SpriteKind::Solid);

    auto ones = MakeSprite(FilledImage(4, 3, 1), TRect{0, 0, 3, 2});
    ASSERT_NE(ones, nullptr);
    EXPECT_EQ(GetSpriteKind(ones.get()), SpriteKind::Solid);
    EXPECT_EQ(SpriteSize(ones.get()), size_t(20 + 3 * (12 + 8))); // rows hold no runs

    EXPECT_EQ(MakeSprite(FilledImage(4, 4, 0), TRect{0, 0, 3, 3}), nullptr);
    EXPECT_EQ(MakeSprite(FilledImage(4, 4, 9), TRect{2, 0, 1, 3}), nullptr); // empty
    // Outside the picture every pixel reads as 0.
    EXPECT_EQ(MakeSprite(FilledImage(4, 4, 9), TRect{4, 4, 40, 40}), nullptr);
    // A rectangle ending at the end of int still ends.
    EXPECT_EQ(MakeSprite(FilledImage(4, 4, 9), TRect{INT_MAX - 3, 0, INT_MAX, 0}), nullptr);
}

TEST(MakeSprite, EncodingsLargerThanAnyFixedScratchBuffer) {
    // A checkerboard costs 12 bytes per opaque pixel: far beyond 100000 bytes.
    const int w = 400, h = 300;
    std::vector<uint8_t> pixels(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[size_t(y) * w + x] = (x + y) % 2 ? 0x40 + y % 7 : 0;
    auto image = MakeImage(w, h, pixels);
    auto sprite = MakeSprite(image, TRect{0, 0, w - 1, h - 1});
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(SpriteSize(sprite.get()), size_t(20 + h * (12 + (w / 2) * 12 + 8)));

    TFrameBuffer frame(w, h);
    frame.DrawSprite(sprite.get(), 0, 0);
    EXPECT_EQ(test::FramePixels(frame), pixels);
}

TEST(LoadSprite, WholePictureFromFile) {
    test::TempDir dir;
    auto image = MakeImage(3, 2, {0, 30, 31, 32, 0, 33});
    test::WritePicture(dir / "smile.bbm", image);
    auto sprite = LoadSprite(dir / "smile.bbm");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(Bytes(sprite), Bytes(MakeSprite(image, TRect{0, 0, 2, 1})));

    test::WritePicture(dir / "blank.bbm", FilledImage(5, 5, 0));
    EXPECT_EQ(LoadSprite(dir / "blank.bbm"), nullptr);
    EXPECT_THROW(LoadSprite(dir / "missing.bbm"), formats::EFOpenError);
}
