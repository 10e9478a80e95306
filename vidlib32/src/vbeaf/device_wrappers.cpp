// The wrappers of the driver's device entries: modes, banks, buffers,
// display start, palette and gamma, engine synchronisation, cursor.
#include "vbeaf/entry_call.h"
#include "vidlib32/vidlib32.h"

using namespace vidlib32::vbeaf;
using H = AF_DriverHeader;

namespace {

// SetVideoMode with the line length in ECX going in and coming back.
int32_t SetMode(H* driver, pcemu::CpuRegs regs, int32_t* bytesPerLine) {
    regs.ecx = bytesPerLine ? Reg(*bytesPerLine) : Reg(-1);
    const int32_t result = CallEntry(driver, &H::SetVideoMode, regs);
    if (bytesPerLine && result != kEntryFailed) *bytesPerLine = static_cast<int32_t>(regs.ecx);
    return result;
}

} // namespace

extern "C" {

int32_t AF_getVideoModeInfo(H* driver, int32_t mode, AF_ModeInfo* modeInfo) {
    GuestView info(modeInfo, modeInfo ? sizeof *modeInfo : 1, true);
    if (!info.ok()) return kEntryFailed;
    return CallEntry(driver, &H::GetVideoModeInfo,
                     {.eax = Reg(mode) & 0xFFFF, .edi = info.address()});
}

int32_t AF_setVideoMode(H* driver, int32_t mode, int32_t* bytesPerLine, int32_t bufferCount) {
    return SetMode(driver, {.eax = Reg(mode) & 0xFFFF, .edi = Reg(bufferCount)}, bytesPerLine);
}

int32_t AF_setVirtualVideoMode(H* driver, int32_t mode, int32_t virtualX, int32_t virtualY,
                               int32_t* bytesPerLine, int32_t bufferCount) {
    return SetMode(
        driver,
        {.eax = Reg(mode), .edx = Reg(virtualX), .esi = Reg(virtualY), .edi = Reg(bufferCount)},
        bytesPerLine);
}

int32_t AF_restoreTextMode(H* driver) {
    return CallEntry(driver, &H::RestoreTextMode, {});
}

int32_t AF_setBank(H* driver, int32_t bank) {
    return CallEntry(driver, &H::SetBank, {.edx = Reg(bank)});
}

int32_t AF_waitTillIdle(H* driver) {
    return CallEntry(driver, &H::WaitTillIdle, {});
}

int32_t AF_enableDirectAccess(H* driver) {
    return CallEntry(driver, &H::EnableDirectAccess, {});
}

int32_t AF_disableDirectAccess(H* driver) {
    return CallEntry(driver, &H::DisableDirectAccess, {});
}

int32_t AF_setDisplayStart(H* driver, int32_t x, int32_t y, int32_t waitForRetrace) {
    return CallEntry(driver, &H::SetDisplayStart,
                     {.eax = Reg(waitForRetrace), .ecx = Reg(x), .edx = Reg(y)});
}

int32_t AF_setActiveBuffer(H* driver, int32_t index) {
    return CallEntry(driver, &H::SetActiveBuffer, {.eax = Reg(index)});
}

int32_t AF_setVisibleBuffer(H* driver, int32_t index, int32_t waitForRetrace) {
    return CallEntry(driver, &H::SetVisibleBuffer, {.eax = Reg(index), .edx = Reg(waitForRetrace)});
}

int32_t AF_setPaletteData(H* driver, const AF_Palette* palette, int32_t count, int32_t start,
                          int32_t waitForRetrace) {
    if (count < 0) return kEntryFailed;
    GuestView entries(palette, sizeof(AF_Palette) * static_cast<size_t>(count));
    if (!entries.ok()) return kEntryFailed;
    return CallEntry(driver, &H::SetPaletteData,
                     {.eax = Reg(waitForRetrace),
                      .ecx = Reg(count),
                      .edx = Reg(start),
                      .esi = entries.address()});
}

int32_t AF_setGammaCorrectData(H* driver, const AF_Palette* data, int32_t count, int32_t start) {
    if (count < 0) return kEntryFailed;
    GuestView entries(data, sizeof(AF_Palette) * static_cast<size_t>(count));
    if (!entries.ok()) return kEntryFailed;
    return CallEntry(driver, &H::SetGammaCorrectData,
                     {.eax = Reg(start), .ecx = Reg(count), .esi = entries.address()});
}

int32_t AF_setCursor(H* driver, const AF_Cursor* cursor) {
    GuestView image(cursor, cursor ? sizeof *cursor : 1);
    if (!image.ok()) return kEntryFailed;
    return CallEntry(driver, &H::SetCursor, {.esi = image.address()});
}

int32_t AF_setCursorPos(H* driver, int32_t x, int32_t y) {
    return CallEntry(driver, &H::SetCursorPos, {.eax = Reg(x), .ecx = Reg(y)});
}

int32_t AF_setCursorColor(H* driver, uint8_t red, uint8_t green, uint8_t blue) {
    return CallEntry(driver, &H::SetCursorColor,
                     {.eax = uint32_t{red} | uint32_t{green} << 8, .ecx = blue});
}

int32_t AF_showCursor(H* driver, int32_t visible) {
    return CallEntry(driver, &H::ShowCursor, {.eax = Reg(visible)});
}

} // extern "C"
