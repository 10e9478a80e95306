// The model BIOS: interrupt 10h written in C++ over the emulated adapter,
// in one of the personalities of personality.h.
#pragma once

#include "pcemu/bios.h"

namespace pcemu {

// For the model BIOS names of MachineConfig ("vbe20", "vbe12", ...).
BiosOrError MakeModelBios(const MachineConfig& config);

} // namespace pcemu
