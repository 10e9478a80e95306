// Mode enumeration and mode setting: the device record after SV_init, the
// mode list, mode names, what SV_setMode puts in the record for each depth,
// the modes it refuses, and the text mode it leaves behind.
#include "bios_filter.h"
#include "bios_suite.h"
#include "state.h"
#include "vbe/records.h"

#include <vector>

namespace vidlib32_test {
namespace {

using vidlib32::gMode;
using vidlib32::ModeInfoBlock;

std::vector<uint16_t> Modes(const SV_DeviceInfo& device) {
    std::vector<uint16_t> modes;
    for (const uint16_t* m = device.modes; *m != 0xFFFF; ++m)
        modes.push_back(*m);
    return modes;
}

const SV_DeviceInfo& Init() {
    const SV_DeviceInfo* device = SV_init(0);
    EXPECT_NE(device, nullptr);
    return *device;
}

VIDLIB32_SUITE(Vbe20Modes, "vbe20");
VIDLIB32_SUITE(SmallVramModes, "vbe20");
VIDLIB32_SUITE(Vbe12Modes, "vbe12");
VIDLIB32_SUITE(BochsModes, "rom:bochs");
VIDLIB32_SUITE(SeaBiosModes, "rom:seabios");
VIDLIB32_SUITE(ModeName, "vbe20");

TEST_F(Vbe20Modes, RecordDescribesTheBiosAndListsGraphicsModesFrom100h) {
    const vidlib32::VbeInfoBlock raw = RawInfoBlock();
    const SV_DeviceInfo& device = Init();
    EXPECT_EQ(device.version, 0x0200);
    EXPECT_EQ(device.memoryKB, raw.TotalMemory * 64);
    EXPECT_STREQ(device.oemName, RealString(raw.OemStringPtr).c_str());
    EXPECT_EQ(device.linearBase, 0xE0000000u);
    EXPECT_EQ(device.hasWideDac, 1);
    EXPECT_EQ(device.hasMultiBuffer, 1);
    EXPECT_EQ(device.hasVirtualScroll, 1);
    EXPECT_EQ(device.canVirtualize, 1);
    EXPECT_EQ(device.accelDriver, nullptr);
    // The BIOS lists 3, 12h, 13h and the text mode 108h as well.
    std::vector<uint16_t> expected;
    const auto* at = reinterpret_cast<const uint16_t*>(
        Pc().hostPointer((raw.VideoModePtr >> 16) * 16 + (raw.VideoModePtr & 0xFFFF)));
    for (; *at != 0xFFFF; ++at)
        if (*at >= 0x100 && (RawModeInfo(*at).ModeAttributes & vidlib32::kModeGraphics))
            expected.push_back(*at);
    const std::vector<uint16_t> modes = Modes(device);
    EXPECT_EQ(modes, expected);
    for (uint16_t dropped : {0x03, 0x12, 0x13, 0x108})
        EXPECT_EQ(std::count(modes.begin(), modes.end(), dropped), 0) << dropped;
}

TEST_F(Vbe12Modes, OldBiosWithoutLinearBufferOrVirtualBuffer) {
    const SV_DeviceInfo& device = Init();
    EXPECT_EQ(device.version, 0x0102);
    EXPECT_EQ(device.memoryKB, 1024);
    EXPECT_EQ(device.linearBase, 0u);
    EXPECT_EQ(device.canVirtualize, 0);
    EXPECT_EQ(device.hasWideDac, 0);
    // Listed but larger than 1 MB: not supported, so not kept.
    const std::vector<uint16_t> modes = Modes(device);
    EXPECT_EQ(std::count(modes.begin(), modes.end(), 0x107), 0);
    EXPECT_EQ(std::count(modes.begin(), modes.end(), 0x101), 1);
    EXPECT_EQ(SV_setMode(0x101 | SV_MODE_LINEAR, 0, 0, 1), 0); // no linear buffer
}

TEST_F(BochsModes, AllSixtySevenGraphicsModesAreListed) {
    const SV_DeviceInfo& device = Init();
    EXPECT_EQ(Modes(device).size(), 67u);
    EXPECT_STREQ(device.oemName,
                 "Bochs VBE (C) 2002-2021 http://savannah.nongnu.org/projects/vgabios/");
    EXPECT_EQ(device.canVirtualize, 1);
}

TEST_F(SeaBiosModes, VgaModesOfTheListAreDropped) {
    const SV_DeviceInfo& device = Init();
    EXPECT_EQ(device.version, 0x0300);
    const std::vector<uint16_t> modes = Modes(device);
    EXPECT_FALSE(modes.empty());
    for (uint16_t mode : modes)
        EXPECT_GE(mode, 0x100);
    EXPECT_EQ(device.canVirtualize, 0); // no protected-mode table
}

TEST_F(ModeName, TextsAndResults) {
    char name[80];
    auto modeInfo = [](uint16_t mode, uint16_t attributes, int16_t x, int16_t y, int16_t bits,
                       uint16_t pages) {
        SV_ModeInfo info{};
        info.mode = mode;
        info.attributes = attributes;
        info.xRes = x;
        info.yRes = y;
        info.pixelBits = bits;
        info.pages = pages;
        return info;
    };
    const SV_ModeInfo both =
        modeInfo(0x101, SV_ATTR_VBE | SV_ATTR_BANKED | SV_ATTR_LINEAR, 640, 480, 8, 3);
    EXPECT_EQ(SV_getModeName(name, &both, 0x101, 1), 0x4101);
    EXPECT_STREQ(name, " 640 x  480 8 bit ( 3 page, Banked+Linear)");
    EXPECT_EQ(SV_getModeName(name, &both, 0x101, 0), 0x101);
    EXPECT_STREQ(name, " 640 x  480 8 bit ( 3 page, Banked Only)");

    const SV_ModeInfo linearOnly =
        modeInfo(0x126, SV_ATTR_VBE | SV_ATTR_LINEAR | SV_ATTR_NONVGA, 1024, 768, 32, 1);
    std::memcpy(name, "untouched", 10);
    EXPECT_EQ(SV_getModeName(name, &linearOnly, 0x126, 0), 0);
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(SV_getModeName(name, &linearOnly, 0x126, 1), 0x4126);
    EXPECT_STREQ(name, "1024 x  768 32 bit ( 1 page, Linear Only, NonVGA)");

    const SV_ModeInfo accelerated =
        modeInfo(0x100, SV_ATTR_BANKED | SV_ATTR_ACCELERATED, 640, 400, 8, 12);
    EXPECT_EQ(SV_getModeName(name, &accelerated, 0x100, 1), 0x100);
    EXPECT_STREQ(name, " 640 x  400 8 bit (12 page, Banked Only, Accelerated)");

    // The widest numbers and every suffix still fit the 70 bytes.
    const SV_ModeInfo widest = modeInfo(0x1FF, 0xFFFF, -1, -1, -1, 0xFFFF);
    char guarded[80];
    std::memset(guarded, 'x', sizeof guarded);
    SV_getModeName(guarded, &widest, 0x1FF, 1);
    EXPECT_EQ(std::strlen(guarded), 69u);
    EXPECT_EQ(guarded[70], 'x');
}

TEST_F(ModeName, ModeInfoOfTheBios) {
    Init();
    SV_ModeInfo info{};
    EXPECT_EQ(SV_getModeInfo(0x13, &info), 0);
    EXPECT_EQ(SV_getModeInfo(0x108, &info), 0); // text
    ASSERT_EQ(SV_getModeInfo(0x4111, &info), 1);
    EXPECT_EQ(info.mode, 0x111);
    EXPECT_EQ(info.attributes, SV_ATTR_VBE | SV_ATTR_BANKED | SV_ATTR_LINEAR | SV_ATTR_MULTIBUFFER |
                                   SV_ATTR_VIRTUALSCROLL);
    EXPECT_EQ(info.pages, RawModeInfo(0x111).NumberOfImagePages + 1);
    EXPECT_EQ((std::vector<int>{info.xRes, info.yRes, info.lineBytes, info.pixelBits}),
              (std::vector<int>{640, 480, 1280, 16}));
    EXPECT_EQ((std::vector<int>{info.redSize, info.redPos, info.greenSize, info.greenPos,
                                info.blueSize, info.bluePos}),
              (std::vector<int>{5, 11, 6, 5, 5, 0}));
}

struct DepthCase {
    uint16_t mode;
    int32_t bits, colorMax, colorDefault, pixelBytes;
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
        EXPECT_EQ(device.pixelBits, c.bits);
        EXPECT_EQ(device.colorMax, c.colorMax);
        EXPECT_EQ(device.colorDefault, c.colorDefault);
        EXPECT_EQ(device.pixelBytes, c.pixelBytes);
        EXPECT_EQ(device.lastX, raw.XResolution - 1);
        EXPECT_EQ(device.lastY, raw.YResolution - 1);
        EXPECT_EQ(device.lineBytes, raw.BytesPerScanLine);
        EXPECT_EQ(device.lastPage, raw.NumberOfImagePages);
        EXPECT_EQ(device.frameMemory, Pc().hostPointer(0xA0000));
        EXPECT_EQ(device.virtualActive, 0);
        EXPECT_EQ(device.putPixelFast, device.putPixel);
        EXPECT_EQ(device.lineFast, device.line);
        EXPECT_NE(device.beginPixel, nullptr);
        EXPECT_EQ(Pc().adapter().displayMode().width, raw.XResolution);
    }
    // The 15-bit format: 5-5-5 from bit 10.
    EXPECT_EQ(SV_setMode(0x110, 0, 0, 1), 1);
    EXPECT_EQ((std::vector<int>{device.redMask, device.redPosition, device.redLoss,
                                device.greenMask, device.greenPosition, device.greenLoss,
                                device.blueMask, device.bluePosition, device.blueLoss}),
              (std::vector<int>{31, 10, 3, 31, 5, 3, 31, 0, 3}));
    EXPECT_EQ(device.clear, &_SV_clear32k);
    // 3-3-2 in 256 colours, and the banked routines of the depth.
    EXPECT_EQ(SV_setMode(0x101, 0, 0, 1), 1);
    EXPECT_EQ((std::vector<int>{device.redMask, device.redPosition, device.greenMask,
                                device.greenPosition, device.blueMask, device.bluePosition}),
              (std::vector<int>{7, 5, 7, 2, 3, 0}));
    EXPECT_EQ(device.clear, &_SV_clear256);
    EXPECT_EQ(device.putPixel, &_SV_putPixel256);
    EXPECT_EQ(device.line, &_SV_line256);
}

TEST_F(Vbe20Modes, LinearModesUseTheLinearBufferAndItsRoutines) {
    const SV_DeviceInfo& device = Init();
    ASSERT_EQ(SV_setMode(0x101 | SV_MODE_LINEAR, 0, 0, 1), 1);
    EXPECT_EQ(device.frameMemory, Pc().hostPointer(0xE0000000));
    EXPECT_NE(device.clear, &_SV_clear256);
    SV_setActivePage(2);
    EXPECT_EQ(device.pageOrigin, reinterpret_cast<intptr_t>(device.frameMemory) + 2 * 327680);
    // The mapping is made once and kept, whatever the mode.
    ASSERT_EQ(SV_setMode(0x111 | SV_MODE_LINEAR, 0, 0, 1), 1);
    EXPECT_EQ(device.frameMemory, Pc().hostPointer(0xE0000000));
    ModeInfoBlock other{};
    other.PhysBasePtr = 0xE0100000;
    EXPECT_EQ(VBE_getLinearPointer(&other), device.frameMemory);
}

TEST_F(Vbe20Modes, Mode13hIsSetThoughNotDescribed) {
    const SV_DeviceInfo& device = Init();
    SV_ModeInfo info{};
    EXPECT_EQ(SV_getModeInfo(0x13, &info), 0);
    ASSERT_EQ(SV_setMode(0x13, 0, 0, 1), 1);
    EXPECT_EQ((std::vector<int>{device.lastX, device.lastY, device.lineBytes, device.pixelBits,
                                device.lastPage}),
              (std::vector<int>{319, 199, 320, 8, 0}));
    EXPECT_EQ(device.frameMemory, Pc().hostPointer(0xA0000));
    EXPECT_TRUE(gMode.vgaCompatible);
    EXPECT_EQ(Pc().adapter().displayMode().kind, pcemu::DisplayMode::Kind::Vga256);
}

TEST_F(Vbe20Modes, MultiBufferFlagIsIgnoredAndUnusableModesRefused) {
    const SV_DeviceInfo& device = Init();
    ASSERT_EQ(SV_setMode(0x2101, 0, 0, 1), 1);
    EXPECT_EQ(Pc().adapter().displayMode().width, 640);
    const SV_DeviceInfo before = device;
    BiosFilter filter;
    EXPECT_EQ(SV_setMode(0x0F, 0, 0, 1), 0);                   // a VGA mode
    EXPECT_EQ(SV_setMode(0x108, 0, 0, 1), 0);                  // a text mode
    EXPECT_EQ(SV_setMode(0x102 | SV_MODE_LINEAR, 0, 0, 1), 0); // planes through the linear buffer
    EXPECT_EQ(SV_setMode(0x126, 0, 0, 1), 0);                  // linear only, asked banked
    EXPECT_EQ(SV_setMode(0x1FF, 0, 0, 1), 0);                  // unknown
    EXPECT_EQ(filter.count(0x4F02), 0u);                       // refused before the BIOS is asked
    EXPECT_EQ(std::memcmp(&before, &device, sizeof before), 0);
    EXPECT_EQ(SV_setMode(0x126 | SV_MODE_LINEAR, 0, 0, 1), 1);
}

// Window granularities that do not divide 64 KB by a power of two, and
// depths without routines, are refused; the record keeps the mode before.
TEST_F(Vbe20Modes, OddGranularityAndUnknownDepthAreRefused) {
    const SV_DeviceInfo& device = Init();
    ASSERT_EQ(SV_setMode(0x100, 0, 0, 1), 1);
    BiosFilter filter(nullptr, [](pcemu::CpuRegs& r, const pcemu::CpuRegs& in) {
        if (in.ax() != 0x4F01) return;
        auto* m = reinterpret_cast<ModeInfoBlock*>(Pc().hostPointer(BiosFilter::BufferOf(r)));
        if (in.cx() == 0x101) m->WinGranularity = 48;
        if (in.cx() == 0x103) m->BitsPerPixel = 12;
    });
    EXPECT_EQ(SV_setMode(0x101, 0, 0, 1), 0);
    EXPECT_EQ(SV_setMode(0x103, 0, 0, 1), 0);
    EXPECT_EQ(SV_setMode(0x103 | SV_MODE_LINEAR, 0, 0, 1), 0);
    EXPECT_EQ(device.lastY, 399);
    EXPECT_EQ(filter.count(0x4F02), 0u);
    // Through the linear buffer the window's granularity does not matter.
    EXPECT_EQ(SV_setMode(0x101 | SV_MODE_LINEAR, 0, 0, 1), 1);
    EXPECT_EQ(device.lastY, 479);
}

TEST_F(Vbe20Modes, WideDacOnlyWhenAskedFor) {
    Init();
    ASSERT_EQ(SV_setMode(0x101, 1, 0, 1), 1);
    EXPECT_FALSE(gMode.dacIs6Bit);
    EXPECT_EQ(Pc().adapter().dacBits(), 8);
    ASSERT_EQ(SV_setMode(0x101, 0, 0, 1), 1);
    EXPECT_TRUE(gMode.dacIs6Bit);
    EXPECT_EQ(Pc().adapter().dacBits(), 6);
}

TEST_F(Vbe20Modes, VirtualWidthTakesTheLinesVideoMemoryHolds) {
    const SV_DeviceInfo& device = Init();
    ASSERT_EQ(SV_setVirtualMode(0x101, 1024, 2000, 0, 0, 1), 1);
    EXPECT_EQ(device.lineBytes, 1024);
    EXPECT_EQ(device.lastX, 1023);
    EXPECT_EQ(device.lastY, 4 * 1024 * 1024 / 1024 - 1);
    EXPECT_EQ(gMode.pageSize, 327680); // the physical mode's
    // A width the BIOS refuses ends in text mode.
    EXPECT_EQ(SV_setVirtualMode(0x101, 60000, 100, 0, 0, 1), 0);
    EXPECT_EQ(Pc().adapter().displayMode().kind, pcemu::DisplayMode::Kind::Text);
}

// The linear buffer is mapped over the video memory there is (1 MB), not 4 MB.
TEST_F(SmallVramModes, LinearBufferOfOneMegabyte) {
    if (Pc().space().vramSize() != 1024 * 1024) GTEST_SKIP() << "needs 1 MB of video memory";
    const SV_DeviceInfo& device = Init();
    ASSERT_EQ(SV_setMode(0x101 | SV_MODE_LINEAR, 0, 0, 1), 1);
    EXPECT_EQ(device.frameMemory, Pc().hostPointer(0xE0000000));
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
    if (!fiftyLines) return;
    r.x.ax = 0x1112;
    r.h.bl = 0;
    TB_int86(0x10, &r, &r);
}

TEST_F(Vbe20Modes, RestoreBringsBackTheTextLinesLeft) {
    Init();
    TextMode(true);
    ASSERT_EQ(TextRows(), 50);
    ASSERT_EQ(SV_setMode(0x101, 0, 0, 1), 1);
    ASSERT_EQ(SV_setMode(0x111, 0, 0, 1), 1); // from graphics: still 50 to come back to
    SV_restoreMode();
    EXPECT_EQ(TextRows(), 50);
    EXPECT_EQ(Pc().adapter().displayMode().height, 400);
    TextMode(false);
    ASSERT_EQ(SV_setMode(0x101, 0, 0, 1), 1);
    SV_restoreMode();
    EXPECT_EQ(TextRows(), 25);
}

TEST_F(Vbe12Modes, RestoreBringsBackFiftyLines) {
    Init();
    TextMode(true);
    ASSERT_EQ(SV_setMode(0x101, 0, 0, 1), 1);
    SV_restoreMode();
    EXPECT_EQ(TextRows(), 50);
}

} // namespace
} // namespace vidlib32_test
