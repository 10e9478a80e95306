// Accesses through selectors, checked against their limits, and the data
// segment the library's near pointers are relative to.
#pragma once

#include <cstdint>
#include <optional>

namespace tobrin32 {

// The guest address of selector:offset when `size` bytes from there lie
// within the selector's limit. Otherwise the access is refused: nothing,
// and a line on stderr naming `who`.
std::optional<uint32_t> CheckedLinear(const char* who, uint32_t selector, uint32_t offset,
                                      uint32_t size);

// The program's data segment: the flat data selector of the emulated PC.
uint16_t CurrentDataSelector();

// The library's near pointer for guest address `linear` relative to a data
// segment based at `dataBase`.
void* NearPointer(uint32_t linear, uint32_t dataBase);

} // namespace tobrin32
