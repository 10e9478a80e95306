// The model BIOS's x86 routines, assembled from bios/asm/ while building.
#pragma once

#include <cstdint>
#include <span>

namespace pcemu::x86_code {

// Protected-mode interface tables (VBE function 0Ah), whole.
extern const std::span<const uint8_t> kPmTablePorts; // one window, ports
extern const std::span<const uint8_t> kPmTableDual;  // A reads, B writes, ports
extern const std::span<const uint8_t> kPmTableMmio;  // registers through ES
extern const std::span<const uint8_t> kPmTableFbad;  // 0FBADFBADh length marker
// The far routines behind WinFuncPtr.
extern const std::span<const uint8_t> kWinFunc;
extern const std::span<const uint8_t> kWinFuncDual;

} // namespace pcemu::x86_code
