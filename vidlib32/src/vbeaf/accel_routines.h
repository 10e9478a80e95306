#pragma once
// The routines a mode set on an accelerator driver puts into the record.
#include "vidlib32/vbeaf.h"

#include <cstdint>

namespace vidlib32::vbeaf {

// Page routines: the driver places the active buffer (OriginOffset) and
// clips the engine to it; the visible buffer is the driver's too.
void SetActivePageAccelBanked(int32_t page);
void SetActivePageAccelLinear(int32_t page);
void SetVisualPageAccel(int32_t page, int32_t waitForRetrace);

// For a mode the driver draws in: the engine clears, lines go to DrawLine
// when the driver has it, and every software access to video memory
// (pixels, bracketed lines, the caller's own) is bracketed by
// EnableDirectAccess/DisableDirectAccess or, without them, preceded by
// WaitTillIdle. The software routines of the depth must be in the record.
void UseAcceleratedRoutines(const AF_DriverHeader& driver);

} // namespace vidlib32::vbeaf
