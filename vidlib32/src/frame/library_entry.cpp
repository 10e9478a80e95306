// Loading and unloading the library: its state starts clear, and the attach
// and detach notifications go on to the protected-mode services, which count
// their users.
#include "state.h"
#include "tobrin32/tobrin32.h"

#include <cstdlib>

namespace vidlib32 {
namespace {

char moduleTag = 0; // its address is this library's module handle

__attribute__((constructor)) void AttachOnLoad() {
    gDevice = {};
    gVbe = {};
    gMode = {};
    // The services print their own message when they cannot bind.
    if (!TB_DllEntryPoint(&moduleTag, TB_DLL_PROCESS_ATTACH, nullptr)) std::_Exit(1);
}

__attribute__((destructor)) void DetachOnUnload() {
    TB_DllEntryPoint(&moduleTag, TB_DLL_PROCESS_DETACH, nullptr);
}

} // namespace
} // namespace vidlib32
