// The 2D engine's drawing operations over a plain byte array: fills, scans,
// patterns, lines and blits compared with pictures worked out by hand, in
// several depths, with clipping and the bounds of video memory.
#include "vga/accel_draw.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

using namespace pcemu;

namespace {

constexpr int32_t kFixed = 65536;

// A small screen of 16 x 8 pixels at 8 bits, inside a larger array whose
// bytes after the screen must stay untouched.
struct Screen {
    explicit Screen(unsigned bpp = 8, uint32_t width = 16, uint32_t height = 8)
        : bytes((bpp + 7) / 8), memory(width * height * bytes + 64, 0xEE) {
        t.vram = memory.data();
        t.vramSize = width * height * bytes;
        t.pitch = width * bytes;
        t.bpp = bpp;
        t.clipRight = static_cast<int32_t>(width) - 1;
        t.clipBottom = static_cast<int32_t>(height) - 1;
        std::fill(memory.begin(), memory.begin() + t.vramSize, 0);
    }
    uint32_t pixel(int x, int y) const {
        uint32_t v = 0;
        for (unsigned i = 0; i < bytes; ++i)
            v |= uint32_t{memory[y * t.pitch + x * bytes + i]} << (8 * i);
        return v;
    }
    // Pixels that are not zero.
    std::set<std::pair<int, int>> lit() const {
        std::set<std::pair<int, int>> out;
        for (uint32_t y = 0; y < t.vramSize / t.pitch; ++y)
            for (uint32_t x = 0; x < t.pitch / bytes; ++x)
                if (pixel(x, y)) out.insert({static_cast<int>(x), static_cast<int>(y)});
        return out;
    }
    bool tailUntouched() const {
        for (size_t i = t.vramSize; i < memory.size(); ++i)
            if (memory[i] != 0xEE) return false;
        return true;
    }
    unsigned bytes;
    std::vector<uint8_t> memory;
    DrawTarget t;
};

Pen Solid(uint32_t colour, unsigned mix = 0) {
    Pen p;
    p.fore = colour;
    p.foreMix = mix;
    return p;
}

TEST(AccelDrawTest, FillRectWritesInsideTheClipOnlyWithEachMix) {
    Screen s;
    s.t.clipLeft = 2;
    s.t.clipTop = 1;
    s.t.clipRight = 5;
    s.t.clipBottom = 2;
    EXPECT_EQ(FillRect(s.t, 0, 0, 16, 8, 0x0F, 0), 4u * 2u);
    EXPECT_EQ(s.lit().size(), 8u);
    EXPECT_EQ(s.pixel(2, 1), 0x0Fu);
    EXPECT_EQ(s.pixel(5, 2), 0x0Fu);
    EXPECT_EQ(s.pixel(6, 2), 0u);
    EXPECT_EQ(s.pixel(2, 3), 0u);

    const std::pair<unsigned, uint32_t> mixes[] = {
        {1, 0x0F ^ 0x3C}, {2, 0x0F | 0x3C}, {3, 0x0F & 0x3C}, {0, 0x3C}};
    for (auto [mix, want] : mixes) {
        Screen m;
        FillRect(m.t, 0, 0, 1, 1, 0x0F, 0);
        FillRect(m.t, 0, 0, 1, 1, 0x3C, mix);
        EXPECT_EQ(m.pixel(0, 0), want) << "mix " << mix;
    }
}

TEST(AccelDrawTest, DeepPixelsStoreTheirBytesInOrder) {
    for (unsigned bpp : {15u, 16u, 24u, 32u}) {
        Screen s(bpp);
        FillRect(s.t, 3, 2, 2, 1, 0xA1B2C3D4, 0);
        uint32_t mask = bpp >= 32 ? 0xFFFFFFFFu : (1u << (8 * s.bytes)) - 1;
        EXPECT_EQ(s.pixel(3, 2), 0xA1B2C3D4 & mask) << bpp;
        EXPECT_EQ(s.pixel(4, 2), 0xA1B2C3D4 & mask) << bpp;
        EXPECT_EQ(s.pixel(5, 2), 0u) << bpp;
        EXPECT_EQ(s.lit().size(), 2u) << bpp;
    }
    Screen s(24);
    FillRect(s.t, 1, 0, 1, 1, 0x00112233, 0);
    EXPECT_EQ(s.memory[3], 0x33);
    EXPECT_EQ(s.memory[4], 0x22);
    EXPECT_EQ(s.memory[5], 0x11);
}

TEST(AccelDrawTest, PatternFollowsTheBufferGridWithBothMixes) {
    Screen s;
    FillRect(s.t, 0, 0, 16, 8, 0x80, 0);
    std::array<uint8_t, 8> pattern = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    Pen pen;
    pen.fore = 0x05;
    pen.foreMix = 0;
    pen.back = 0x01;
    pen.backMix = 2; // OR
    EXPECT_EQ(PatternRect(s.t, 3, 1, 10, 6, pen, pattern), 60u);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            bool inside = x >= 3 && x < 13 && y >= 1 && y < 7;
            uint32_t want = !inside ? 0x80 : (x % 8 == y) ? 0x05 : 0x81;
            EXPECT_EQ(s.pixel(x, y), want) << x << "," << y;
        }
    }
}

