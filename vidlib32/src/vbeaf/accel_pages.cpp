// Banks and pages on an accelerator driver: the driver moves the window,
// places the active buffer (its header's OriginOffset) and shows buffers.
#include "state.h"
#include "vbeaf/accel_routines.h"

namespace vidlib32::vbeaf {
namespace {

// Drawing by the engine stays inside the active buffer.
void ClipToPage(AF_DriverHeader* driver) {
    if (driver->SetClipRect) AF_setClipRect(driver, 0, 0, gDevice.lastX, gDevice.lastY);
}

} // namespace

void SetActivePageAccelBanked(int32_t page) {
    AF_DriverHeader* driver = AccelDriver();
    if (!driver) return;
    AF_setActiveBuffer(driver, page);
    const uint32_t origin = driver->OriginOffset;
    gDevice.pageOrigin = origin & 0xFFFF;
    gDevice.pageBank = static_cast<int16_t>(origin >> 16);
    SV_setBank(gDevice.pageBank);
    ClipToPage(driver);
}

void SetActivePageAccelLinear(int32_t page) {
    AF_DriverHeader* driver = AccelDriver();
    if (!driver) return;
    AF_setActiveBuffer(driver, page);
    gDevice.pageOrigin = reinterpret_cast<intptr_t>(gDevice.frameMemory + driver->OriginOffset);
    ClipToPage(driver);
}

void SetVisualPageAccel(int32_t page, int32_t waitForRetrace) {
    AF_setVisibleBuffer(AccelDriver(), page, waitForRetrace);
}

} // namespace vidlib32::vbeaf

extern "C" void _VBEAF_setBank(int32_t bank) {
    AF_setBank(vidlib32::AccelDriver(), bank);
}
