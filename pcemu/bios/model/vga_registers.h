// VGA register sets of the modes the model BIOS sets, the default colour
// tables, and loading both through the ports.
#pragma once

#include "bios/model/adapter_io.h"
#include "bios/model/mode_table.h"

#include <array>
#include <cstdint>

namespace pcemu::model {

struct VgaRegisters {
    uint8_t misc;
    std::array<uint8_t, 4> seq;   // sequencer 1-4 (0 is the reset register)
    std::array<uint8_t, 25> crtc; // 00h-18h
    std::array<uint8_t, 9> gc;    // 00h-08h
    std::array<uint8_t, 21> attr; // 00h-14h
};

// The register set a mode starts from: its own for text modes, 12h's for
// every 16-colour mode and 13h's for every other graphics mode (the SVGA
// modes then take over the display through the Bochs interface).
const VgaRegisters& RegistersFor(const ModeSpec& mode);

// Sequencer reset, misc, sequencer, CRTC (protection lifted), graphics
// controller and attribute controller, display on.
void LoadVgaRegisters(AdapterIo& io, const VgaRegisters& regs);

// The DAC after a mode set: the 64 colours of the 16-colour modes (text and
// planar), or the 256-colour table (16 colours, 16 greys, 9 x 24 hues).
// Six bits per primary; entries past the table are black.
void LoadDefaultDac(AdapterIo& io, const ModeSpec& mode);

// The 6-bit default table: entry i at [3i] red, [3i+1] green, [3i+2] blue.
const std::array<uint8_t, 768>& Default256Colours();
const std::array<uint8_t, 192>& Default64Colours();

} // namespace pcemu::model
