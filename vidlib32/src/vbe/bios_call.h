#pragma once
// Calls of the video BIOS (interrupt 10h) through the protected-mode
// services, with and without a block through the transfer buffer.
#include "tobrin32/tobrin32.h"

#include <cstdint>

namespace vidlib32 {

// Interrupt 10h with registers in and out; AX is the BIOS's status.
void CallVbe(RealRegs& regs);

// Ends the process with the library's fatal message when no transfer buffer
// was given (VBE_init).
void RequireTransferBuffer();

// Interrupt 10h with ES:DI at the transfer buffer: `length` bytes of `block`
// go into the buffer before the call and come back after it. Without a
// buffer (VBE_init) the process ends with the library's fatal message; a
// block larger than the buffer is refused (false, nothing called).
bool CallVbeWithBuffer(RealRegs& regs, void* block, uint32_t length);

} // namespace vidlib32
