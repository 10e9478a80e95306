// Every wrapper's registers and blocks as the driver sees them (a recording
// driver), copies of the caller's records into guest memory and back, the
// real-mode bridges, and the bank fragment built from SetBank32.
#include "pcemu/machine.h"
#include "recorder_image.h"
#include "state.h"
#include "vbe/guest_memory.h"
#include "vbeaf/bridges.h"
#include "vbeaf/driver_fragment.h"

#include <functional>

namespace vbeaf_test {
namespace {

using H = AF_DriverHeader;

class AfWrappers : public ::testing::Test {
protected:
    void SetUp() override {
        driver = LoadImage(RecorderImage().build());
        ASSERT_NE(driver, nullptr);
        header = *vidlib32::GuestOf(driver);
    }
    void TearDown() override { AF_unloadDriver(driver); }

    // Runs `call`, checks that it reached `field`'s entry with EBX = the
    // header and gave the entry's EAX back; the recording.
    Recording Call(uint32_t H::*field, const std::function<int32_t()>& call) {
        const uint32_t offset =
            static_cast<uint32_t>(reinterpret_cast<const uint8_t*>(&(driver->*field)) -
                                  reinterpret_cast<const uint8_t*>(driver));
        EXPECT_EQ(call(), static_cast<int32_t>(kRecorderResult + offset));
        const Recording r = LastRecording(driver);
        EXPECT_EQ(r.entry, offset);
        EXPECT_EQ(r.ebx, header);
        return r;
    }
    static void ExpectBlock(const Recording& r, std::vector<int32_t> values) {
        EXPECT_EQ(std::vector<int32_t>(r.atEsi, r.atEsi + values.size()), values);
    }

