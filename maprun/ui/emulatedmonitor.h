#pragma once
// What the fullscreen window shows: the emulated display adapter's picture,
// at the adapter's refresh rate.
#include "vantor32qt/qtbackend.h"

namespace maprun {

vantor32qt::ScreenSource EmulatedMonitor();

} // namespace maprun
