// The reference driver's drawing entries, each called with its registers and
// blocks: rectangles, scans, scan lists, patterns, lines, stipples, the six
// blits, mixes and clipping, in 8, 24 and 32 bits per pixel; the brackets
// (WaitTillIdle, EnableDirectAccess, DisableDirectAccess) against the
// adapter's count of touches while busy; the hardware cursor entries.
#include "driver_rig.h"

#include <set>

using namespace mkvbeaf_test;

namespace {

constexpr int32_t kFixed = 65536;

class DriverDrawTest : public DriverRig {
protected:
    void SetUp() override {
        loadAndInit();
        ASSERT_EQ(setMode(0x101), 0u);
    }
    uint8_t pixel(int x, int y) { return vram(static_cast<uint32_t>(y) * 640 + x); }
    // Pixels of colour c in the rectangle [0, w) x [0, h).
    std::set<std::pair<int, int>> pixelsOf(uint8_t c, int w = 16, int h = 16) {
        call(&AF_DriverHeader::WaitTillIdle);
        std::set<std::pair<int, int>> out;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (pc->space().vram()[y * 640 + x] == c) out.insert({x, y});
        return out;
    }
    void setMix(uint32_t fore, uint32_t back) {
        CpuRegs r;
        r.eax = fore;
        r.ecx = back;
        call(&AF_DriverHeader::SetMix, r);
    }
    uint64_t violations() { return pc->adapter().accelerator().violations(); }
};

TEST_F(DriverDrawTest, RectanglesWithMixAndClip) {
    callBlock(&AF_DriverHeader::DrawRect, {10, 10, 4, 2}, CpuRegs{.eax = 5});
    EXPECT_EQ(pixel(10, 10), 5);
    EXPECT_EQ(pixel(13, 11), 5);
    EXPECT_EQ(pixel(14, 11), 0);
    EXPECT_EQ(pixel(10, 12), 0);

    setMix(AF_XOR_MIX, AF_REPLACE_MIX);
    callBlock(&AF_DriverHeader::DrawRect, {10, 10, 1, 1}, CpuRegs{.eax = 3});
    EXPECT_EQ(pixel(10, 10), 5 ^ 3);

    callBlock(&AF_DriverHeader::SetClipRect, {0, 0, 11, 10});
    setMix(AF_REPLACE_MIX, AF_REPLACE_MIX);
    callBlock(&AF_DriverHeader::DrawRect, {0, 0, 20, 20}, CpuRegs{.eax = 7});
    EXPECT_EQ(pixelsOf(7, 20, 20).size(), 12u * 11u);
    EXPECT_EQ(pixel(12, 10), 5);
}

TEST_F(DriverDrawTest, LinesScansAndScanLists) {
    callBlock(&AF_DriverHeader::DrawLine, {5 * kFixed, 2 * kFixed, 0, 0}, CpuRegs{.eax = 1});
    EXPECT_EQ(pixelsOf(1),
              (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}));

    CpuRegs scan;
    scan.esi = 2;
    scan.eax = 4; // y
    scan.ecx = 9; // x1
    scan.edx = 3; // x2, excluded
    call(&AF_DriverHeader::DrawScan, scan);
    EXPECT_EQ(pixelsOf(2),
              (std::set<std::pair<int, int>>{{3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}, {8, 4}}));

    const int16_t scans[4] = {1, 3, 2, 4};
    CpuRegs list;
    list.edx = 3;
    list.eax = 6;
    list.ecx = 2;
    list.esi = put(scans, sizeof scans);
    call(&AF_DriverHeader::DrawScanList, list);
    EXPECT_EQ(pixelsOf(3), (std::set<std::pair<int, int>>{{1, 6}, {2, 6}, {2, 7}, {3, 7}}));
}

