#pragma once
// Running a routine of the protected-mode table copy in place, in the
// emulated processor's 32-bit protected mode.
#include "pcemu/cpu_regs.h"

namespace vidlib32 {

// `entry` is a host pointer into the copy; segment fields of `regs` are
// selectors (0: flat data). False when the routine did not complete; a line
// on stderr says why.
bool CallPmRoutine(const void* entry, pcemu::CpuRegs& regs);

} // namespace vidlib32
