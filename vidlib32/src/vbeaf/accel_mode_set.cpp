// Setting a mode through an accelerator driver and filling the device
// record from the driver's mode description.
#include "modes/mode_record.h"
#include "modes/text_mode.h"
#include "state.h"
#include "tobrin32/tobrin32.h"
#include "vbe/guest_memory.h"
#include "vbeaf/accel_modes.h"
#include "vbeaf/accel_routines.h"
#include "vbeaf/driver_fragment.h"

#include <algorithm>

namespace vidlib32::vbeaf {
namespace {

constexpr int32_t kModeNumberMask = 0x1FF;

// The mode now set, as BIOS function 0Fh reports it (bit 7: memory kept).
int32_t BiosVideoMode() {
    RealRegs r = {};
    r.h.ah = 0x0F;
    TB_int86(0x10, &r, &r);
    return r.h.al & 0x7F;
}

// A mode the library can draw in: a depth with software routines (not the
// 16-colour planes, which the driver does not offer), and the window or the
// linear buffer the access asks for, mapped.
bool Usable(const AF_ModeInfo& info, const AF_DriverHeader& driver, bool linear) {
    if (info.BitsPerPixel == 4 || !BankedRoutines(info.BitsPerPixel)) return false;
    if (linear) return (info.Attributes & AF_MODE_LINEAR) && driver.LinearMem != 0;
    return (info.Attributes & AF_MODE_BANKED) && driver.BankedMem != 0;
}

void SetSizesAndFormat(const AF_ModeInfo& info, int32_t bytesPerLine) {
    gDevice.lineBytes = bytesPerLine;
    gDevice.lastX = info.XResolution - 1;
    gDevice.lastY = info.YResolution - 1;
    gDevice.pixelBits = info.BitsPerPixel;
    gDevice.lastPage = std::max<int32_t>(info.MaxBuffers, 1) - 1;
    gMode.pageSize = 0;
    gMode.bankShift = 0;
    gDevice.currentBank = -1;
    if (info.BitsPerPixel > 8)
        SetPixelFormat(DirectColour{info.RedMaskSize, info.RedFieldPosition, info.GreenMaskSize,
                                    info.GreenFieldPosition, info.BlueMaskSize,
                                    info.BlueFieldPosition});
    else
        SetPixelFormat(std::nullopt);
}

// The virtual linear buffer over the window, switched by the driver's
// SetBank32 code; null when it cannot be made.
uint8_t* StartVirtualBuffer(const AF_DriverHeader& driver) {
    int32_t length = 0;
    void* code = nullptr;
    if (!BuildDriverBankFragment(driver, &length, &code)) return nullptr;
    VF_exit();
    return static_cast<uint8_t*>(
        VF_init(driver.BankedBasePtr, driver.BankSize, static_cast<uint32_t>(length), code));
}

} // namespace

int32_t SetModeAccel(int32_t mode, int32_t virtualX, int32_t virtualY, int32_t useVirtualBuffer,
                     int32_t bufferCount) {
    AF_DriverHeader* driver = AccelDriver();
    const int32_t number = mode & kModeNumberMask;
    if (!driver || number < 0x100) return 0;
    AF_ModeInfo info = {};
    bool linear = (mode & SV_MODE_LINEAR) != 0;
    if (AF_getVideoModeInfo(driver, number, &info) != 0 || !Usable(info, *driver, linear)) return 0;

    NoteTextModeLeft(mode, BiosVideoMode());
    if (!(info.Attributes & AF_MODE_MULTIBUFFER)) mode &= ~SV_MODE_MULTIBUFFER;
    int32_t bytesPerLine = -1;
    const int32_t refused =
        (mode & SV_MODE_VIRTUALSCROLL)
            ? AF_setVirtualVideoMode(driver, mode, virtualX, virtualY, &bytesPerLine, bufferCount)
            : AF_setVideoMode(driver, mode, &bytesPerLine, bufferCount);
    if (refused != 0) return 0;

    SetSizesAndFormat(info, bytesPerLine);
    gDevice.virtualActive = 0;
    gMode.bankRoutine = _VBEAF_setBank;
    gMode.vgaCompatible = false; // the driver programs the palette
    gDevice.setActivePage = SetActivePageAccelBanked;
    gDevice.setVisualPage = SetVisualPageAccel;
    if (linear) {
        gDevice.frameMemory = HostOf(driver->LinearMem);
        gDevice.setActivePage = SetActivePageAccelLinear;
    } else {
        gDevice.frameMemory = HostOf(driver->BankedMem);
        if (gDevice.canVirtualize && useVirtualBuffer) {
            if (uint8_t* buffer = StartVirtualBuffer(*driver)) {
                gDevice.frameMemory = buffer;
                gDevice.setActivePage = SetActivePageAccelLinear;
                gDevice.virtualActive = 1;
                linear = true;
            }
        }
    }

    SetRoutines(linear);
    if (info.Attributes & AF_MODE_ACCEL2D) {
        UseAcceleratedRoutines(*driver);
        AF_setMix(driver, AF_REPLACE_MIX, AF_REPLACE_MIX);
    }
    TB_saveDS();
    if (gDevice.pixelBits == 8) {
        gMode.dacIs6Bit = false;
        SV_setPalette(0, 256, SV_getDefPalette(), -1);
    }
    gDevice.setActivePage(0);
    gDevice.setVisualPage(0, 0);
    SV_clear(0);
    return 1;
}

} // namespace vidlib32::vbeaf
