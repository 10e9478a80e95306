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

// What an entry saw: registers (kAny where a case does not look) and the
// values at ESI.
constexpr int64_t kAny = -1;
struct Seen {
    int64_t eax = kAny, ecx = kAny, edx = kAny, esi = kAny, edi = kAny;
    std::vector<int32_t> atEsi = {};
};

// A caller's data as the 32-bit values the entry reads.
std::vector<int32_t> Words(const void* data, size_t bytes) {
    std::vector<int32_t> words(bytes / 4);
    std::memcpy(words.data(), data, bytes);
    return words;
}

class AfWrappers : public ::testing::Test {
protected:
    void SetUp() override {
        driver = LoadImage(RecorderImage().build());
        ASSERT_NE(driver, nullptr);
    }
    void TearDown() override { AF_unloadDriver(driver); }

    // Runs `call`, checks that it reached `field`'s entry with EBX = the
    // header, gave the entry's EAX back and that the entry saw `seen`.
    void Expect(uint32_t H::*field, const std::function<int32_t(H*)>& call, const Seen& seen) {
        const auto offset = static_cast<uint32_t>(reinterpret_cast<uint8_t*>(&(driver->*field)) -
                                                  reinterpret_cast<uint8_t*>(driver));
        SCOPED_TRACE("entry at header offset " + std::to_string(offset));
        EXPECT_EQ(call(driver), static_cast<int32_t>(kRecorderResult + offset));
        const Recording r = LastRecording(driver);
        EXPECT_EQ(r.entry, offset);
        EXPECT_EQ(r.ebx, *vidlib32::GuestOf(driver));
        const int64_t wanted[] = {seen.eax, seen.ecx, seen.edx, seen.esi, seen.edi};
        const uint32_t got[] = {r.eax, r.ecx, r.edx, r.esi, r.edi};
        const char* names[] = {"EAX", "ECX", "EDX", "ESI", "EDI"};
        for (size_t i = 0; i < std::size(got); ++i) {
            if (wanted[i] != kAny) {
                EXPECT_EQ(got[i], static_cast<uint32_t>(wanted[i])) << names[i];
            }
        }
        EXPECT_EQ(std::vector<int32_t>(r.atEsi, r.atEsi + seen.atEsi.size()), seen.atEsi);
    }

    AF_DriverHeader* driver = nullptr;
};

