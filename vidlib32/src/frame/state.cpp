// The library's shared state. Constant-initialised: the load-time
// constructor may run before any dynamic initialisation.
#include "state.h"

namespace vidlib32 {

SV_DeviceInfo gDevice = {};
VbeState gVbe;
ModeState gMode;

} // namespace vidlib32
