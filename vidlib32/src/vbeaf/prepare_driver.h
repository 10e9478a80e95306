#pragma once
// Checking a driver image and filling in what its header asks of the
// loader: mapped register areas and video memory, selectors, the bridges.
#include "vidlib32/vbeaf.h"

#include <cstddef>
#include <cstdint>

namespace vidlib32::vbeaf {

// AF_STATUS_OK, or why the image cannot be used: NOT_A_DRIVER (shorter than
// the header, no "VBEAF.DRV" with its terminating zero, or an InitDriver
// outside the image), OLD_VERSION (below 1.0), NO_MAPPING (a physical area
// could not be mapped). `length` is the file's length.
int32_t PrepareDriver(AF_DriverHeader& header, size_t length);

// The process-wide mappings and selectors handed to every driver, as guest
// addresses; 0 where nothing was made yet.
struct DriverMappings {
    uint32_t ioMemory[4] = {};
    uint32_t banked = 0;
    uint32_t linear = 0;
    uint32_t selectors[5] = {}; // 0000h, 0040h, A000h, B000h, C000h
};
const DriverMappings& CurrentMappings();

} // namespace vidlib32::vbeaf