    AF_DriverHeader* driver = nullptr;
    uint32_t header = 0;
};

TEST_F(AfWrappers, ModesBanksBuffersAndSynchronisation) {
    AF_ModeInfo info = {};
    Recording r =
        Call(&H::GetVideoModeInfo, [&] { return AF_getVideoModeInfo(driver, 0x12345101, &info); });
    EXPECT_EQ(r.eax, 0x5101u);
    uint32_t last;
    std::memcpy(&last, reinterpret_cast<uint8_t*>(&info) + 124, 4);
    EXPECT_EQ(std::memcmp(&info, &kModeInfoMark, 4), 0) << "record copied back";
    EXPECT_EQ(last, kModeInfoMark) << "the whole record copied back";

    int32_t bytesPerLine = 1280;
    r = Call(&H::SetVideoMode, [&] { return AF_setVideoMode(driver, 0x4101, &bytesPerLine, 3); });
    EXPECT_EQ(r.eax, 0x4101u);
    EXPECT_EQ(r.ecx, 1280u);
    EXPECT_EQ(r.edi, 3u);
    EXPECT_EQ(bytesPerLine, static_cast<int32_t>(kRecorderEcx));

    bytesPerLine = -1;
    r = Call(&H::SetVideoMode,
             [&] { return AF_setVirtualVideoMode(driver, 0x1101, 2048, 1536, &bytesPerLine, 2); });
    EXPECT_EQ(r.eax, 0x1101u);
    EXPECT_EQ(r.edx, 2048u);
    EXPECT_EQ(r.esi, 1536u);
    EXPECT_EQ(r.ecx, 0xFFFFFFFFu);
    EXPECT_EQ(r.edi, 2u);
    EXPECT_EQ(bytesPerLine, static_cast<int32_t>(kRecorderEcx));

    Call(&H::RestoreTextMode, [&] { return AF_restoreTextMode(driver); });
    EXPECT_EQ(Call(&H::SetBank, [&] { return AF_setBank(driver, 7); }).edx, 7u);
    Call(&H::WaitTillIdle, [&] { return AF_waitTillIdle(driver); });
    Call(&H::EnableDirectAccess, [&] { return AF_enableDirectAccess(driver); });
    Call(&H::DisableDirectAccess, [&] { return AF_disableDirectAccess(driver); });

    r = Call(&H::SetDisplayStart, [&] { return AF_setDisplayStart(driver, 11, 22, 1); });
    EXPECT_EQ(r.ecx, 11u);
    EXPECT_EQ(r.edx, 22u);
    EXPECT_EQ(r.eax, 1u);
    EXPECT_EQ(Call(&H::SetActiveBuffer, [&] { return AF_setActiveBuffer(driver, 2); }).eax, 2u);
    r = Call(&H::SetVisibleBuffer, [&] { return AF_setVisibleBuffer(driver, 3, 1); });
    EXPECT_EQ(r.eax, 3u);
    EXPECT_EQ(r.edx, 1u);
}

TEST_F(AfWrappers, PaletteCursorAndPatternsReachTheDriverInGuestMemory) {
    const AF_Palette palette[3] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
    Recording r =
        Call(&H::SetPaletteData, [&] { return AF_setPaletteData(driver, palette, 3, 16, 1); });
    EXPECT_EQ(r.ecx, 3u);
    EXPECT_EQ(r.edx, 16u);
    EXPECT_EQ(r.eax, 1u);
    EXPECT_EQ(std::memcmp(r.atEsi, palette, sizeof palette), 0);
    // A caller's block already in guest memory is passed as it is.
    auto* inGuest = reinterpret_cast<AF_Palette*>(vidlib32::GuestAlloc(sizeof palette));
    std::memcpy(inGuest, palette, sizeof palette);
    r = Call(&H::SetPaletteData, [&] { return AF_setPaletteData(driver, inGuest, 3, 0, 0); });
    EXPECT_EQ(r.esi, *vidlib32::GuestOf(inGuest));
    vidlib32::GuestFree(inGuest);

    r = Call(&H::SetGammaCorrectData,
             [&] { return AF_setGammaCorrectData(driver, palette, 2, 5); });
    EXPECT_EQ(r.ecx, 2u);
    EXPECT_EQ(r.eax, 5u);
    EXPECT_EQ(std::memcmp(r.atEsi, palette, 2 * sizeof(AF_Palette)), 0);

    AF_Cursor cursor = {};
    for (int i = 0; i < 32; ++i)
        cursor.andMask[i] = 0x01010101u * static_cast<uint32_t>(i);
    ExpectBlock(
        Call(&H::SetCursor, [&] { return AF_setCursor(driver, &cursor); }),
        {0, 0x01010101, 0x02020202, 0x03030303, 0x04040404, 0x05050505, 0x06060606, 0x07070707});
    r = Call(&H::SetCursorPos, [&] { return AF_setCursorPos(driver, 100, 200); });
    EXPECT_EQ(r.eax, 100u);
    EXPECT_EQ(r.ecx, 200u);
    r = Call(&H::SetCursorColor, [&] { return AF_setCursorColor(driver, 0x11, 0x22, 0x33); });
    EXPECT_EQ(r.eax & 0xFFFF, 0x2211u);
    EXPECT_EQ(r.ecx & 0xFF, 0x33u);
    EXPECT_EQ(Call(&H::ShowCursor, [&] { return AF_showCursor(driver, 1); }).eax, 1u);

    r = Call(&H::SetMix, [&] { return AF_setMix(driver, AF_XOR_MIX, AF_AND_MIX); });
    EXPECT_EQ(r.eax, uint32_t{AF_XOR_MIX});
    EXPECT_EQ(r.ecx, uint32_t{AF_AND_MIX});
    const uint8_t pattern[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    r = Call(&H::Set8x8MonoPattern, [&] { return AF_set8x8MonoPattern(driver, pattern); });
    EXPECT_EQ(std::memcmp(r.atEsi, pattern, 8), 0);
    EXPECT_EQ(Call(&H::SetLineStipple, [&] { return AF_setLineStipple(driver, 0xF0F0); }).eax,
              0xF0F0u);
}

TEST_F(AfWrappers, DrawingEntriesTakeTheirRegistersAndBlocks) {
    ExpectBlock(Call(&H::SetClipRect, [&] { return AF_setClipRect(driver, 1, 2, 300, 400); }),
                {1, 2, 300, 400});
    Recording r = Call(&H::DrawScan, [&] { return AF_drawScan(driver, 0x00AB12, 9, 3, 30); });
    EXPECT_EQ(r.esi, 0x00AB12u);
    EXPECT_EQ(r.eax, 9u);
    EXPECT_EQ(r.ecx, 3u);
    EXPECT_EQ(r.edx, 30u);
    r = Call(&H::DrawPattScan, [&] { return AF_drawPattScan(driver, 5, 6, 7, 8, 9); });
    EXPECT_EQ(std::vector<uint32_t>({r.esi, r.edi, r.eax, r.ecx, r.edx}),
              std::vector<uint32_t>({5, 6, 7, 8, 9}));
    const AF_Scan scans[4] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    r = Call(&H::DrawScanList, [&] { return AF_drawScanList(driver, 0x42, 10, 4, scans); });
    EXPECT_EQ(r.edx, 0x42u);
    EXPECT_EQ(r.eax, 10u);
    EXPECT_EQ(r.ecx, 4u);
    EXPECT_EQ(std::memcmp(r.atEsi, scans, sizeof scans), 0);

    r = Call(&H::DrawRect, [&] { return AF_drawRect(driver, 0x77, 10, 20, 30, 40); });
    EXPECT_EQ(r.eax, 0x77u);
    ExpectBlock(r, {10, 20, 30, 40});
    r = Call(&H::DrawPattRect, [&] { return AF_drawPattRect(driver, 1, 2, -3, -4, 5, 6); });
    EXPECT_EQ(r.eax, 1u);
    EXPECT_EQ(r.ecx, 2u);
    ExpectBlock(r, {-3, -4, 5, 6});
    r = Call(&H::DrawLine,
             [&] { return AF_drawLine(driver, 3, 1 << 16, 2 << 16, -1, 0x7FFF0000); });
    EXPECT_EQ(r.eax, 3u);
    ExpectBlock(r, {1 << 16, 2 << 16, -1, 0x7FFF0000});
    r = Call(&H::DrawStippleLine, [&] { return AF_drawStippleLine(driver, 4, 5, 6, 7, 8, 9); });
    EXPECT_EQ(r.eax, 4u);
    EXPECT_EQ(r.ecx, 5u);
    ExpectBlock(r, {6, 7, 8, 9});

    const int32_t values[6] = {11, 12, 13, 14, 15, 16};
    struct Polygon {
        uint32_t H::*field;
        int32_t (*wrapper)(H*, uint32_t, const int32_t*, int32_t);
    };
    for (const Polygon& p : {Polygon{&H::DrawTrap, AF_drawTrap}, Polygon{&H::DrawTri, AF_drawTri},
                             Polygon{&H::DrawQuad, AF_drawQuad}}) {
        r = Call(p.field, [&] { return p.wrapper(driver, 0x99, values, 6); });
        EXPECT_EQ(r.eax, 0x99u);
        ExpectBlock(r, {11, 12, 13, 14, 15, 16});
    }
    r = Call(&H::PutMonoImage, [&] { return AF_putMonoImage(driver, 1, 2, values, 5); });
    EXPECT_EQ(r.eax, 1u);
    EXPECT_EQ(r.ecx, 2u);
    ExpectBlock(r, {11, 12, 13, 14, 15});

    ExpectBlock(Call(&H::BitBlt, [&] { return AF_bitBlt(driver, 1, 2, 3, 4, 5, 6, 7); }),
                {1, 2, 3, 4, 5, 6, 7});
    ExpectBlock(Call(&H::BitBltLin, [&] { return AF_bitBltLin(driver, 8, 1, 2, 3, 4, 5); }),
                {8, 1, 2, 3, 4, 5});
    ExpectBlock(
        Call(&H::SrcTransBlt, [&] { return AF_srcTransBlt(driver, 1, 2, 3, 4, 5, 6, 7, 0xFE); }),
        {1, 2, 3, 4, 5, 6, 7, 0xFE});
    ExpectBlock(
        Call(&H::SrcTransBltLin, [&] { return AF_srcTransBltLin(driver, 9, 1, 2, 3, 4, 5, 0xFD); }),
        {9, 1, 2, 3, 4, 5, 0xFD});
    ExpectBlock(
        Call(&H::DstTransBlt, [&] { return AF_dstTransBlt(driver, 1, 2, 3, 4, 5, 6, 7, 0xFC); }),
        {1, 2, 3, 4, 5, 6, 7, 0xFC});
    ExpectBlock(
        Call(&H::DstTransBltLin, [&] { return AF_dstTransBltLin(driver, 9, 1, 2, 3, 4, 5, 0xFB); }),
        {9, 1, 2, 3, 4, 5, 0xFB});
}

TEST_F(AfWrappers, NothingRunsForAnAbsentEntryOrAHandleOutsideGuestMemory) {
    driver->DrawLine = 0;
    EXPECT_EQ(AF_drawLine(driver, 1, 0, 0, 1, 1), -1);
    AF_DriverHeader copy = *driver; // in host memory
    EXPECT_EQ(AF_setBank(&copy, 1), -1);
    EXPECT_EQ(AF_setBank(nullptr, 1), -1);
    EXPECT_EQ(AF_getVideoModeInfo(driver, 0x101, nullptr), -1);
    EXPECT_EQ(AF_setPaletteData(driver, nullptr, 4, 0, 0), -1);
    EXPECT_EQ(LastRecording(driver).entry, 0u) << "no entry ran";
}

// The fragment: the framing around all but the last byte of SetBank32.
TEST_F(AfWrappers, TheBankFragmentFramesSetBank32WithoutItsReturn) {
    int32_t length = 0;
    void* code = nullptr;
    ASSERT_TRUE(vidlib32::vbeaf::BuildDriverBankFragment(*driver, &length, &code));
    ASSERT_EQ(length, static_cast<int32_t>(kRecorderSetBank32Len + 5));
    std::vector<uint8_t> expected = {0x53, 0x51, 0x8B, 0xD0};
    for (uint32_t i = 0; i + 1 < kRecorderSetBank32Len; ++i)
        expected.push_back(static_cast<uint8_t>(0x40 + i));
    expected.insert(expected.end(), {0x59, 0x5B});
    const auto* bytes = static_cast<const uint8_t*>(code);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + length), expected);