TEST_F(AfWrappers, EveryEntryGetsItsRegistersAndBlocks) {
    const AF_Palette palette[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
    AF_Cursor cursor = {};
    for (uint32_t i = 0; i < 32; ++i)
        cursor.andMask[i] = 0x01010101u * i;
    const uint8_t pattern[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const AF_Scan scans[4] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    const int32_t values[6] = {11, 12, 13, 14, 15, 16};
    const std::vector<int32_t> blit = {1, 2, 3, 4, 5, 6, 7}, trans = {1, 2, 3, 4, 5, 6, 7, 0xFE};

    Expect(&H::RestoreTextMode, AF_restoreTextMode, {});
    Expect(&H::SetBank, [](H* d) { return AF_setBank(d, 7); }, {.edx = 7});
    Expect(&H::WaitTillIdle, AF_waitTillIdle, {});
    Expect(&H::EnableDirectAccess, AF_enableDirectAccess, {});
    Expect(&H::DisableDirectAccess, AF_disableDirectAccess, {});
    Expect(&H::SetDisplayStart, [](H* d) { return AF_setDisplayStart(d, 11, 22, 1); },
           {.eax = 1, .ecx = 11, .edx = 22});
    Expect(&H::SetActiveBuffer, [](H* d) { return AF_setActiveBuffer(d, 2); }, {.eax = 2});
    Expect(&H::SetVisibleBuffer, [](H* d) { return AF_setVisibleBuffer(d, 3, 1); },
           {.eax = 3, .edx = 1});
    Expect(&H::SetPaletteData, [&](H* d) { return AF_setPaletteData(d, palette, 2, 16, 1); },
           {.eax = 1, .ecx = 2, .edx = 16, .atEsi = Words(palette, sizeof palette)});
    Expect(&H::SetGammaCorrectData, [&](H* d) { return AF_setGammaCorrectData(d, palette, 1, 5); },
           {.eax = 5, .ecx = 1, .atEsi = Words(palette, 4)});
    Expect(&H::SetCursor, [&](H* d) { return AF_setCursor(d, &cursor); },
           {.atEsi = Words(&cursor, 32)});
    Expect(&H::SetCursorPos, [](H* d) { return AF_setCursorPos(d, 100, 200); },
           {.eax = 100, .ecx = 200});
    Expect(&H::SetCursorColor, [](H* d) { return AF_setCursorColor(d, 0x11, 0x22, 0x33); },
           {.eax = 0x2211, .ecx = 0x33});
    Expect(&H::ShowCursor, [](H* d) { return AF_showCursor(d, 1); }, {.eax = 1});
    Expect(&H::SetMix, [](H* d) { return AF_setMix(d, AF_XOR_MIX, AF_AND_MIX); },
           {.eax = AF_XOR_MIX, .ecx = AF_AND_MIX});
    Expect(&H::Set8x8MonoPattern, [&](H* d) { return AF_set8x8MonoPattern(d, pattern); },
           {.atEsi = Words(pattern, 8)});
    Expect(&H::SetLineStipple, [](H* d) { return AF_setLineStipple(d, 0xF0F0); }, {.eax = 0xF0F0});
    Expect(&H::SetClipRect, [](H* d) { return AF_setClipRect(d, 1, 2, 300, 400); },
           {.atEsi = {1, 2, 300, 400}});
    Expect(&H::DrawScan, [](H* d) { return AF_drawScan(d, 0xAB12, 9, 3, 30); },
           {.eax = 9, .ecx = 3, .edx = 30, .esi = 0xAB12});
    Expect(&H::DrawPattScan, [](H* d) { return AF_drawPattScan(d, 5, 6, 7, 8, 9); },
           {.eax = 7, .ecx = 8, .edx = 9, .esi = 5, .edi = 6});
    Expect(&H::DrawScanList, [&](H* d) { return AF_drawScanList(d, 0x42, 10, 4, scans); },
           {.eax = 10, .ecx = 4, .edx = 0x42, .atEsi = Words(scans, sizeof scans)});
    Expect(&H::DrawRect, [](H* d) { return AF_drawRect(d, 0x77, 10, 20, 30, 40); },
           {.eax = 0x77, .atEsi = {10, 20, 30, 40}});
    Expect(&H::DrawPattRect, [](H* d) { return AF_drawPattRect(d, 1, 2, -3, -4, 5, 6); },
           {.eax = 1, .ecx = 2, .atEsi = {-3, -4, 5, 6}});
    Expect(&H::DrawLine, [](H* d) { return AF_drawLine(d, 3, 1 << 16, 2 << 16, -1, 0x7FFF0000); },
           {.eax = 3, .atEsi = {1 << 16, 2 << 16, -1, 0x7FFF0000}});
    Expect(&H::DrawStippleLine, [](H* d) { return AF_drawStippleLine(d, 4, 5, 6, 7, 8, 9); },
           {.eax = 4, .ecx = 5, .atEsi = {6, 7, 8, 9}});
    Expect(&H::DrawTrap, [&](H* d) { return AF_drawTrap(d, 0x99, values, 6); },
           {.eax = 0x99, .atEsi = {11, 12, 13, 14, 15, 16}});
    Expect(&H::DrawTri, [&](H* d) { return AF_drawTri(d, 0x98, values, 6); },
           {.eax = 0x98, .atEsi = {11, 12, 13, 14, 15, 16}});
    Expect(&H::DrawQuad, [&](H* d) { return AF_drawQuad(d, 0x97, values, 6); },
           {.eax = 0x97, .atEsi = {11, 12, 13, 14, 15, 16}});
    Expect(&H::PutMonoImage, [&](H* d) { return AF_putMonoImage(d, 1, 2, values, 5); },
           {.eax = 1, .ecx = 2, .atEsi = {11, 12, 13, 14, 15}});
    Expect(&H::BitBlt, [](H* d) { return AF_bitBlt(d, 1, 2, 3, 4, 5, 6, 7); }, {.atEsi = blit});
    Expect(&H::BitBltLin, [](H* d) { return AF_bitBltLin(d, 1, 2, 3, 4, 5, 6); },
           {.atEsi = {1, 2, 3, 4, 5, 6}});
    Expect(&H::SrcTransBlt, [](H* d) { return AF_srcTransBlt(d, 1, 2, 3, 4, 5, 6, 7, 0xFE); },
           {.atEsi = trans});
    Expect(&H::DstTransBlt, [](H* d) { return AF_dstTransBlt(d, 1, 2, 3, 4, 5, 6, 7, 0xFE); },
           {.atEsi = trans});
    Expect(&H::SrcTransBltLin, [](H* d) { return AF_srcTransBltLin(d, 1, 2, 3, 4, 5, 6, 0xFD); },
           {.atEsi = {1, 2, 3, 4, 5, 6, 0xFD}});
    Expect(&H::DstTransBltLin, [](H* d) { return AF_dstTransBltLin(d, 1, 2, 3, 4, 5, 6, 0xFD); },
           {.atEsi = {1, 2, 3, 4, 5, 6, 0xFD}});
}

// Mode numbers go in as 16 bits; the line length goes in and comes back in
// ECX; the mode record is copied back whole; a caller's block that lies in
// guest memory already is passed as it is.
TEST_F(AfWrappers, ModeEntriesAndCopiesOfTheCallersRecords) {
    AF_ModeInfo info = {};
    Expect(&H::GetVideoModeInfo, [&](H* d) { return AF_getVideoModeInfo(d, 0x12345101, &info); },
           {.eax = 0x5101});
    uint32_t first, last;
    std::memcpy(&first, &info, 4);
    std::memcpy(&last, reinterpret_cast<uint8_t*>(&info) + sizeof info - 4, 4);
    EXPECT_EQ(first, kModeInfoMark);
    EXPECT_EQ(last, kModeInfoMark);

    int32_t bytesPerLine = 1280;
    Expect(&H::SetVideoMode, [&](H* d) { return AF_setVideoMode(d, 0x4101, &bytesPerLine, 3); },
           {.eax = 0x4101, .ecx = 1280, .edi = 3});
    EXPECT_EQ(bytesPerLine, static_cast<int32_t>(kRecorderEcx));
    bytesPerLine = -1;
    Expect(&H::SetVideoMode,
           [&](H* d) { return AF_setVirtualVideoMode(d, 0x1101, 2048, 1536, &bytesPerLine, 2); },
           {.eax = 0x1101, .ecx = 0xFFFFFFFF, .edx = 2048, .esi = 1536, .edi = 2});
    EXPECT_EQ(bytesPerLine, static_cast<int32_t>(kRecorderEcx));

    auto* inGuest = reinterpret_cast<AF_Palette*>(vidlib32::GuestAlloc(sizeof(AF_Palette)));
    Expect(&H::SetPaletteData, [&](H* d) { return AF_setPaletteData(d, inGuest, 1, 0, 0); },
           {.esi = *vidlib32::GuestOf(inGuest)});
    vidlib32::GuestFree(inGuest);
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
