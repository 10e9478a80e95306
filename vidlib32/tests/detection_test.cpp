// Detection and mode information through the real interrupt 10h path: the
// version fix-up, the relocated strings and mode list and the bounds of
// their area, the fix-ups of old BIOSes' mode information, page sizes and
// counts, and what the real ROMs report.
#include "bios_filter.h"
#include "bios_suite.h"
#include "vbe/records.h"

#include <vector>

namespace vidlib32_test {
namespace {

using vidlib32::ModeInfoBlock;
using vidlib32::VbeInfoBlock;

constexpr uint32_t kStringArea = 256;

std::vector<uint16_t> FlatModeList(uint32_t guest) {
    std::vector<uint16_t> modes;
    const auto* at = reinterpret_cast<const uint16_t*>(Pc().hostPointer(guest));
    while (*at != 0xFFFF && modes.size() < 200)
        modes.push_back(*at++);
    return modes;
}

std::vector<uint16_t> RealModeList(uint32_t farPointer) {
    return FlatModeList((farPointer >> 16) * 16 + (farPointer & 0xFFFF));
}

VbeInfoBlock Detect() {
    VbeInfoBlock info{};
    EXPECT_NE(VBE_detect(&info), 0);
    return info;
}

ModeInfoBlock ModeInfo(uint16_t mode) {
    ModeInfoBlock info{};
    EXPECT_EQ(VBE_getModeInfo(mode, &info), 1) << std::hex << mode;
    return info;
}

VIDLIB32_SUITE(Vbe20Detection, "vbe20");
VIDLIB32_SUITE(NoVendorDetection, "vbe20-novendor");
VIDLIB32_SUITE(Vbe12Detection, "vbe12");
VIDLIB32_SUITE(NoVbeDetection, "novbe");
VIDLIB32_SUITE(BochsDetection, "rom:bochs");
VIDLIB32_SUITE(SeaBiosDetection, "rom:seabios");

TEST_F(Vbe20Detection, CopiesStringsAndListOneAfterAnotherAtFlatAddresses) {
    const VbeInfoBlock raw = RawInfoBlock();
    SV_initRMBuf();
    const VbeInfoBlock info = Detect();
    EXPECT_EQ(info.VbeVersion, 0x0200);
    EXPECT_EQ(std::string(info.VbeSignature, 4), "VESA");
    // Each copy starts right after the one before it, in guest memory.
    const uint32_t area = info.OemStringPtr;
    const std::string oem = RealString(raw.OemStringPtr);
    EXPECT_EQ(FlatString(area), oem);
    EXPECT_EQ(info.OemVendorNamePtr, area + oem.size() + 1);
    EXPECT_EQ(FlatString(info.OemVendorNamePtr), RealString(raw.OemVendorNamePtr));
    EXPECT_EQ(FlatString(info.OemProductNamePtr), RealString(raw.OemProductNamePtr));
    EXPECT_EQ(FlatString(info.OemProductRevPtr), RealString(raw.OemProductRevPtr));
    EXPECT_EQ(info.VideoModePtr,
              info.OemProductRevPtr + FlatString(info.OemProductRevPtr).size() + 1);
    EXPECT_EQ(FlatModeList(info.VideoModePtr), RealModeList(raw.VideoModePtr));
    EXPECT_GE(area, pcemu::kGuestHeapStart);
}

TEST_F(Vbe20Detection, BlockCallBeforeAnyBufferEndsWithTheMessage) {
    EXPECT_EXIT(
        {
            SV_exit();
            VbeInfoBlock info{};
            VBE_detect(&info);
        },
        ::testing::ExitedWithCode(1),
        "VESAVBE Fatal Error!: You \\*MUST\\* call VBE_init\\(\\) before you can call the "
        "VESAVBE module!");
    EXPECT_EXIT(VBE_init(511, 8, 0, 0x2000, 0), ::testing::ExitedWithCode(1),
                "VESAVBE Fatal Error!: Real mode block must be at least 512 bytes in length!");
}

TEST_F(Vbe20Detection, PaletteLargerThanTheBufferIsRefused) {
    SV_initRMBuf(); // 1024 bytes: 256 entries
    std::vector<uint8_t> palette(4 * 257, 0x3F);
    EXPECT_EQ(VBE_setPalette(0, 256, palette.data(), 0), 1);
    EXPECT_EQ(VBE_setPalette(0, 257, palette.data(), 0), 0);
    EXPECT_EQ(VBE_setPalette(0, -1, palette.data(), 0), 0);
}

TEST_F(NoVendorDetection, TwoPointZeroWithoutVendorIsOnePointTwoWithoutItsStrings) {
    const VbeInfoBlock raw = RawInfoBlock();
    ASSERT_EQ(raw.VbeVersion, 0x0200);
    ASSERT_EQ(raw.OemVendorNamePtr, 0u);
    SV_initRMBuf();
    VbeInfoBlock info{};
    EXPECT_EQ(VBE_detect(&info), 0x0102);
    EXPECT_EQ(info.VbeVersion, 0x0102);
    // The 2.0 string pointers are left as the BIOS gave them, and the mode
    // list follows the OEM string directly.
    EXPECT_EQ(info.OemProductNamePtr, raw.OemProductNamePtr);
    EXPECT_EQ(info.OemProductRevPtr, raw.OemProductRevPtr);
    EXPECT_EQ(info.VideoModePtr, info.OemStringPtr + RealString(raw.OemStringPtr).size() + 1);
    EXPECT_EQ(FlatModeList(info.VideoModePtr), RealModeList(raw.VideoModePtr));
}

TEST_F(NoVendorDetection, SixteenBitModeWithOneReservedBitIsFifteenBits) {
    SV_initRMBuf();
    Detect();
    ASSERT_EQ(RawModeInfo(0x110).BitsPerPixel, 16);
    ASSERT_EQ(RawModeInfo(0x110).RsvdMaskSize, 1);
    EXPECT_EQ(ModeInfo(0x110).BitsPerPixel, 15);
    EXPECT_EQ(ModeInfo(0x111).BitsPerPixel, 16); // 5-6-5: no reserved bit
}

TEST_F(Vbe12Detection, PackedHiColourModesReadBackAsDirectColour) {
    SV_initRMBuf();
    Detect();
    struct Expected {
        uint16_t mode;
        uint8_t bits, r, rp, g, gp, b, bp, x, xp;
    };
    for (const Expected& e : {Expected{0x111, 16, 5, 11, 6, 5, 5, 0, 0, 0},
                              Expected{0x110, 15, 5, 10, 5, 5, 5, 0, 1, 15},
                              Expected{0x112, 24, 8, 16, 8, 8, 8, 0, 0, 0}}) {
        SCOPED_TRACE(e.mode);
        ASSERT_EQ(RawModeInfo(e.mode).MemoryModel, vidlib32::kModelPacked);
        const ModeInfoBlock m = ModeInfo(e.mode);
        EXPECT_EQ(m.MemoryModel, vidlib32::kModelDirect);
        EXPECT_EQ(m.BitsPerPixel, e.bits);
        EXPECT_EQ((std::vector<int>{m.RedMaskSize, m.RedFieldPosition, m.GreenMaskSize,
                                    m.GreenFieldPosition, m.BlueMaskSize, m.BlueFieldPosition,
                                    m.RsvdMaskSize, m.RsvdFieldPosition}),
                  (std::vector<int>{e.r, e.rp, e.g, e.gp, e.b, e.bp, e.x, e.xp}));
    }
}

// 1 MB of video memory, no page counts from the BIOS.
TEST_F(Vbe12Detection, PageCountsComeFromVideoMemory) {
    SV_initRMBuf();
    Detect();
    ASSERT_EQ(RawModeInfo(0x101).NumberOfImagePages, 0);
    EXPECT_EQ(ModeInfo(0x101).NumberOfImagePages, 2); // 1 048 576 / 327 680 - 1

    // 640 x 350 x 4 (80 bytes a line): 1 048 576 / 4 / 32 768 - 1 = 7; and a
    // mode larger than video memory gets no further page, not 255.
    BiosFilter filter(nullptr, [](pcemu::CpuRegs& r, const pcemu::CpuRegs& in) {
        if (in.ax() != 0x4F01) return;
        auto* m = reinterpret_cast<ModeInfoBlock*>(Pc().hostPointer(BiosFilter::BufferOf(r)));
        if (in.cx() == 0x102) {
            m->XResolution = 640;
            m->YResolution = 350;
            m->BytesPerScanLine = 80;
        }
        if (in.cx() == 0x103) m->YResolution = 2000; // 1.6 MB
    });
    EXPECT_EQ(ModeInfo(0x102).NumberOfImagePages, 7);
    EXPECT_EQ(ModeInfo(0x103).NumberOfImagePages, 0);
}

TEST_F(Vbe12Detection, TextModeThreeTakesTheStandardModeSet) {
    SV_initRMBuf();
    Detect();
    BiosFilter filter;
    EXPECT_EQ(VBE_setVideoMode(3), 1);
    ASSERT_EQ(filter.calls().size(), 1u);
    EXPECT_EQ(filter.calls()[0].ax(), 0x0003);
    EXPECT_EQ(VBE_setVideoMode(0x101), 1);
    EXPECT_EQ(filter.count(0x4F02), 1u);
}

TEST(PageSize, RoundsToBanksOrToSmallPlanarPages) {
    auto page = [](uint16_t bytesPerLine, uint16_t lines, uint8_t bits) {
        ModeInfoBlock m{};
        m.BytesPerScanLine = bytesPerLine;
        m.YResolution = lines;
        m.BitsPerPixel = bits;
        return VBE_getPageSize(&m);
    };
    EXPECT_EQ(page(640, 480, 8), 327680);
    EXPECT_EQ(page(80, 350, 4), 32768);
    EXPECT_EQ(page(80, 480, 4), 65536);
    EXPECT_EQ(page(80, 200, 4), 16384);
    EXPECT_EQ(page(40, 200, 4), 8192);
    EXPECT_EQ(page(640, 400, 8), 262144);
    EXPECT_EQ(page(2400, 600, 24), 1441792);
}

TEST_F(NoVbeDetection, NoBiosNoRecord) {
    EXPECT_EQ(SV_init(0), nullptr);
    EXPECT_EQ(SV_init(1), nullptr);
}

// OEM string (70), vendor (24), product (18) and revision strings with 67
// modes exceed 256 bytes: the whole list is kept and the last string cut.
TEST_F(BochsDetection, LongStringsAreCutSoTheWholeModeListFits) {
    const VbeInfoBlock raw = RawInfoBlock();
    const std::vector<uint16_t> modes = RealModeList(raw.VideoModePtr);
    ASSERT_EQ(modes.size(), 67u);
    SV_initRMBuf();
    const VbeInfoBlock info = Detect();
    EXPECT_EQ(info.VbeVersion, 0x0200);
    EXPECT_EQ(FlatString(info.OemStringPtr), RealString(raw.OemStringPtr));
    EXPECT_EQ(FlatString(info.OemVendorNamePtr), RealString(raw.OemVendorNamePtr));
    EXPECT_EQ(FlatString(info.OemProductNamePtr), RealString(raw.OemProductNamePtr));
    const std::string revision = RealString(raw.OemProductRevPtr);
    const std::string cut = FlatString(info.OemProductRevPtr);
    EXPECT_LT(cut.size(), revision.size());
    EXPECT_EQ(cut, revision.substr(0, cut.size()));
    EXPECT_EQ(FlatModeList(info.VideoModePtr), modes);
    // The list's terminator is the area's last word.
    EXPECT_EQ(info.VideoModePtr + 2 * (modes.size() + 1), info.OemStringPtr + kStringArea);
}

TEST_F(SeaBiosDetection, ThreePointZeroFitsWhole) {
    const VbeInfoBlock raw = RawInfoBlock();
    SV_initRMBuf();
    const VbeInfoBlock info = Detect();
    EXPECT_EQ(info.VbeVersion, 0x0300);
    EXPECT_EQ(FlatString(info.OemStringPtr), "SeaBIOS VBE(C) 2011");
    EXPECT_EQ(FlatString(info.OemProductRevPtr), RealString(raw.OemProductRevPtr));
    EXPECT_EQ(FlatModeList(info.VideoModePtr), RealModeList(raw.VideoModePtr));
    EXPECT_EQ(VBE_getSetBank(), nullptr); // no protected-mode table
}

// A BIOS whose strings and list cannot all fit: the list is cut to what
// leaves each string its terminator, and nothing is written past 256 bytes.
TEST_F(Vbe20Detection, ListTooLongForTheAreaIsCut) {
    BiosFilter filter([&filter](pcemu::CpuRegs& r) {
        if (r.ax() != 0x4F00) return false;
        const uint32_t list = filter.realBlock(2 * 151);
        const uint32_t text = filter.realBlock(301);
        for (uint32_t i = 0; i < 150; ++i)
            Pc().memory().write16(list + 2 * i, 0x101);
        Pc().memory().write16(list + 300, 0xFFFF);
        for (uint32_t i = 0; i < 300; ++i)
            Pc().memory().write8(text + i, 'A');
        Pc().memory().write8(text + 300, 0);
        VbeInfoBlock block{};
        std::memcpy(block.VbeSignature, "VESA", 4);
        block.VbeVersion = 0x0200;
        block.OemStringPtr = block.OemVendorNamePtr = block.OemProductNamePtr =
            block.OemProductRevPtr = (text >> 4) << 16;
        block.VideoModePtr = (list >> 4) << 16;
        block.TotalMemory = 64;
        Pc().memory().writeBlock(BiosFilter::BufferOf(r), &block, sizeof block);
        r.eax = 0x004F;
        return true;
    });
    SV_initRMBuf();
    const VbeInfoBlock info = Detect();
    EXPECT_EQ(FlatString(info.OemStringPtr), "");
    EXPECT_EQ(info.OemProductRevPtr, info.OemStringPtr + 3);
    EXPECT_EQ(FlatModeList(info.VideoModePtr).size(), (kStringArea - 4) / 2 - 1);
    EXPECT_EQ(info.VideoModePtr + 2 * ((kStringArea - 4) / 2), info.OemStringPtr + kStringArea);

    // The device list keeps 99 of them and its terminator.
    const SV_DeviceInfo* device = SV_init(0);
    ASSERT_NE(device, nullptr);
    size_t n = 0;
    while (device->modes[n] != 0xFFFF)
        ++n;
    EXPECT_EQ(n, 99u);
    EXPECT_STREQ(device->oemName, "");
}

} // namespace
} // namespace vidlib32_test
