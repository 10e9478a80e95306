// Mode enumeration and mode setting: the device record after SV_init, mode
// names, what SV_setMode puts in the record for each depth, the modes it
// refuses, and the text mode it leaves behind.
#include "bios_filter.h"
#include "bios_suite.h"
#include "state.h"

#include <vector>

namespace vidlib32_test {
namespace {

using vidlib32::gMode;
using vidlib32::ModeInfoBlock;

const SV_DeviceInfo& Init() {
    const SV_DeviceInfo* device = SV_init(0);
    EXPECT_NE(device, nullptr);
    return *device;
}

std::vector<int> Ints(std::initializer_list<int> values) {
    return values;
}

VIDLIB32_SUITE(Vbe20Modes, "vbe20");
VIDLIB32_SUITE(NoVbeModes, "novbe");
VIDLIB32_SUITE(SmallVramModes, "vbe20");
VIDLIB32_SUITE(ModeName, "vbe20");

// The BIOS lists 3, 12h, 13h and the text mode 108h as well.
TEST_F(Vbe20Modes, RecordDescribesTheBiosAndListsGraphicsModesFrom100h) {
    const vidlib32::VbeInfoBlock raw = RawInfoBlock();
    const SV_DeviceInfo& device = Init();
    EXPECT_EQ(device.version, 0x0200);
    EXPECT_EQ(device.memoryKB, raw.TotalMemory * 64);
    EXPECT_STREQ(device.oemName, RealString(raw.OemStringPtr).c_str());
    EXPECT_EQ(device.linearBase, 0xE0000000u);
    EXPECT_EQ(Ints({device.hasWideDac, device.hasMultiBuffer, device.hasVirtualScroll,
                    device.canVirtualize}),
              Ints({1, 1, 1, 1}));
    std::vector<uint16_t> expected;
    for (uint16_t mode :
         Modes(reinterpret_cast<const uint16_t*>(Pc().hostPointer(RealLinear(raw.VideoModePtr)))))
        if (mode >= 0x100 && (RawModeInfo(mode).ModeAttributes & vidlib32::kModeGraphics))
            expected.push_back(mode);
    EXPECT_EQ(Modes(device.modes), expected);
    EXPECT_EQ(expected.size() + 4, Modes(reinterpret_cast<const uint16_t*>(
                                             Pc().hostPointer(RealLinear(raw.VideoModePtr))))
                                       .size());
}

TEST_F(NoVbeModes, NoBiosNoRecord) {
    EXPECT_EQ(SV_init(0), nullptr);
}

SV_ModeInfo Described(uint16_t attributes, int16_t x, int16_t y, int16_t bits, uint16_t pages) {
    SV_ModeInfo info{};
    info.attributes = attributes;
    info.xRes = x;
    info.yRes = y;
    info.pixelBits = bits;
    info.pages = pages;
    return info;
}

TEST_F(ModeName, TextsAndResults) {
    char name[80];
    const SV_ModeInfo both =
        Described(SV_ATTR_VBE | SV_ATTR_BANKED | SV_ATTR_LINEAR, 640, 480, 8, 3);
    EXPECT_EQ(SV_getModeName(name, &both, 0x101, 1), 0x4101);
    EXPECT_STREQ(name, " 640 x  480 8 bit ( 3 page, Banked+Linear)");
    EXPECT_EQ(SV_getModeName(name, &both, 0x101, 0), 0x101);
    EXPECT_STREQ(name, " 640 x  480 8 bit ( 3 page, Banked Only)");

    const SV_ModeInfo linearOnly = Described(SV_ATTR_LINEAR | SV_ATTR_NONVGA, 1024, 768, 32, 1);
    std::memcpy(name, "untouched", 10);
    EXPECT_EQ(SV_getModeName(name, &linearOnly, 0x126, 0), 0);
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(SV_getModeName(name, &linearOnly, 0x126, 1), 0x4126);
    EXPECT_STREQ(name, "1024 x  768 32 bit ( 1 page, Linear Only, NonVGA)");
    const SV_ModeInfo fast = Described(SV_ATTR_BANKED | SV_ATTR_ACCELERATED, 640, 400, 8, 12);
    EXPECT_EQ(SV_getModeName(name, &fast, 0x100, 1), 0x100);
    EXPECT_STREQ(name, " 640 x  400 8 bit (12 page, Banked Only, Accelerated)");

    // The widest numbers with every suffix still fit 70 bytes.
    const SV_ModeInfo widest = Described(0xFFFF, -1, -1, -1, 0xFFFF);
    std::memset(name, 'x', sizeof name);
    SV_getModeName(name, &widest, 0x1FF, 1);
    EXPECT_EQ(std::strlen(name), 69u);
    EXPECT_EQ(name[70], 'x');
}

struct DepthCase {
    uint16_t mode;
    int bits, colorMax, colorDefault, pixelBytes;
};

TEST_F(Vbe20Modes, EachDepthFillsTheRecord) {
    const SV_DeviceInfo& device = Init();
    for (const DepthCase& c :
         {DepthCase{0x102, 4, 15, 15, 1}, DepthCase{0x101, 8, 255, 15, 1},
          DepthCase{0x110, 15, 0x7FFF, 0x7FFF, 2}, DepthCase{0x111, 16, 0xFFFF, 0xFFFF, 2},
          DepthCase{0x112, 24, 0xFFFFFF, 0xFFFFFF, 3},
          DepthCase{0x124, 32, 0xFFFFFF, 0xFFFFFF, 4}}) {
        SCOPED_TRACE(c.mode);
        const ModeInfoBlock raw = RawModeInfo(c.mode);
        ASSERT_EQ(SV_setMode(c.mode, 0, 0, 1), 1);
        EXPECT_EQ(Ints({device.pixelBits, device.colorMax, device.colorDefault, device.pixelBytes}),
                  Ints({c.bits, c.colorMax, c.colorDefault, c.pixelBytes}));
        EXPECT_EQ(Ints({device.lastX, device.lastY, device.lineBytes, device.lastPage}),
                  Ints({raw.XResolution - 1, raw.YResolution - 1, raw.BytesPerScanLine,
                        raw.NumberOfImagePages}));
        EXPECT_EQ(device.frameMemory, Pc().hostPointer(0xA0000));
        EXPECT_EQ(device.putPixelFast, device.putPixel);
        EXPECT_EQ(Pc().adapter().displayMode().width, raw.XResolution);
    }
    ASSERT_EQ(SV_setMode(0x110, 0, 0, 1), 1); // 5-5-5 from bit 10
    EXPECT_EQ(Ints({device.redMask, device.redPosition, device.redLoss, device.greenMask,
                    device.greenPosition, device.blueMask, device.bluePosition}),
              Ints({31, 10, 3, 31, 5, 31, 0}));
    ASSERT_EQ(SV_setMode(0x101, 0, 0, 1), 1); // 3-3-2, the banked routines
    EXPECT_EQ(Ints({device.redMask, device.redPosition, device.greenMask, device.greenPosition,
                    device.blueMask, device.bluePosition}),
              Ints({7, 5, 7, 2, 3, 0}));
    EXPECT_EQ(device.clear, &_SV_clear256);
    EXPECT_EQ(device.line, &_SV_line256);
}

TEST_F(Vbe20Modes, LinearModesUseTheLinearBufferMappedOnce) {
    const SV_DeviceInfo& device = Init();
    ASSERT_EQ(SV_setMode(0x101 | SV_MODE_LINEAR, 0, 0, 1), 1);
    EXPECT_EQ(device.frameMemory, Pc().hostPointer(0xE0000000));
    EXPECT_NE(device.clear, &_SV_clear256);
    SV_setActivePage(2);
    EXPECT_EQ(device.pageOrigin, reinterpret_cast<intptr_t>(device.frameMemory) + 2 * 327680);
    ModeInfoBlock other{};
    other.PhysBasePtr = 0xE0100000;
    EXPECT_EQ(VBE_getLinearPointer(&other), device.frameMemory);
    // A linear-only mode has no window to map.
    ASSERT_EQ(SV_setMode(0x126 | SV_MODE_LINEAR, 0, 0, 1), 1);
    EXPECT_EQ(device.pixelBits, 32);
}

TEST_F(Vbe20Modes, Mode13hIsSetThoughNotDescribed) {
    const SV_DeviceInfo& device = Init();
    SV_ModeInfo info{};
    EXPECT_EQ(SV_getModeInfo(0x13, &info), 0);
    ASSERT_EQ(SV_setMode(0x13, 0, 0, 1), 1);
    EXPECT_EQ(Ints({device.lastX, device.lastY, device.lineBytes, device.pixelBits}),
              Ints({319, 199, 320, 8}));
    EXPECT_EQ(device.frameMemory, Pc().hostPointer(0xA0000));
    EXPECT_TRUE(gMode.vgaCompatible);
    EXPECT_EQ(Pc().adapter().displayMode().kind, pcemu::DisplayMode::Kind::Vga256);
    ASSERT_EQ(SV_setMode(0x2101, 0, 0, 1), 1); // the multi-buffer flag is ignored
    EXPECT_EQ(Pc().adapter().displayMode().width, 640);
}

// Modes the library cannot draw in are refused before the BIOS is asked,
// and the record keeps the mode set before.
TEST_F(Vbe20Modes, UndrawableModesAreRefused) {
    const SV_DeviceInfo& device = Init();
    ASSERT_EQ(SV_setMode(0x100, 0, 0, 1), 1);
    const SV_DeviceInfo before = device;
    BiosFilter filter(nullptr, [](pcemu::CpuRegs& r, const pcemu::CpuRegs& in) {
        auto* m = reinterpret_cast<ModeInfoBlock*>(Pc().hostPointer(BiosFilter::BufferOf(r)));
        if (in.ax() == 0x4F01 && in.cx() == 0x101) m->WinGranularity = 48;
        if (in.ax() == 0x4F01 && in.cx() == 0x103) m->BitsPerPixel = 12;
    });
    for (int32_t mode :
         {0x0F, 0x108, 0x102 | SV_MODE_LINEAR, 0x126, 0x1FF, 0x101, 0x103, 0x103 | SV_MODE_LINEAR})
        EXPECT_EQ(SV_setMode(mode, 0, 0, 1), 0) << std::hex << mode;
    EXPECT_EQ(filter.count(0x4F02), 0u);
    EXPECT_EQ(std::memcmp(&before, &device, sizeof before), 0);
    // Through the linear buffer the window's granularity does not matter.
    EXPECT_EQ(SV_setMode(0x101 | SV_MODE_LINEAR, 0, 0, 1), 1);
}

TEST_F(Vbe20Modes, VirtualWidthTakesTheLinesVideoMemoryHolds) {
    const SV_DeviceInfo& device = Init();
    ASSERT_EQ(SV_setVirtualMode(0x101, 1024, 2000, 0, 0, 1), 1);
    EXPECT_EQ(Ints({device.lineBytes, device.lastX, device.lastY}), Ints({1024, 1023, 4095}));
    EXPECT_EQ(gMode.pageSize, 327680); // the physical mode's
    EXPECT_EQ(SV_setVirtualMode(0x101, 60000, 100, 0, 0, 1), 0);
    EXPECT_EQ(Pc().adapter().displayMode().kind, pcemu::DisplayMode::Kind::Text);
}

// Mapped over the video memory there is (1 MB), not 4 MB.
TEST_F(SmallVramModes, LinearBufferOfOneMegabyte) {
    if (Pc().space().vramSize() != 1024 * 1024) GTEST_SKIP() << "needs 1 MB of video memory";
    Init();
    EXPECT_EQ(SV_setMode(0x101 | SV_MODE_LINEAR, 0, 0, 1), 1);
}

uint8_t TextRows() {
    RealRegs r = {};
    r.x.ax = 0x1130;
    TB_int86(0x10, &r, &r);
    return r.h.dl + 1;
}

void TextMode(bool fiftyLines) {
    RealRegs r = {};
    r.x.ax = 0x0003;
    TB_int86(0x10, &r, &r);
    r.x.ax = 0x1112; // the 8 x 8 font
    if (fiftyLines) TB_int86(0x10, &r, &r);
}

TEST_F(Vbe20Modes, RestoreBringsBackTheTextLinesLeft) {
    Init();
    TextMode(true);
    ASSERT_EQ(TextRows(), 50);
    ASSERT_EQ(SV_setMode(0x101, 0, 0, 1), 1);
    ASSERT_EQ(SV_setMode(0x111, 0, 0, 1), 1); // from graphics: still 50 to come back to
    SV_restoreMode();
    EXPECT_EQ(TextRows(), 50);
    EXPECT_EQ(gMode.pmSetBank, nullptr); // went with the table's copy
    TextMode(false);
    ASSERT_EQ(SV_setMode(0x101, 0, 0, 1), 1);
    SV_restoreMode();
    EXPECT_EQ(TextRows(), 25);
}

} // namespace
} // namespace vidlib32_test