TEST_F(DriverDrawTest, PatternsAndStipples) {
    const uint8_t pattern[8] = {0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F};
    CpuRegs p;
    p.esi = put(pattern, sizeof pattern);
    call(&AF_DriverHeader::Set8x8MonoPattern, p);
    callBlock(&AF_DriverHeader::DrawPattRect, {0, 0, 8, 8}, CpuRegs{.eax = 4, .ecx = 5});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(pixel(x, y), ((x < 4) == (y < 4)) ? 4 : 5) << x << "," << y;

    CpuRegs scan;
    scan.esi = 6;  // foreground
    scan.edi = 7;  // background
    scan.eax = 12; // y: pattern row 4
    scan.ecx = 0;
    scan.edx = 8;
    call(&AF_DriverHeader::DrawPattScan, scan);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(pixel(x, 12), x < 4 ? 7 : 6) << x;

    CpuRegs stipple;
    stipple.eax = 0xC000; // two on, then off
    call(&AF_DriverHeader::SetLineStipple, stipple);
    callBlock(&AF_DriverHeader::DrawStippleLine, {0, 14 * kFixed, 3 * kFixed, 14 * kFixed},
              CpuRegs{.eax = 8, .ecx = 9});
    EXPECT_EQ(pixel(0, 14), 8);
    EXPECT_EQ(pixel(1, 14), 8);
    EXPECT_EQ(pixel(2, 14), 9);
    EXPECT_EQ(pixel(3, 14), 9);
}

TEST_F(DriverDrawTest, TheSixBlits) {
    // Source: row 0 = 1 2 1 2 at x 0-3.
    for (int x = 0; x < 4; ++x)
        callBlock(&AF_DriverHeader::DrawRect, {x, 0, 1, 1}, CpuRegs{.eax = x % 2 ? 2u : 1u});
    // A packed 4 x 1 bitmap in off-screen memory: 3 2 3 2.
    const uint32_t off = header().OffscreenOffset;
    call(&AF_DriverHeader::EnableDirectAccess);
    const uint8_t bitmap[4] = {3, 2, 3, 2};
    std::memcpy(pc->space().vram() + off, bitmap, 4);
    call(&AF_DriverHeader::DisableDirectAccess);

    callBlock(&AF_DriverHeader::BitBlt, {0, 0, 4, 1, 0, 2, AF_REPLACE_MIX});
    callBlock(&AF_DriverHeader::BitBltLin, {static_cast<int32_t>(off), 0, 3, 4, 1, AF_REPLACE_MIX});
    // Destination rows 4-7 hold 9 9 2 2 first.
    for (int y = 4; y < 8; ++y)
        callBlock(&AF_DriverHeader::DrawRect, {0, y, 4, 1}, CpuRegs{.eax = 2});
    for (int y = 4; y < 8; ++y)
        callBlock(&AF_DriverHeader::DrawRect, {0, y, 2, 1}, CpuRegs{.eax = 9});
    callBlock(&AF_DriverHeader::SrcTransBlt, {0, 0, 4, 1, 0, 4, AF_REPLACE_MIX, 2});
    callBlock(&AF_DriverHeader::SrcTransBltLin,
              {static_cast<int32_t>(off), 0, 5, 4, 1, AF_REPLACE_MIX, 2});
    callBlock(&AF_DriverHeader::DstTransBlt, {0, 0, 4, 1, 0, 6, AF_REPLACE_MIX, 2});
    callBlock(&AF_DriverHeader::DstTransBltLin,
              {static_cast<int32_t>(off), 0, 7, 4, 1, AF_XOR_MIX, 2});

    const uint8_t want[6][4] = {
        {1, 2, 1, 2},         // BitBlt
        {3, 2, 3, 2},         // BitBltLin
        {1, 9, 1, 2},         // SrcTransBlt: source 2 skipped over 9 9 2 2
        {3, 9, 3, 2},         // SrcTransBltLin
        {9, 9, 1, 2},         // DstTransBlt: only where the destination is 2
        {9, 9, 3 ^ 2, 2 ^ 2}, // DstTransBltLin with XOR
    };
    const int rows[6] = {2, 3, 4, 5, 6, 7};
    for (int i = 0; i < 6; ++i)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixel(x, rows[i]), want[i][x]) << "blit " << i << " x " << x;
}

