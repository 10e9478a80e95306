// Banks, pages and display start through the BIOS, its protected-mode
// routines run in the emulated processor, and the bank-switch fragment of
// the virtual linear buffer; checked on the adapter's own registers.
#include "bios_filter.h"
#include "bios_suite.h"
#include "state.h"

#include <cstring>
#include <vector>

namespace vidlib32_test {
namespace {

using vidlib32::gMode;
using vidlib32::gVbe;

const SV_DeviceInfo& SetMode(int32_t mode, int32_t virtualBuffer = 0) {
    const SV_DeviceInfo* device = SV_init(0);
    EXPECT_NE(device, nullptr);
    EXPECT_EQ(SV_setMode(mode, 0, virtualBuffer, 1), 1) << std::hex << mode;
    return *device;
}

uint16_t Bochs(pcemu::BochsRegister r) {
    return Pc().adapter().bochsRegister(r);
}

void ExpectDisplayStart(uint16_t x, uint16_t y) {
    EXPECT_EQ(Bochs(pcemu::kBochsXOffset), x);
    EXPECT_EQ(Bochs(pcemu::kBochsYOffset), y);
}

// The bytes the fragment must hold: the framing around the window code.
std::vector<uint8_t> Framed(const uint8_t* windowCode, size_t length, uint8_t shift) {
    std::vector<uint8_t> bytes = {0x53, 0x51, 0x8B, 0xD0, 0x31, 0xDB, 0xC1, 0xE2, shift};
    bytes.insert(bytes.end(), windowCode, windowCode + length);
    bytes.insert(bytes.end(), {0x59, 0x5B});
    return bytes;
}

std::vector<uint8_t> Fragment(uint8_t shift) {
    int32_t length = 0;
    void* code = nullptr;
    EXPECT_EQ(VBE_getBankFunc32(&length, &code, 0, shift), 1);
    if (!code) return {};
    const auto* bytes = static_cast<const uint8_t*>(code);
    return {bytes, bytes + length};
}

VIDLIB32_SUITE(Vbe20Banks, "vbe20");
VIDLIB32_SUITE(Gran4kBanks, "gran4k");
VIDLIB32_SUITE(DualWinBanks, "dualwin");
VIDLIB32_SUITE(PmioBanks, "pmio");
VIDLIB32_SUITE(FbadFbadBanks, "fbadfbad");
VIDLIB32_SUITE(Vbe12Banks, "vbe12");
VIDLIB32_SUITE(BochsBanks, "rom:bochs");
VIDLIB32_SUITE(SeaBiosBanks, "rom:seabios");

TEST_F(Vbe20Banks, ActivePageMovesTheWindowOnlyWhenTheBankChanges) {
    const SV_DeviceInfo& device = SetMode(0x100); // 640 x 400 x 8: pages of 262 144 bytes
    EXPECT_EQ(gMode.bankRoutine, &_VBE20_setBankA);
    WindowMoves moves;
    SV_setActivePage(1);
    EXPECT_EQ(device.pageBank, 4);
    EXPECT_EQ(device.pageOrigin, 0);
    EXPECT_EQ(device.currentBank, 4);
    EXPECT_EQ(Pc().adapter().writeBank(), 4);
    EXPECT_EQ(moves(), 1u);
    SV_setBank(4);
    EXPECT_EQ(moves(), 1u);
    SV_setBankASM(5);
    EXPECT_EQ(moves(), 2u);
    device.frameMemory[3] = 0xA5; // the window shows bank 5
    EXPECT_EQ(Vram()[5 * 65536 + 3], 0xA5);
}

// 262 144 = 409 x 640 + 384; the protected-mode routine takes 262 144 / 4.
TEST_F(Vbe20Banks, VisualPageThroughTheProtectedModeRoutine) {
    SetMode(0x100);
    BiosFilter filter;
    const uint64_t instructions = Pc().cpu().instructionsExecuted();
    SV_setVisualPage(1, 0);
    EXPECT_TRUE(filter.calls().empty());
    EXPECT_GT(Pc().cpu().instructionsExecuted(), instructions);
    ExpectDisplayStart(384, 409);
    EXPECT_EQ(Pc().adapter().displayMode().start, 262144u);
    EXPECT_EQ(SV_setDisplayStart(8, 20, 1), 1);
    ExpectDisplayStart(8, 20);
    EXPECT_EQ(filter.count(0x4F07), 1u);
}

TEST_F(Vbe20Banks, FragmentFramesTheWindowCodeAndMovesTheVirtualBuffer) {
    SV_init(0);
    const auto* entry = static_cast<const uint8_t*>(VBE_getSetBank());
    ASSERT_NE(entry, nullptr);
    const auto* end = static_cast<const uint8_t*>(std::memchr(entry, 0xC3, 200));
    ASSERT_NE(end, nullptr);
    EXPECT_EQ(Fragment(3), Framed(entry, end - entry, 3));

    const SV_DeviceInfo& device = SetMode(0x101, 1);
    ASSERT_EQ(device.virtualActive, 1);
    EXPECT_NE(device.frameMemory, Pc().hostPointer(0xA0000));
    device.frameMemory[5 * 65536 + 9] = 0x77; // moves the window to bank 5
    EXPECT_EQ(Pc().adapter().writeBank(), 5);
    EXPECT_EQ(Vram()[5 * 65536 + 9], 0x77);
}

// A table the BIOS filter hands out: window code that, framed, needs 100
// bytes fits and one byte more does not; offsets before the code or past the
// table give no entry.
TEST_F(Vbe20Banks, FragmentAndEntriesStayInsideTheirAreas) {
    SV_init(0);
    size_t codeBytes = 0;
    uint16_t words[4] = {8, 8, 8, 0};
    BiosFilter filter([&](pcemu::CpuRegs& r) {
        if (r.ax() != 0x4F0A) return false;
        const uint32_t table = filter.realBlock(8 + codeBytes + 1);
        Pc().memory().writeBlock(table, words, sizeof words);
        std::memset(Pc().hostPointer(table + 8), 0x90, codeBytes);
        Pc().memory().write8(table + 8 + codeBytes, 0xC3);
        r.es = static_cast<uint16_t>(table >> 4);
        r.setDi(0);
        r.setCx(static_cast<uint16_t>(8 + codeBytes + 1));
        r.setAx(0x004F);
        return true;
    });
    int32_t length = 0;
    void* code = nullptr;
    codeBytes = 89;
    VBE_freePMCode();
    EXPECT_EQ(VBE_getBankFunc32(&length, &code, 0, 0), 1);
    EXPECT_EQ(length, 100);
    codeBytes = 90;
    VBE_freePMCode();
    EXPECT_EQ(VBE_getBankFunc32(&length, &code, 0, 0), 0);
    words[0] = 0xFFF0; // -16
    words[1] = 4;      // inside the header
    words[2] = 200;    // past the table
    VBE_freePMCode();
    EXPECT_EQ(VBE_getSetBank(), nullptr);
    EXPECT_EQ(VBE_getSetDisplayStart(), nullptr);
    EXPECT_EQ(VBE_getSetPalette(), nullptr);
    VBE_freePMCode();
}

// 4 KB granularity: bank 20 is window position 320.
TEST_F(Gran4kBanks, BankIsShiftedToTheWindowPosition) {
    const SV_DeviceInfo& device = SetMode(0x101);
    EXPECT_EQ(gMode.bankShift, 4);
    SV_setBank(20);
    EXPECT_EQ(Bochs(pcemu::kBochsBank) & 0x3FFF, 320);
    device.frameMemory[7] = 0x5A;
    EXPECT_EQ(Vram()[20 * 65536 + 7], 0x5A);
    _VBE_setBankA(21); // through the BIOS
    EXPECT_EQ(Bochs(pcemu::kBochsBank) & 0x3FFF, 336);
}

TEST_F(Gran4kBanks, VirtualBufferFragmentShiftsTheBank) {
    const SV_DeviceInfo& device = SetMode(0x101, 1);
    ASSERT_EQ(device.virtualActive, 1);
    device.frameMemory[6 * 65536 + 1] = 0x3C;
    EXPECT_EQ(Bochs(pcemu::kBochsBank) & 0x3FFF, 96);
    EXPECT_EQ(Vram()[6 * 65536 + 1], 0x3C);
}

// Window A reads and window B writes: every switch moves both.
TEST_F(DualWinBanks, BothWindowsMove) {
    SetMode(0x101);
    EXPECT_EQ(gMode.bankRoutine, &_VBE20_setBankAB);
    SV_setBank(5);
    EXPECT_EQ(Pc().adapter().readBank(), 5);
    EXPECT_EQ(Pc().adapter().writeBank(), 5);
    _VBE_setBankA(9); // window A alone leaves the writes where they were
    EXPECT_EQ(Pc().adapter().readBank(), 9);
    EXPECT_EQ(Pc().adapter().writeBank(), 5);
    _VBE_setBankAB(7);
    EXPECT_EQ(Pc().adapter().readBank(), 7);
    EXPECT_EQ(Pc().adapter().writeBank(), 7);
}

// The routines reach the adapter's registers through ES = the selector of
// the table's memory list.
TEST_F(PmioBanks, RoutinesRunWithTheRegisterSelector) {
    SetMode(0x100);
    EXPECT_EQ(gMode.bankRoutine, &_VBE20_setBankA_ES);
    ASSERT_NE(gVbe.mmioSelector, 0);
    EXPECT_EQ(Pc().selectors().base(gVbe.mmioSelector), 0xF0100000u);
    EXPECT_EQ(Pc().selectors().limit(gVbe.mmioSelector), 0xFFu);
    BiosFilter filter;
    const uint64_t instructions = Pc().cpu().instructionsExecuted();
    SV_setBank(6);
    EXPECT_EQ(Pc().adapter().writeBank(), 6);
    SV_setVisualPage(1, 0);
    ExpectDisplayStart(384, 409);
    EXPECT_TRUE(filter.calls().empty());
    EXPECT_GT(Pc().cpu().instructionsExecuted(), instructions);
    // Code that needs a selector cannot be moved into a fragment.
    int32_t length = 0;
    void* code = nullptr;
    EXPECT_EQ(VBE_getBankFunc32(&length, &code, 0, 0), 0);
}

// The table gives the window code's length; its code holds a C3h byte
// before the end, where searching for the return would stop.
TEST_F(FbadFbadBanks, FragmentLengthComesFromTheTable) {
    SV_init(0);
    const auto* table = gVbe.pmInterfaceCopy;
    ASSERT_NE(table, nullptr);
    uint32_t marker = 0, withReturn = 0;
    std::memcpy(&marker, table + 8, 4);
    std::memcpy(&withReturn, table + 12, 4);
    ASSERT_EQ(marker, 0xFBADFBADu);
    const auto* entry = static_cast<const uint8_t*>(VBE_getSetBank());
    const size_t codeBytes = withReturn - 1;
    ASSERT_LT(static_cast<const uint8_t*>(std::memchr(entry, 0xC3, codeBytes)), entry + codeBytes);
    EXPECT_EQ(Fragment(0), Framed(entry, codeBytes, 0));

    const SV_DeviceInfo& device = SetMode(0x101, 1);
    ASSERT_EQ(device.virtualActive, 1);
    device.frameMemory[3 * 65536] = 0x11;
    EXPECT_EQ(Pc().adapter().writeBank(), 3);
}

// No protected-mode entry below 2.0: x and y come from the page offset.
TEST_F(Vbe12Banks, VisualPageAsPixelAndLineThroughTheBios) {
    struct Case {
        uint16_t mode;
        uint16_t x, y;
    };
    for (const Case& c : {Case{0x100, 384, 409}, Case{0x102, 288, 655}, Case{0x10E, 256, 204},
                          Case{0x10F, 256, 204}, Case{0x123, 256, 204}}) {
        SCOPED_TRACE(c.mode);
        SetMode(c.mode);
        EXPECT_EQ(gMode.bankRoutine, &_VBE_setBankA);
        BiosFilter filter;
        SV_setVisualPage(1, 1);
        ASSERT_EQ(filter.count(0x4F07), 1u);
        EXPECT_EQ(filter.calls().back().cx(), c.x);
        EXPECT_EQ(filter.calls().back().dx(), c.y);
        ExpectDisplayStart(c.x, c.y);
    }
    SetMode(0x105); // one page
    BiosFilter filter;
    SV_setVisualPage(3, 1);
    EXPECT_TRUE(filter.calls().empty());
}

TEST_F(BochsBanks, RomsProtectedModeRoutinesMoveWindowAndStart) {
    SetMode(0x100);
    EXPECT_EQ(gMode.bankRoutine, &_VBE20_setBankA);
    // Its modes say "not VGA compatible", its controller does not: the DAC
    // ports serve.
    EXPECT_TRUE(gMode.vgaCompatible);
    BiosFilter filter;
    SV_setBank(3);
    EXPECT_EQ(Pc().adapter().writeBank(), 3);
    SV_setVisualPage(1, 0);
    ExpectDisplayStart(384, 409);
    EXPECT_TRUE(filter.calls().empty());
    // Text mode comes back through the ROM's own interrupts after 32-bit calls.
    SV_restoreMode();
    EXPECT_EQ(Pc().adapter().displayMode().kind, pcemu::DisplayMode::Kind::Text);
}

// The ROM's window code returns from three places: no fragment can be made
// of it, and a mode asked for with a virtual buffer stays banked.
TEST_F(BochsBanks, WindowCodeWithSeveralReturnsMakesNoFragment) {
    const SV_DeviceInfo& device = SetMode(0x101, 1);
    EXPECT_EQ(device.canVirtualize, 0);
    EXPECT_EQ(device.virtualActive, 0);
    EXPECT_EQ(device.frameMemory, Pc().hostPointer(0xA0000));
    int32_t length = 0;
    void* code = nullptr;
    EXPECT_EQ(VBE_getBankFunc32(&length, &code, 0, 0), 0);
}

// No protected-mode table: the BIOS moves the window and sets the start.
TEST_F(SeaBiosBanks, BiosRoutes) {
    SetMode(0x100);
    EXPECT_EQ(gMode.bankRoutine, &_VBE_setBankA);
    BiosFilter filter;
    SV_setBank(2);
    EXPECT_EQ(filter.count(0x4F05), 1u);
    EXPECT_EQ(Pc().adapter().writeBank(), 2);
    SV_setVisualPage(1, 0);
    ASSERT_EQ(filter.count(0x4F07), 1u);
    EXPECT_EQ(filter.calls().back().cx(), 384);
    EXPECT_EQ(filter.calls().back().dx(), 409);
}

} // namespace
} // namespace vidlib32_test
