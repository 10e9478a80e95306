#pragma once
// Choosing the 640 x 400 mode with 256 colours from the display's mode list.
#include "vidlib32/vidlib32.h"

#include <cstdint>

namespace maprun {

// Describes a mode as SV_getModeInfo does: 1 and the record, or 0.
using TModeInfoQuery = int32_t (*)(int32_t mode, SV_ModeInfo* info);

// The last mode of `modes` (ended by 0xFFFF, at most kMaxModeListLength
// numbers with the end) that `query` describes as 640 x 400 with 640 bytes
// per line and 8 bits per pixel; 0 when none is, or when `modes` is null.
uint16_t FindMode640x400(const uint16_t* modes, TModeInfoQuery query = SV_getModeInfo);

// The device record's mode list holds at most this many numbers, its end included.
inline constexpr int kMaxModeListLength = 100;

} // namespace maprun
