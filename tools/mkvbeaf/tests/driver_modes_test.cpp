// The reference driver's modes: GetVideoModeInfo for each listed mode,
// SetVideoMode with its bytes per line, buffers and virtual screens (the
// adapter's registers and the header's buffer fields), RestoreTextMode
// through the loader's Int86 bridge.
#include "driver_rig.h"

using namespace mkvbeaf_test;

namespace {

class DriverModesTest : public DriverRig {};

struct Expected {
    uint16_t mode, x, y, bpp;
    uint8_t masks[8];
};

TEST_F(DriverModesTest, ModeInfoDescribesEveryListedMode) {
    loadAndInit();
    const Expected some[] = {
        {0x101, 640, 480, 8, {0, 0, 0, 0, 0, 0, 0, 0}},
        {0x110, 640, 480, 15, {5, 10, 5, 5, 5, 0, 1, 15}},
        {0x111, 640, 480, 16, {5, 11, 6, 5, 5, 0, 0, 0}},
        {0x112, 640, 480, 24, {8, 16, 8, 8, 8, 0, 0, 0}},
        {0x124, 640, 480, 32, {8, 16, 8, 8, 8, 0, 8, 24}},
        {0x107, 1280, 1024, 8, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Expected& e : some) {
        AF_ModeInfo info;
        std::memset(&info, 0xAA, sizeof info);
        uint32_t at = put(&info, sizeof info);
        CpuRegs r;
        r.eax = e.mode | AF_SET_LINEAR; // flags do not matter
        r.edi = at;
        ASSERT_EQ(call(&AF_DriverHeader::GetVideoModeInfo, r), 0u) << std::hex << e.mode;
        pc->memory().readBlock(at, &info, sizeof info);
        unsigned bytes = (e.bpp + 7) / 8;
        EXPECT_EQ(info.XResolution, e.x);
        EXPECT_EQ(info.YResolution, e.y);
        EXPECT_EQ(info.BitsPerPixel, e.bpp);
        EXPECT_EQ(info.BytesPerScanLine, e.x * bytes);
        unsigned buffers = 4096u * 1024 / (e.x * bytes * e.y);
        EXPECT_EQ(info.MaxBuffers, buffers) << std::hex << e.mode;
        EXPECT_EQ(std::memcmp(&info.RedMaskSize, e.masks, 8), 0) << std::hex << e.mode;
        uint16_t want = AF_MODE_VIRTUALSCROLL | AF_MODE_BANKED | AF_MODE_LINEAR | AF_MODE_ACCEL2D |
                        AF_MODE_HWCURSOR | (buffers > 1 ? AF_MODE_MULTIBUFFER : 0);
        EXPECT_EQ(info.Attributes, want) << std::hex << e.mode;
        EXPECT_GE(info.MaxScanLineWidth, e.x);
        EXPECT_EQ(info.MaxBytesPerScanLine, info.MaxScanLineWidth * bytes);
        EXPECT_EQ(info.Reserved[0], 0); // the whole record is written
    }
    for (uint32_t unknown : {0x102u, 0x13u, 0x1FFu}) {
        CpuRegs r;
        r.eax = unknown;
        r.edi = scratch;
        EXPECT_NE(call(&AF_DriverHeader::GetVideoModeInfo, r), 0u) << std::hex << unknown;
    }
}

TEST_F(DriverModesTest, ModesThatDoNotFitMemoryAreRefused) {
    boot(1024);
    loadAndInit();
    CpuRegs r;
    r.eax = 0x107; // 1280 x 1024 x 8 needs 1.25 MB
    r.edi = scratch;
    EXPECT_NE(call(&AF_DriverHeader::GetVideoModeInfo, r), 0u);
    EXPECT_NE(setMode(0x107), 0u);
    r.eax = 0x101;
    EXPECT_EQ(call(&AF_DriverHeader::GetVideoModeInfo, r), 0u);
}

TEST_F(DriverModesTest, SetVideoModeProgramsTheAdapterAndTheHeader) {
    loadAndInit();
    uint32_t pitch = 0;
    ASSERT_EQ(setMode(0x101, &pitch), 0u);
    EXPECT_EQ(pitch, 640u);
    EXPECT_EQ(bochs(pcemu::kBochsXRes), 640);
    EXPECT_EQ(bochs(pcemu::kBochsYRes), 480);
    EXPECT_EQ(bochs(pcemu::kBochsBpp), 8);
    EXPECT_TRUE(bochs(pcemu::kBochsEnable) & pcemu::kBochsEnabled);
    EXPECT_EQ(pc->adapter().dacBits(), 8);
    pcemu::DisplayMode shown = pc->adapter().displayMode();
    EXPECT_EQ(shown.kind, pcemu::DisplayMode::Kind::Svga);
    EXPECT_EQ(shown.width, 640);
    const AF_DriverHeader& h = header();
    EXPECT_EQ(h.BufferEndX, 639u);
    EXPECT_EQ(h.BufferEndY, 479u);
    EXPECT_EQ(h.OriginOffset, 0u);
    EXPECT_EQ(h.OffscreenOffset, 640u * 480);
    EXPECT_EQ(h.OffscreenStartY, 480u);
    EXPECT_EQ(h.OffscreenEndY, 4096u * 1024 / 640 - 1);

    // 16 bits per pixel: a 6-bit DAC stays, 2 bytes a pixel.
    ASSERT_EQ(setMode(0x111, &pitch), 0u);
    EXPECT_EQ(pitch, 1280u);
    EXPECT_EQ(pc->adapter().dacBits(), 6);
    EXPECT_EQ(bochs(pcemu::kBochsBpp), 16);
}

TEST_F(DriverModesTest, BuffersAreGivenOnlyWhenAskedForAndWhenTheyFit) {
    loadAndInit();
    uint32_t pitch = 0;
    ASSERT_EQ(setMode(0x101, &pitch, kNone, 3), 0u); // no multi-buffer flag: one buffer
    EXPECT_EQ(header().OffscreenStartY, 480u);
    ASSERT_EQ(setMode(0x101 | AF_SET_MULTIBUFFER, &pitch, kNone, 3), 0u);
    EXPECT_EQ(header().OffscreenOffset, 3u * 640 * 480);
    EXPECT_EQ(header().OffscreenStartY, 3u * 480);
    ASSERT_EQ(setMode(0x101 | AF_SET_MULTIBUFFER, &pitch, kNone, 0), 0u); // at least one
    EXPECT_EQ(header().OffscreenStartY, 480u);

    EXPECT_NE(setMode(0x101 | AF_SET_MULTIBUFFER, &pitch, kNone, 14), 0u); // 13 fit in 4 MB
    EXPECT_EQ(pitch, kNone); // bytes per line come back as they went in
    EXPECT_NE(setMode(0x101 | AF_SET_MULTIBUFFER, &pitch, kNone, 0x40000000), 0u);
    EXPECT_NE(setMode(0x102, &pitch), 0u);
}

TEST_F(DriverModesTest, LongerLinesAndVirtualScreens) {
    loadAndInit();
    uint32_t pitch = 0;
    ASSERT_EQ(setMode(0x111, &pitch, 1500), 0u);
    EXPECT_EQ(pitch, 1500u);
    EXPECT_EQ(bochs(pcemu::kBochsVirtWidth), 750);
    ASSERT_EQ(setMode(0x112, &pitch, 2000), 0u); // 24 bits: whole pixels
    EXPECT_EQ(pitch, 2001u);
    ASSERT_EQ(setMode(0x101, &pitch, 100), 0u); // shorter than the screen: the screen's
    EXPECT_EQ(pitch, 640u);

    ASSERT_EQ(setMode(0x101 | AF_SET_VIRTUALSCROLL, &pitch, kNone, 1, 1024, 1000), 0u);
    EXPECT_EQ(pitch, 1024u);
    EXPECT_EQ(header().BufferEndX, 1023u);
    EXPECT_EQ(header().BufferEndY, 999u);
    EXPECT_EQ(pc->adapter().displayMode().width, 640); // the screen is still 640 wide
    EXPECT_NE(setMode(0x101 | AF_SET_VIRTUALSCROLL, &pitch, kNone, 1, 320, 480), 0u);
    EXPECT_NE(setMode(0x101 | AF_SET_VIRTUALSCROLL, &pitch, kNone, 1, 640, 0x10000), 0u);
    EXPECT_NE(setMode(0x101 | AF_SET_VIRTUALSCROLL, &pitch, kNone, 1, 5000, 480), 0u);
}

TEST_F(DriverModesTest, RestoreTextModeCallsTheBiosThroughTheBridge) {
    loadAndInit();
    ASSERT_EQ(setMode(0x101), 0u);
    CpuRegs cursor;
    cursor.eax = 1;
    call(&AF_DriverHeader::ShowCursor, cursor);
    host->bridgeCalls.clear();
    call(&AF_DriverHeader::RestoreTextMode);
    ASSERT_EQ(host->bridgeCalls.size(), 1u);
    EXPECT_TRUE(host->bridgeCalls[0].interrupt);
    EXPECT_EQ(host->bridgeCalls[0].number, 0x10);
    EXPECT_EQ(host->bridgeCalls[0].ax, 0x0003);
    EXPECT_FALSE(bochs(pcemu::kBochsEnable) & pcemu::kBochsEnabled);
    EXPECT_EQ(pc->memory().read32(pcemu::kAccelRegisterBase + pcemu::kAccelCursorShow), 0u);
    pcemu::DisplayMode shown = pc->adapter().displayMode();
    EXPECT_EQ(shown.kind, pcemu::DisplayMode::Kind::Text);
    EXPECT_EQ(shown.width, 720);

    // Without a bridge the adapter still leaves the mode.
    ASSERT_EQ(setMode(0x101), 0u);
    header().Int86 = 0;
    call(&AF_DriverHeader::RestoreTextMode);
    EXPECT_FALSE(bochs(pcemu::kBochsEnable) & pcemu::kBochsEnabled);
    EXPECT_EQ(host->bridgeCalls.size(), 1u);
}

} // namespace
