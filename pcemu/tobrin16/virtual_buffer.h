// The virtual linear buffer: a guest range as large as video memory whose
// banks are mapped on first touch. A touch of an unmapped bank faults; the
// fault handler runs the bank-switch code in the emulated processor, maps
// that bank onto video memory where the window now points, and takes the
// previous bank's mapping away.
#pragma once

#include <cstdint>

namespace pcemu {
class Machine;
}

namespace tobrin16 {

// Starts the buffer for the banked window at windowBase (bank size in KB)
// with `codeLength` bytes of bank-switch code at guest address codeAt (code
// that expects the bank in EAX and ends without a return). Returns the
// buffer's guest address, 0 when the window, bank size or code cannot be
// used. A buffer that is running is stopped first.
uint32_t StartVirtualBuffer(pcemu::Machine& pc, uint32_t windowBase, uint32_t bankKB,
                            uint32_t codeAt, uint32_t codeLength);
// Takes every bank mapping away, leaves the range without access and puts
// the previous fault handler back. Nothing when no buffer runs.
void StopVirtualBuffer();
uint64_t BankFaults();

} // namespace tobrin16
