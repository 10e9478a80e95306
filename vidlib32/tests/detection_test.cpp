// Detection and mode information through the real interrupt 10h path: the
// version fix-up, the relocated strings and mode list and the bounds of
// their area, old BIOSes' mode information, page sizes and counts, and
// what the real ROMs report.
#include "bios_filter.h"
#include "bios_suite.h"

#include <vector>

namespace vidlib32_test {
namespace {

using vidlib32::ModeInfoBlock;
using vidlib32::VbeInfoBlock;

constexpr uint32_t kStringArea = 256;

std::vector<uint16_t> ModeList(uint32_t guest) {
    return Modes(reinterpret_cast<const uint16_t*>(Pc().hostPointer(guest)));
}

VbeInfoBlock Detect(int32_t version) {
    SV_initRMBuf();
    VbeInfoBlock info{};
    EXPECT_EQ(VBE_detect(&info), version);
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
VIDLIB32_SUITE(BochsDetection, "rom:bochs");
VIDLIB32_SUITE(SeaBiosDetection, "rom:seabios");

TEST_F(Vbe20Detection, CopiesStringsAndListOneAfterAnotherAtFlatAddresses) {
    const VbeInfoBlock raw = RawInfoBlock();
    const VbeInfoBlock info = Detect(0x0200);
    EXPECT_EQ(std::string(info.VbeSignature, 4), "VESA");
    EXPECT_GE(+info.OemStringPtr, pcemu::kGuestHeapStart);
    uint32_t next = info.OemStringPtr;
    // Unary plus reads the packed fields by value.
    for (auto [copy, original] : {std::pair{+info.OemStringPtr, +raw.OemStringPtr},
                                  {+info.OemVendorNamePtr, +raw.OemVendorNamePtr},
                                  {+info.OemProductNamePtr, +raw.OemProductNamePtr},
                                  {+info.OemProductRevPtr, +raw.OemProductRevPtr}}) {
        EXPECT_EQ(copy, next);
        EXPECT_EQ(FlatString(copy), RealString(original));
        next = copy + FlatString(copy).size() + 1;
    }
    EXPECT_EQ(+info.VideoModePtr, next);
    EXPECT_EQ(ModeList(info.VideoModePtr), ModeList(RealLinear(raw.VideoModePtr)));
}

TEST_F(Vbe20Detection, MissingOrSmallTransferBufferEndsWithTheMessage) {
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
    // A palette block larger than the 1024-byte buffer is refused.
    SV_initRMBuf();
    std::vector<uint8_t> palette(4 * 257, 0x3F);
    EXPECT_EQ(VBE_setPalette(0, 256, palette.data(), 0), 1);
    EXPECT_EQ(VBE_setPalette(0, 257, palette.data(), 0), 0);
}

// A 2.0 block without a vendor name: 1.2, its 2.0 strings left alone, the
// list right after the OEM string; and 16 bits with a 1-bit reserved field
// read as 15.
TEST_F(NoVendorDetection, OnePointTwoWithoutTheTwoPointZeroStrings) {
    const VbeInfoBlock raw = RawInfoBlock();
    ASSERT_EQ(+raw.VbeVersion, 0x0200);
    const VbeInfoBlock info = Detect(0x0102);
    EXPECT_EQ(+info.VbeVersion, 0x0102);
    EXPECT_EQ(+info.OemProductNamePtr, +raw.OemProductNamePtr);
    EXPECT_EQ(+info.OemProductRevPtr, +raw.OemProductRevPtr);
    EXPECT_EQ(+info.VideoModePtr, info.OemStringPtr + RealString(raw.OemStringPtr).size() + 1);

    ASSERT_EQ(RawModeInfo(0x110).BitsPerPixel, 16);
    ASSERT_EQ(RawModeInfo(0x110).RsvdMaskSize, 1);
    EXPECT_EQ(ModeInfo(0x110).BitsPerPixel, 15);
    EXPECT_EQ(ModeInfo(0x111).BitsPerPixel, 16);
}

TEST_F(Vbe12Detection, PackedHiColourReadsBackAsDirectColour) {
    Detect(0x0102);
    ASSERT_EQ(RawModeInfo(0x111).MemoryModel, vidlib32::kModelPacked);
    const ModeInfoBlock m = ModeInfo(0x111);
    EXPECT_EQ(m.MemoryModel, vidlib32::kModelDirect);
    EXPECT_EQ(
        (std::vector<int>{m.RedMaskSize, m.RedFieldPosition, m.GreenMaskSize, m.GreenFieldPosition,
                          m.BlueMaskSize, m.BlueFieldPosition, m.RsvdMaskSize}),
        (std::vector<int>{5, 11, 6, 5, 5, 0, 0}));
    EXPECT_EQ(ModeInfo(0x110).BitsPerPixel, 15); // 1-5-5-5 filled in, then read as 15
    EXPECT_EQ(ModeInfo(0x112).RedFieldPosition, 16);
}

// 1 MB of video memory and no page counts from the BIOS.
TEST_F(Vbe12Detection, PageCountsComeFromVideoMemory) {
    Detect(0x0102);
    ASSERT_EQ(RawModeInfo(0x101).NumberOfImagePages, 0);
    EXPECT_EQ(ModeInfo(0x101).NumberOfImagePages, 2); // 1 048 576 / 327 680 - 1
    BiosFilter filter(nullptr, [](pcemu::CpuRegs& r, const pcemu::CpuRegs& in) {
        auto* m = reinterpret_cast<ModeInfoBlock*>(Pc().hostPointer(BiosFilter::BufferOf(r)));
        if (in.ax() == 0x4F01 && in.cx() == 0x102) { // 640 x 350 x 4
            m->XResolution = 640;
            m->YResolution = 350;
            m->BytesPerScanLine = 80;
        }
        if (in.ax() == 0x4F01 && in.cx() == 0x103) m->YResolution = 2000; // 1.6 MB
    });
    EXPECT_EQ(ModeInfo(0x102).NumberOfImagePages, 7); // 1 048 576 / 4 / 32 768 - 1
    EXPECT_EQ(ModeInfo(0x103).NumberOfImagePages, 0); // larger than memory: not 255
    // Text mode 3 through the standard mode set, and it counts as done.
    EXPECT_EQ(VBE_setVideoMode(3), 1);
    EXPECT_EQ(filter.calls().back().ax(), 0x0003);
}

// OEM string (70), vendor (24), product (18) and revision strings and 67
// modes exceed 256 bytes: the list stays whole and the last string is cut.
TEST_F(BochsDetection, LongStringsAreCutSoTheWholeModeListFits) {
    const VbeInfoBlock raw = RawInfoBlock();
    const std::vector<uint16_t> modes = ModeList(RealLinear(raw.VideoModePtr));
    ASSERT_EQ(modes.size(), 67u);
    const VbeInfoBlock info = Detect(0x0200);
    EXPECT_EQ(FlatString(info.OemStringPtr), RealString(raw.OemStringPtr));
    EXPECT_EQ(FlatString(info.OemProductNamePtr), RealString(raw.OemProductNamePtr));
    const std::string revision = RealString(raw.OemProductRevPtr);
    const std::string cut = FlatString(info.OemProductRevPtr);
    EXPECT_LT(cut.size(), revision.size());
    EXPECT_EQ(cut, revision.substr(0, cut.size()));
    EXPECT_EQ(ModeList(info.VideoModePtr), modes);
    EXPECT_EQ(info.VideoModePtr + 2 * (modes.size() + 1), info.OemStringPtr + kStringArea);

    const SV_DeviceInfo* device = SV_init(0);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(Modes(device->modes), modes); // every one a graphics mode
    EXPECT_STREQ(device->oemName, RealString(raw.OemStringPtr).c_str());
}

TEST_F(SeaBiosDetection, ThreePointZeroFitsWholeAndItsVgaModesAreDropped) {
    const VbeInfoBlock raw = RawInfoBlock();
    const VbeInfoBlock info = Detect(0x0300);
    EXPECT_EQ(FlatString(info.OemProductRevPtr), RealString(raw.OemProductRevPtr));
    const std::vector<uint16_t> listed = ModeList(info.VideoModePtr);
    EXPECT_EQ(listed, ModeList(RealLinear(raw.VideoModePtr)));
    const SV_DeviceInfo* device = SV_init(0);
    ASSERT_NE(device, nullptr);
    std::vector<uint16_t> expected;
    for (uint16_t mode : listed)
        if (mode >= 0x100) expected.push_back(mode);
    EXPECT_EQ(Modes(device->modes), expected);
    EXPECT_EQ(device->canVirtualize, 0); // no protected-mode table
}

// Strings and a list that cannot all fit: the list is cut to what leaves
// each string its terminator; the device list keeps 99 modes; the name
// buffer keeps 79 characters.
TEST_F(Vbe20Detection, ListsAndNamesTooLongForTheirAreasAreCut) {
    size_t listed = 150, oemLength = 300;
    BiosFilter filter([&](pcemu::CpuRegs& r) {
        if (r.ax() != 0x4F00) return false;
        const uint32_t list = filter.realBlock(2 * (listed + 1));
        const uint32_t text = filter.realBlock(oemLength + 1);
        for (uint32_t i = 0; i < listed; ++i)
            Pc().memory().write16(list + 2 * i, 0x101);
        Pc().memory().write16(list + 2 * listed, 0xFFFF);
        std::memset(Pc().hostPointer(text), 'A', oemLength);
        VbeInfoBlock block{};
        std::memcpy(block.VbeSignature, "VESA", 4);
        block.VbeVersion = 0x0200;
        block.OemStringPtr = block.OemVendorNamePtr = block.OemProductNamePtr =
            block.OemProductRevPtr = (text >> 4) << 16;
        block.VideoModePtr = (list >> 4) << 16;
        block.TotalMemory = 64;
        Pc().memory().writeBlock(BiosFilter::BufferOf(r), &block, sizeof block);
        r.setAx(0x004F);
        return true;
    });
    const VbeInfoBlock info = Detect(0x0200);
    EXPECT_EQ(FlatString(info.OemStringPtr), "");
    EXPECT_EQ(+info.OemProductRevPtr, info.OemStringPtr + 3);
    EXPECT_EQ(ModeList(info.VideoModePtr).size(), (kStringArea - 4) / 2 - 1);
    EXPECT_EQ(info.VideoModePtr + 2 * ((kStringArea - 4) / 2), info.OemStringPtr + kStringArea);
    const SV_DeviceInfo* device = SV_init(0);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(Modes(device->modes).size(), 99u);

    listed = 2;
    ASSERT_NE(SV_init(0), nullptr);
    EXPECT_EQ(std::string(device->oemName), std::string(79, 'A'));
}

} // namespace
} // namespace vidlib32_test
