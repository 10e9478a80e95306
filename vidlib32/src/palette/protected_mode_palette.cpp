// The palette through the BIOS's protected-mode entry (VBE 2.0), run in the
// emulated processor: the entries are copied into guest memory, EDI holds
// their flat address, BL the wait flag, CX the count, DX the first index;
// the register area's selector, when the BIOS named one, is the data
// segment for the call.
#include "palette/palette_routes.h"

#include "state.h"
#include "vbe/guest_memory.h"
#include "vbe/pm_call.h"

#include <cstring>

namespace vidlib32::palette {

bool CallProtectedModePalette(int32_t start, int32_t count, const uint8_t* entries,
                              int32_t waitFlag) {
    if (count <= 0) return true;
    if (gMode.pmSetPalette == nullptr) return false;
    const size_t bytes = static_cast<size_t>(count) * 4;
    uint8_t* block = GuestAlloc(bytes);
    if (block == nullptr) return false;
    std::memcpy(block, entries, bytes);
    pcemu::CpuRegs regs;
    regs.ebx = static_cast<uint32_t>(waitFlag) & 0xFF;
    regs.ecx = static_cast<uint32_t>(count) & 0xFFFF;
    regs.edx = static_cast<uint32_t>(start) & 0xFFFF;
    regs.edi = GuestOf(block).value_or(0);
    regs.ds = gVbe.mmioSelector;
    bool ran = CallPmRoutine(gMode.pmSetPalette, regs);
    GuestFree(block);
    return ran && regs.ax() == 0x004F;
}

} // namespace vidlib32::palette

extern "C" void _VBE20_setPalette(int32_t start, int32_t count, const void* palette,
                                  int32_t waitForRetrace) {
    if (palette == nullptr) return;
    vidlib32::palette::CallProtectedModePalette(start, count, static_cast<const uint8_t*>(palette),
                                                waitForRetrace);
}
