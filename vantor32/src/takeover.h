#pragma once
// Internal entry of the takeover code used by the translation.
#include "vantor32/platform.h"

namespace vantor32 {

// Lets the user leave for another application and rebuilds the screen on
// return. `trigger` is the key message that asked for it, if any.
void SwitchAway(const Message* trigger);

} // namespace vantor32
