// A real VGA BIOS ROM from a Debian package, loaded at C0000h and started
// through its init entry like a PC's POST does.
#pragma once

#include "pcemu/bios.h"

namespace pcemu {

// For the rom:* names of MachineConfig.
BiosOrError MakeRomBios(const MachineConfig& config);

} // namespace pcemu
