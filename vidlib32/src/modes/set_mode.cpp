// Setting a mode through the VBE BIOS and filling the device record with
// everything drawing needs: sizes, pages, the pixel format, the bank
// routine, the frame memory, the routines of the depth.
#include "frame/fatal.h"
#include "modes/mode_record.h"
#include "modes/text_mode.h"
#include "state.h"
#include "tobrin32/tobrin32.h"
#include "vbe/records.h"
#include "vbeaf/accel_modes.h"
#include "vidlib32/vidlib32.h"

#include <optional>

namespace vidlib32 {
namespace {

constexpr int32_t kModeNumberMask = 0x1FF;
constexpr int32_t kVgaMode13 = 0x13;
constexpr uint32_t kVgaWindow = 0xA0000;
constexpr uint32_t kWindowLimit = 0xFFFF;

// n with 64 KB / 2^n = the granularity: none for other granularities.
std::optional<int32_t> BankShiftOf(uint16_t granularityKB) {
    for (int32_t n = 0; n <= 6; ++n)
        if ((64 >> n) == granularityKB) return n;
    return std::nullopt;
}

// Modes the library can draw in, checked before anything changes: a
// graphics mode of a depth the routine tables name; through the linear
// buffer only when the mode has one (and not for 16 colours, whose planes
// the linear buffer does not show); through the window only when the mode
// has window A and a granularity that divides 64 KB by a power of two.
bool Drawable(const ModeInfoBlock& info, bool linear) {
    if (!(info.ModeAttributes & kModeGraphics)) return false;
    if (linear)
        return LinearRoutines(info.BitsPerPixel) && (info.ModeAttributes & kModeLinear) &&
               info.PhysBasePtr != 0;
    return BankedRoutines(info.BitsPerPixel) && !(info.ModeAttributes & kModeNoWindows) &&
           info.WinASegment != 0 && BankShiftOf(info.WinGranularity);
}

void SetSizes(const ModeInfoBlock* info) {
    if (!info) {
        gDevice.lastX = 319;
        gDevice.lastY = 199;
        gDevice.lineBytes = 320;
        gDevice.pixelBits = 8;
        gDevice.lastPage = 0;
        gMode.pageSize = 65536;
        gMode.bankShift = 0;
        return;
    }
    gDevice.lastX = info->XResolution - 1;
    gDevice.lastY = info->YResolution - 1;
    gDevice.lineBytes = info->BytesPerScanLine;
    gDevice.pixelBits = info->BitsPerPixel;
    gDevice.lastPage = info->NumberOfImagePages;
    gMode.pageSize = VBE_getPageSize(info);
    // A linear mode never moves the window: any granularity will do.
    gMode.bankShift = BankShiftOf(info->WinGranularity).value_or(0);
}

// 3-3-2 unless the mode is direct colour.
void SetPixelFormatFrom(const ModeInfoBlock* info) {
    if (info && info->MemoryModel == kModelDirect)
        SetPixelFormat(DirectColour{info->RedMaskSize, info->RedFieldPosition, info->GreenMaskSize,
                                    info->GreenFieldPosition, info->BlueMaskSize,
                                    info->BlueFieldPosition});
    else
        SetPixelFormat(std::nullopt);
}

// Window A alone when it can be read and written, else A and B together;
// through the protected-mode window routine on VBE 2.0 when there is one.
void (*BankRoutineFor(const ModeInfoBlock& info))(int32_t) {
    const bool windowA = (info.WinAAttributes & kWindowReadWrite) == kWindowReadWrite;
    if (gDevice.version >= 0x0200 && gMode.pmSetBank) {
        if (gVbe.mmioSelector != 0) return windowA ? _VBE20_setBankA_ES : _VBE20_setBankAB_ES;
        return windowA ? _VBE20_setBankA : _VBE20_setBankAB;
    }
    return windowA ? _VBE_setBankA : _VBE_setBankAB;
}

// The virtual linear buffer over the window, when it can be made.
uint8_t* StartVirtualBuffer(const ModeInfoBlock& info) {
    int32_t length = 0;
    void* code = nullptr;
    if (!VBE_getBankFunc32(&length, &code, 0, gMode.bankShift)) return nullptr;
    VF_exit();
    return static_cast<uint8_t*>(VF_init(uint32_t{info.WinASegment} * 16, info.WinSize,
                                         static_cast<uint32_t>(length), code));
}

uint8_t* MapOrEnd(void* pointer) {
    if (!pointer) {
        SV_restoreMode();
        FatalExit();
    }
    return static_cast<uint8_t*>(pointer);
}

// The mode number carries its flags; a mode the library cannot draw in is
// refused before anything changes.
int32_t SetModeVbe(int32_t mode, int32_t useWideDac, int32_t useVirtualBuffer) {
    const int32_t number = mode & kModeNumberMask;
    const bool vga13 = number == kVgaMode13;
    if (number < 0x100 && !vga13) return 0;
    bool linear = !vga13 && (mode & SV_MODE_LINEAR);
    ModeInfoBlock info = {};
    if (!vga13 && (!VBE_getModeInfo(number, &info) || !Drawable(info, linear))) return 0;

    NoteTextModeLeft(mode, VBE_getVideoMode());
    if (!VBE_setVideoMode(mode)) return 0;

    const ModeInfoBlock* described = vga13 ? nullptr : &info;
    SetSizes(described);
    gDevice.currentBank = -1;
    SetPixelFormatFrom(described);
    // The DAC ports serve every mode of a VGA-compatible controller, also
    // those the BIOS marks as not VGA compatible.
    gMode.vgaCompatible = vga13 || !(gVbe.capabilities & kControllerNotVga);

    VBE_freePMCode();
    gMode.pmSetBank = VBE_getSetBank();
    gMode.pmSetDisplayStart = VBE_getSetDisplayStart();
    gMode.pmSetPalette = VBE_getSetPalette();
    gMode.bankRoutine = vga13 ? DoNothingBank : BankRoutineFor(info);
    gDevice.virtualActive = 0;
    gDevice.setActivePage = SetActivePageBanked;
    gDevice.setVisualPage = SetVisualPageVbe;

    // A mode used through its linear buffer may have no window to map.
    if (linear) {
        gDevice.frameMemory = MapOrEnd(VBE_getLinearPointer(&info));
        gDevice.setActivePage = SetActivePageLinear;
    } else {
        gDevice.frameMemory = MapOrEnd(vga13 ? TB_mapPhysicalAddr(kVgaWindow, kWindowLimit)
                                             : VBE_getBankedPointer(&info));
    }
    if (!linear && !vga13 && gDevice.canVirtualize && useVirtualBuffer && gDevice.pixelBits > 4) {
        if (uint8_t* buffer = StartVirtualBuffer(info)) {
            gDevice.frameMemory = buffer;
            gDevice.setActivePage = SetActivePageLinear;
            gDevice.virtualActive = 1;
            linear = true;
        }
    }

    SetRoutines(linear);
    TB_saveDS();
    if (gDevice.pixelBits == 8) {
        gMode.dacIs6Bit = true;
        if (useWideDac && VBE_setDACWidth(8)) gMode.dacIs6Bit = false;
        SV_setPalette(0, 256, SV_getDefPalette(), -1);
    }
    gDevice.setActivePage(0);
    gDevice.setVisualPage(0, 0);
    SV_clear(0);
    return 1;
}

} // namespace
} // namespace vidlib32

