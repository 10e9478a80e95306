// svgatest afload [DIR]: loads a VBE/AF driver as the library looks for it
// (drive C's folder from PCEMU_DRIVE_C, VBEAF_PATH, then DIR) and prints
// "status N: MESSAGE"; exit code 0 when a driver loaded.
#include "command.h"
#include "vidlib32/vidlib32.h"

#include <cstdio>

namespace svgatest {
namespace {

int RunAfLoad(const Arguments& arguments) {
    if (arguments.positional.size() > 1) return Fail("usage: svgatest afload [DIR]");
    const char* directory =
        arguments.positional.empty() ? nullptr : arguments.positional.front().c_str();
    AF_DriverHeader* driver = AF_loadDriver(directory);
    const int32_t status = AF_status();
    std::printf("status %d: %s\n", status, AF_errorMsg(status));
    if (!driver) return 1;
    AF_unloadDriver(driver);
    return 0;
}

const RegisterCommand kAfLoad{"afload", "afload [DIR] [--bios NAME] [--vram KB]", RunAfLoad};

} // namespace
} // namespace svgatest
