// Real-mode memory blocks (service 5 and 6): conventional memory of the
// emulated PC, each block with a selector of its own.
#pragma once

#include "services.h"

#include <cstdint>

namespace tobrin16 {

// Allocates call.value[0] bytes. Writes the selector, the offset (0), the
// real-mode segment and offset (0) to the four output records that were
// handed over; returns the block's linear address, 0 on failure.
uint32_t AllocRealMemory(const Call& call);
// Frees a block by the selector and offset that allocation gave; anything
// else is ignored.
void FreeRealMemory(uint32_t selector, uint32_t offset);

} // namespace tobrin16
