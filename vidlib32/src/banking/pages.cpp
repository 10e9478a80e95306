// Display pages: which page drawing goes to (active) and which one the
// monitor shows (visual), and the display start.
#include "banking/retrace.h"
#include "state.h"
#include "tobrin32/tobrin32.h"
#include "vbe/pm_call.h"
#include "vidlib32/vidlib32.h"

namespace vidlib32 {
namespace {

uint32_t PageOffset(int32_t page) {
    return static_cast<uint32_t>(page) * static_cast<uint32_t>(gMode.pageSize);
}

// The pixel of a byte offset within a line.
int32_t PixelOfLineByte(uint32_t byte) {
    switch (gDevice.pixelBits) {
    case 4:
        return static_cast<int32_t>(byte * 8);
    case 15:
    case 16:
        return static_cast<int32_t>(byte / 2);
    case 24:
        return static_cast<int32_t>(byte / 3);
    case 32:
        return static_cast<int32_t>(byte / 4);
    default:
        return static_cast<int32_t>(byte);
    }
}

// The protected-mode routine takes the start as an address: in 4-byte units,
// or in bytes of a plane in 16-colour modes.
void ProtectedModeDisplayStart(uint32_t offset, int32_t waitForRetrace) {
    const uint32_t start = gDevice.pixelBits == 4 ? offset : offset / 4;
    pcemu::CpuRegs regs;
    regs.ebx = waitForRetrace ? 0x80 : 0x00;
    regs.ecx = start & 0xFFFF;
    regs.edx = start >> 16;
    regs.es = gVbe.mmioSelector;
    CallPmRoutine(gMode.pmSetDisplayStart, regs);
}

} // namespace

void SetActivePageBanked(int32_t page) {
    const uint32_t offset = PageOffset(page);
    gDevice.pageOrigin = offset & 0xFFFF;
    gDevice.pageBank = static_cast<int16_t>(offset >> 16);
    SV_setBank(gDevice.pageBank);
}

void SetActivePageLinear(int32_t page) {
    gDevice.pageOrigin = reinterpret_cast<intptr_t>(gDevice.frameMemory + PageOffset(page));
}

void SetVisualPageVbe(int32_t page, int32_t waitForRetrace) {
    if (gDevice.lastPage == 0) return;
    const uint32_t offset = PageOffset(page);
    if (gMode.pmSetDisplayStart) {
        ProtectedModeDisplayStart(offset, waitForRetrace);
        return;
    }
    if (gDevice.lineBytes <= 0) return;
    const uint32_t lineBytes = static_cast<uint32_t>(gDevice.lineBytes);
    const int32_t y = static_cast<int32_t>(offset / lineBytes);
    const int32_t x = PixelOfLineByte(offset % lineBytes);
    if (gDevice.version >= 0x0200) {
        TB_setCRTStart(x, y);
        return;
    }
    // Older BIOSes do not wait themselves: the start changes while the
    // display shows a line, and takes effect at the retrace after it.
    if (waitForRetrace) WaitForDisplayEnable();
    TB_setCRTStart(x, y);
    if (waitForRetrace) WaitForVerticalRetrace();
}

} // namespace vidlib32

using namespace vidlib32;

extern "C" {

void SV_setActivePage(int32_t page) {
    if (gDevice.setActivePage) gDevice.setActivePage(page);
}

void SV_setVisualPage(int32_t page, int32_t waitForRetrace) {
    if (gDevice.setVisualPage) gDevice.setVisualPage(page, waitForRetrace);
}

int32_t SV_setDisplayStart(int32_t x, int32_t y, int32_t waitForRetrace) {
    if (gDevice.accelDriver) return AF_setDisplayStart(AccelDriver(), x, y, waitForRetrace);
    return VBE_setDisplayStart(x, y, waitForRetrace);
}

} // extern "C"
