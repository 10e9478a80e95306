#include "environment.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace svgatest {
namespace {

// True when the variable must change to hold `wanted`.
bool Differs(const char* name, const std::string& wanted) {
    const char* now = std::getenv(name);
    return !now || wanted != now;
}

} // namespace

bool RunOnRequestedMachine(const Arguments& arguments, char** argv) {
    bool restart = false;
    if (arguments.bios && Differs("PCEMU_BIOS", *arguments.bios)) {
        setenv("PCEMU_BIOS", arguments.bios->c_str(), 1);
        restart = true;
    }
    if (arguments.vramKB) {
        const std::string kb = std::to_string(*arguments.vramKB);
        if (Differs("PCEMU_VRAM_KB", kb)) {
            setenv("PCEMU_VRAM_KB", kb.c_str(), 1);
            restart = true;
        }
    }
    if (!restart) return true;
    // The second run finds the environment as the options want it.
    execv("/proc/self/exe", argv);
    return false;
}

} // namespace svgatest
