#include "vbe/pm_call.h"

#include "pcemu/machine.h"
#include "vbe/guest_memory.h"

#include <cstdio>

namespace vidlib32 {

bool CallPmRoutine(const void* entry, pcemu::CpuRegs& regs) {
    const std::optional<uint32_t> at = GuestOf(entry);
    if (!entry || !at) return false;
    const pcemu::RunResult run = pcemu::TheMachine().call32(*at, regs);
    if (!run.ok())
        std::fprintf(stderr, "vidlib32: the BIOS's protected-mode routine at %08X failed: %s\n",
                     *at, run.message.c_str());
    return run.ok();
}

} // namespace vidlib32