    driver->SetBank32Len = 95; // 100 bytes framed: the area's size
    EXPECT_TRUE(vidlib32::vbeaf::BuildDriverBankFragment(*driver, &length, &code));
    EXPECT_EQ(length, 100);
    driver->SetBank32Len = 96;
    EXPECT_FALSE(vidlib32::vbeaf::BuildDriverBankFragment(*driver, &length, &code));
    driver->SetBank32Len = 30;
    driver->SetBank32 = 0;
    EXPECT_FALSE(vidlib32::vbeaf::BuildDriverBankFragment(*driver, &length, &code));
}

// The bridges take the structure's low 16 bits in and give zero-extended
// registers and the segments back; the flags word stays.
TEST_F(AfWrappers, BridgesRunRealModeInterruptsAndCalls) {
    AF_RMRegs text = {};
    text.eax = 0x0003;
    vidlib32::vbeaf::RunInt86(0x10, text);
    AF_RMRegs rm = {};
    rm.eax = 0xABCD4F03; // VBE: current mode into BX
    rm.ebx = 0xFFFF0000;
    rm.flags = 0x1234;
    vidlib32::vbeaf::RunInt86(0x10, rm);
    EXPECT_EQ(rm.eax, 0x004Fu);
    EXPECT_EQ(rm.ebx, 3u) << "text mode";
    EXPECT_EQ(rm.flags, 0x1234);

    // mov ax, 1234h; mov es, ax; mov bx, ds; retf
    const uint8_t routine[] = {0xB8, 0x34, 0x12, 0x8E, 0xC0, 0x8C, 0xDB, 0xCB};
    pcemu::Machine& pc = pcemu::TheMachine();
    const std::optional<uint16_t> segment = pc.allocReal(sizeof routine);
    ASSERT_TRUE(segment);
    std::memcpy(pc.hostPointer(uint32_t{*segment} * 16), routine, sizeof routine);
    AF_RMRegs call = {};
    call.cs = *segment;
    call.ip = 0;
    call.ds = 0x5678;
    call.ecx = 0x87654321;
    vidlib32::vbeaf::RunCallRealMode(call);
    EXPECT_EQ(call.eax, 0x1234u);
    EXPECT_EQ(call.es, 0x1234);
    EXPECT_EQ(call.ebx, 0x5678u);
    EXPECT_EQ(call.ds, 0x5678);
    EXPECT_EQ(call.ecx, 0x4321u);
    pc.freeReal(*segment);

    // Reached from driver code through the header's field: EDI = structure.
    auto* guestRm = reinterpret_cast<AF_RMRegs*>(vidlib32::GuestAlloc(sizeof(AF_RMRegs)));
    guestRm->eax = 0x0F00; // video mode into AL
    pcemu::CpuRegs regs;
    regs.edi = *vidlib32::GuestOf(guestRm);
    regs.ebx = 0x10;
    ASSERT_TRUE(pc.call32(driver->Int86, regs).ok());
    EXPECT_EQ(guestRm->eax & 0x7F, 3u);
    vidlib32::GuestFree(guestRm);
}

} // namespace
} // namespace vbeaf_test
