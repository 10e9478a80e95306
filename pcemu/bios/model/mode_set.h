// Setting a mode: the VGA registers and colours, the Bochs interface for
// SVGA modes, video memory, fonts, and the BIOS data area.
#pragma once

#include "bios/model/adapter_io.h"
#include "bios/model/mode_table.h"
#include "bios/model/personality.h"

namespace pcemu::model {

struct ModeSetting {
    const ModeSpec* mode;
    bool linear;     // SVGA: the linear frame buffer is enabled
    bool keepMemory; // video memory is not cleared
};

// Programs the adapter for the mode; false when the adapter refused it (the
// Bochs interface stays off for a mode that does not fit).
bool ProgramMode(AdapterIo& io, const Personality& p, const ModeSetting& setting);

} // namespace pcemu::model