TEST(AccelDrawTest, LinesMatchTheReferencePixelsInBothDirections) {
    const std::set<std::pair<int, int>> shallow = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}};
    Screen a, b;
    EXPECT_EQ(DrawLine(a.t, 0, 0, 5 * kFixed, 2 * kFixed, Solid(1), nullptr), 6u);
    DrawLine(b.t, 5 * kFixed, 2 * kFixed, 0, 0, Solid(1), nullptr);
    EXPECT_EQ(a.lit(), shallow);
    EXPECT_EQ(b.lit(), shallow);

    // Steep and upwards: (1, 6) to (3, 0), y-major.
    Screen c;
    DrawLine(c.t, 1 * kFixed, 6 * kFixed, 3 * kFixed, 0, Solid(1), nullptr);
    const std::set<std::pair<int, int>> steep = {{1, 6}, {1, 5}, {2, 4}, {2, 3},
                                                 {2, 2}, {3, 1}, {3, 0}};
    EXPECT_EQ(c.lit(), steep);

    // A 45-degree line sets one pixel per row and column; fractions round.
    Screen d;
    DrawLine(d.t, 2 * kFixed + 0x7FFF, kFixed / 2, 6 * kFixed, 4 * kFixed + 0x8000, Solid(1),
             nullptr);
    const std::set<std::pair<int, int>> diagonal = {{2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}};
    EXPECT_EQ(d.lit(), diagonal);
}

TEST(AccelDrawTest, StippleCountsFromTheFirstPointAndLinesClip) {
    Screen a, b;
    Pen pen = Solid(7);
    pen.back = 2;
    const uint16_t stipple = 0xA000; // on, off, on, then off
    DrawLine(a.t, 0, 0, 4 * kFixed, 0, pen, &stipple);
    DrawLine(b.t, 4 * kFixed, 0, 0, 0, pen, &stipple);
    EXPECT_EQ(a.pixel(0, 0), 7u);
    EXPECT_EQ(a.pixel(1, 0), 2u);
    EXPECT_EQ(a.pixel(2, 0), 7u);
    EXPECT_EQ(a.pixel(3, 0), 2u);
    EXPECT_EQ(b.pixel(4, 0), 7u);
    EXPECT_EQ(b.pixel(3, 0), 2u);
    EXPECT_EQ(b.pixel(2, 0), 7u);
    EXPECT_EQ(b.pixel(0, 0), 2u);

    Screen c;
    c.t.clipLeft = 2;
    c.t.clipRight = 3;
    EXPECT_EQ(DrawLine(c.t, -100 * kFixed, 5 * kFixed, 100 * kFixed, 5 * kFixed, Solid(1), nullptr),
              2u);
    EXPECT_EQ(c.lit(), (std::set<std::pair<int, int>>{{2, 5}, {3, 5}}));
    EXPECT_TRUE(c.tailUntouched());
}

TEST(AccelDrawTest, OverlappingBlitsCopyAsThroughABuffer) {
    Screen s;
    for (int x = 0; x < 6; ++x)
        FillRect(s.t, x, 0, 1, 2, static_cast<uint32_t>(x + 1), 0);
    std::vector<uint64_t> scratch;
    Blit right;
    right.width = 6;
    right.height = 2;
    right.dstLeft = 2;
    right.dstTop = 1; // down and to the right, overlapping
    EXPECT_EQ(DrawBlit(s.t, right, scratch), 12u);
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(s.pixel(x + 2, 1), static_cast<uint32_t>(x + 1)) << x;
        EXPECT_EQ(s.pixel(x + 2, 2), static_cast<uint32_t>(x + 1)) << x;
    }
    EXPECT_EQ(s.pixel(0, 1), 1u); // source row 1 left of the copy keeps its value
}

