#pragma once
// Waiting on the VGA input status register (port 3DAh).

namespace vidlib32 {

// Polls until bit 0 (display disabled: blanking) is clear.
void WaitForDisplayEnable();
// Polls until bit 3 (vertical retrace) is set.
void WaitForVerticalRetrace();

} // namespace vidlib32
