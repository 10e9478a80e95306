#pragma once
// The 256-byte area in guest memory that receives the strings and the mode
// list of the last detected info block.
#include "vbe/records.h"

#include <cstdint>

namespace vidlib32 {

inline constexpr uint32_t kStringAreaBytes = 256;

// Copies the OEM string (and, for version 2.0 and later, the vendor,
// product and revision strings) and the mode list from real-mode memory into
// the area, one right after the other, and replaces their pointers in the
// block with the 32-bit flat addresses of the copies.
//
// Everything must fit in 256 bytes. The mode list comes first in the
// sharing: it is kept whole (with its terminator) while it leaves at least
// one byte per string, and only a list that alone cannot fit is cut. The
// strings then share what remains, in order, each cut short (and still
// terminated) where it would leave the strings after it no byte.
// False when the area cannot be had.
bool RelocateInfoBlock(VbeInfoBlock& info, bool vbe2);

} // namespace vidlib32