TEST(AccelDrawTest, TransparentBlitsSkipTheirColour) {
    Screen s;
    // Source row 0: 1 5 1 5; destination row 4: 5 5 9 9.
    for (int x = 0; x < 4; ++x) {
        FillRect(s.t, x, 0, 1, 1, x % 2 ? 5 : 1, 0);
        FillRect(s.t, x, 4, 1, 1, x < 2 ? 5 : 9, 0);
    }
    Screen d = s;
    d.t.vram = d.memory.data();
    std::vector<uint64_t> scratch;
    Blit b;
    b.width = 4;
    b.height = 1;
    b.dstTop = 4;
    b.transparent = 5;
    b.kind = BlitKind::SourceTransparent;
    EXPECT_EQ(DrawBlit(s.t, b, scratch), 2u);
    EXPECT_EQ(s.pixel(0, 4), 1u);
    EXPECT_EQ(s.pixel(1, 4), 5u);
    EXPECT_EQ(s.pixel(2, 4), 1u);
    EXPECT_EQ(s.pixel(3, 4), 9u);

    b.kind = BlitKind::DestinationTransparent;
    EXPECT_EQ(DrawBlit(d.t, b, scratch), 2u);
    EXPECT_EQ(d.pixel(0, 4), 1u);
    EXPECT_EQ(d.pixel(1, 4), 5u);
    EXPECT_EQ(d.pixel(2, 4), 9u);
    EXPECT_EQ(d.pixel(3, 4), 9u);
}

TEST(AccelDrawTest, LinearSourcesArePackedAndNeverReadOutsideMemory) {
    Screen s(16);
    // A packed 2 x 2 bitmap at byte offset 200 (16-bit pixels).
    const uint16_t bitmap[4] = {0x1111, 0x2222, 0x3333, 0x4444};
    std::memcpy(s.memory.data() + 200, bitmap, sizeof bitmap);
    std::vector<uint64_t> scratch;
    Blit b;
    b.source.linear = true;
    b.source.left = 200;
    b.width = 2;
    b.height = 2;
    b.dstLeft = 1;
    b.dstTop = 1;
    b.mix = 1; // XOR onto zeros
    DrawBlit(s.t, b, scratch);
    EXPECT_EQ(s.pixel(1, 1), 0x1111u);
    EXPECT_EQ(s.pixel(2, 1), 0x2222u);
    EXPECT_EQ(s.pixel(1, 2), 0x3333u);
    EXPECT_EQ(s.pixel(2, 2), 0x4444u);

    // A source past the end of memory copies nothing.
    b.source.left = s.t.vramSize - 2;
    b.dstTop = 5;
    EXPECT_EQ(DrawBlit(s.t, b, scratch), 1u); // only the first pixel lies inside
    b.source.linear = false;
    b.source.left = -3;
    b.source.top = -100;
    EXPECT_EQ(DrawBlit(s.t, b, scratch), 0u);
    EXPECT_TRUE(s.tailUntouched());
}

TEST(AccelDrawTest, NothingIsWrittenPastVideoMemoryWhateverTheClip) {
    Screen s;
    s.t.clipLeft = -1000;
    s.t.clipTop = -1000;
    s.t.clipRight = 1 << 30;
    s.t.clipBottom = 1 << 30;
    FillRect(s.t, -5, -5, 1 << 20, 1 << 20, 3, 0);
    DrawLine(s.t, -30000 * kFixed, 0, 30000 * kFixed, 30000 * kFixed, Solid(3), nullptr);
    EXPECT_EQ(s.lit().size(), 16u * 8u);
    EXPECT_TRUE(s.tailUntouched());
    Screen scan; // the widest scan there is covers the row
    EXPECT_EQ(DrawScan(scan.t, 2, INT32_MIN, INT32_MAX, 5, 0), 16u);

    s.t.origin = s.t.vramSize - s.t.pitch; // only the last line lies in memory
    EXPECT_EQ(FillRect(s.t, 0, 0, 100, 100, 4, 0), 16u);
    EXPECT_TRUE(s.tailUntouched());
    s.t.pitch = 0;
    EXPECT_EQ(FillRect(s.t, 0, 0, 100, 100, 4, 0), 0u);
}

} // namespace