using namespace vidlib32;

extern "C" {

int32_t SV_setMode(int32_t mode, int32_t useWideDac, int32_t useVirtualBuffer,
                   int32_t bufferCount) {
    if (gDevice.accelDriver)
        return vbeaf::SetModeAccel(mode, -1, -1, useVirtualBuffer, bufferCount);
    return SetModeVbe(mode & ~SV_MODE_MULTIBUFFER, useWideDac, useVirtualBuffer);
}

// The virtual width is set after the mode; the lines are as many as video
// memory holds. A width the BIOS refuses leaves text mode behind. A driver
// sets the whole virtual screen itself.
int32_t SV_setVirtualMode(int32_t mode, int32_t virtualX, int32_t virtualY, int32_t useWideDac,
                          int32_t useVirtualBuffer, int32_t bufferCount) {
    if (gDevice.accelDriver)
        return vbeaf::SetModeAccel(mode | SV_MODE_VIRTUALSCROLL, virtualX, virtualY,
                                   useVirtualBuffer, bufferCount);
    if (!SetModeVbe(mode, useWideDac, useVirtualBuffer)) return 0;
    int32_t bytes = 0, pixels = 0, lines = 0;
    if (!VBE_setPixelsPerLine(virtualX, &bytes, &pixels, &lines)) {
        SV_restoreMode();
        return 0;
    }
    gDevice.lineBytes = bytes;
    gDevice.lastX = pixels - 1;
    gDevice.lastY = lines - 1;
    return 1;
}

} // extern "C"
