#pragma once
// Memory the emulated processor sees: the library keeps its copies of BIOS
// data there, and converts between guest (flat 32-bit) addresses and host
// pointers.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vidlib32 {

// Zeroed guest memory; null when the guest heap is full.
uint8_t* GuestAlloc(size_t size);
void GuestFree(void* host);

// The host pointer of a guest address, and the guest address of a host
// pointer inside the guest space (nothing for one outside it).
uint8_t* HostOf(uint32_t guest);
std::optional<uint32_t> GuestOf(const void* host);

} // namespace vidlib32
