#pragma once
// The device record on an accelerator driver: what SV_init reports, how
// SV_getModeInfo describes a mode and how a mode is set.
#include "vidlib32/vidlib32.h"

#include <cstddef>
#include <cstdint>

namespace vidlib32::vbeaf {

// Makes `driver` the record's accelDriver and describes it: the modes of
// its list that it describes (as many as `modeEntries` holds with the
// 0xFFFF terminator), its capabilities, memory, linear buffer and vendor
// name (cut to `nameBytes` with its zero), version 0x0200.
void DescribeDriver(AF_DriverHeader& driver, uint16_t* modes, size_t modeEntries, char* name,
                    size_t nameBytes);

// SV_getModeInfo for a mode number (flags stripped, 100h or above) on the
// record's driver: 1, or 0 when the driver does not describe it.
int32_t DriverModeInfo(int32_t number, SV_ModeInfo* modeInfo);

// Sets a mode through the record's driver and fills the record: 1, or 0
// when the mode cannot be used (below 100h, not described, a depth without
// routines, no window or linear buffer for the access asked) or the driver
// refuses it. virtualX and virtualY count with SV_MODE_VIRTUALSCROLL only.
int32_t SetModeAccel(int32_t mode, int32_t virtualX, int32_t virtualY, int32_t useVirtualBuffer,
                     int32_t bufferCount);

} // namespace vidlib32::vbeaf