TEST_F(DriverDrawTest, DeepModesStoreWholePixels) {
    ASSERT_EQ(setMode(0x124), 0u);
    callBlock(&AF_DriverHeader::DrawRect, {1, 1, 1, 1}, CpuRegs{.eax = 0x00123456});
    const uint32_t at32 = 1 * 2560 + 4;
    EXPECT_EQ(vram(at32), 0x56);
    EXPECT_EQ(vram(at32 + 1), 0x34);
    EXPECT_EQ(vram(at32 + 2), 0x12);
    EXPECT_EQ(vram(at32 + 4), 0);

    ASSERT_EQ(setMode(0x112), 0u);
    callBlock(&AF_DriverHeader::DrawLine, {0, 0, 2 * kFixed, 0}, CpuRegs{.eax = 0x00ABCDEF});
    for (uint32_t i = 0; i < 9; ++i)
        EXPECT_EQ(vram(i), (0xABCDEF >> (8 * (i % 3))) & 0xFF) << i;
    EXPECT_EQ(vram(9), 0);
}

TEST_F(DriverDrawTest, BracketsDecideWhetherATouchIsAViolation) {
    auto draw = [&] { callBlock(&AF_DriverHeader::DrawRect, {0, 0, 64, 64}, CpuRegs{.eax = 1}); };
    volatile uint8_t* linear = pc->space().vram();

    draw();
    call(&AF_DriverHeader::WaitTillIdle);
    linear[0] = 2;
    EXPECT_EQ(violations(), 0u);

    call(&AF_DriverHeader::EnableDirectAccess);
    draw();
    linear[1] = 2;
    call(&AF_DriverHeader::DisableDirectAccess);
    EXPECT_EQ(violations(), 0u);

    draw();
    linear[2] = 2; // no bracket
    EXPECT_EQ(violations(), 1u);
    EXPECT_EQ(linear[2], 2);

    // Through the banked window as well.
    CpuRegs bank;
    bank.edx = 0;
    call(&AF_DriverHeader::SetBank, bank);
    draw();
    EXPECT_EQ(pc->hostPointer(0xA0000)[3], 1);
    EXPECT_EQ(violations(), 2u);
}

TEST_F(DriverDrawTest, CursorEntriesShowTheCursorInTheScanout) {
    AF_Cursor cursor = {};
    for (int r = 0; r < 32; ++r) {
        cursor.andMask[r] = 0x7FFFFFFF; // column 0 in the cursor colour
        cursor.xorMask[r] = 0x80000000;
    }
    cursor.hotY = 4;
    call(&AF_DriverHeader::SetCursor, CpuRegs{.esi = put(&cursor, sizeof cursor)});
    call(&AF_DriverHeader::SetCursorPos, CpuRegs{.eax = 100, .ecx = 50});
    call(&AF_DriverHeader::SetCursorColor, CpuRegs{.eax = 0x3412, .ecx = 0x56}); // r, g; b
    const uint32_t screen = pc->adapter().scanout().at(100, 46);
    call(&AF_DriverHeader::ShowCursor, CpuRegs{.eax = 7});
    pcemu::Image shown = pc->adapter().scanout();
    EXPECT_EQ(shown.at(100, 46), 0x123456u); // the hot spot is 4 rows down
    EXPECT_EQ(shown.at(100, 77), 0x123456u);
    EXPECT_EQ(shown.at(100, 78), screen);
    EXPECT_EQ(shown.at(101, 50), screen);
    call(&AF_DriverHeader::ShowCursor, CpuRegs{.eax = 0});
    EXPECT_EQ(pc->adapter().scanout().at(100, 50), screen);
}

} // namespace
