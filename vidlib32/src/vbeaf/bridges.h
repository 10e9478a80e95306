#pragma once
// The two real-mode bridges a driver calls through its header's Int86 and
// CallRealMode fields: 32-bit trap stubs in guest memory whose handlers hand
// the DPMI real-mode call structure to the protected-mode services.
#include "vidlib32/vbeaf.h"

#include <cstdint>

namespace vidlib32::vbeaf {

// Guest addresses of the bridges, made on first use and kept for the
// process (the processor has few trap stubs); 0 when none could be made.
// Int86: EDI = the structure, BL = the interrupt. CallRealMode: EDI = the
// structure, whose CS:IP is the routine.
uint32_t Int86Bridge();
uint32_t CallRealModeBridge();

// What each bridge does with a structure (host copy): its registers' low 16
// bits and ES, DS go in; AX to DI come back zero-extended, and ES, DS; the
// flags word stays as it was.
void RunInt86(uint8_t interrupt, AF_RMRegs& regs);
void RunCallRealMode(AF_RMRegs& regs);

} // namespace vidlib32::vbeaf
