#pragma once
// --bios and --vram choose the emulated PC, which is built while the
// libraries are loaded, before main runs, from PCEMU_BIOS and PCEMU_VRAM_KB.
// (A pre-initialiser's setenv does not survive: the C library installs the
// process's environment again when it starts.) So the program starts itself
// again with the environment set when the options ask for a different PC.
#include "command.h"

namespace svgatest {

// Returns when the PC in use is the one the options ask for; otherwise
// replaces the process with a new run of the same command line, or returns
// false when that cannot be done.
bool RunOnRequestedMachine(const Arguments& arguments, char** argv);

} // namespace svgatest
