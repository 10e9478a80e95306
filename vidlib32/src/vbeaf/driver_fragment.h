#pragma once
// The driver's bank switch framed for the virtual linear buffer.
#include "vidlib32/vbeaf.h"

#include <cstdint>

namespace vidlib32::vbeaf {

// Builds the fragment in the library's second 100-byte bank code area: save
// EBX and ECX, move the bank from EAX to EDX, the driver's SetBank32 code
// without its final return, restore ECX and EBX (SetBank32Len + 5 bytes).
// False, and nothing built, when the driver has no SetBank32 or the
// fragment would not fit the area.
bool BuildDriverBankFragment(const AF_DriverHeader& driver, int32_t* length, void** code);

} // namespace vidlib32::vbeaf
