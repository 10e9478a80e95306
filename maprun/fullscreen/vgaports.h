#pragma once
// The VGA registers the fullscreen loop programs directly: the colour table
// (DAC) through its write-index and data ports, and a one-line marker of
// where the beam is when a frame is complete.
#include "maprun/core/framebuffer.h"

#include "pcemu/ports.h"
#include "pcemu/vga_ports.h"

namespace maprun {

inline constexpr uint16_t kDacWriteIndexPort = pcemu::vga::kDacWriteIndex;
inline constexpr uint16_t kDacDataPort = pcemu::vga::kDacData;
inline constexpr uint16_t kInputStatusPort = pcemu::vga::kInputStatus;

// Loads all 256 entries from index 0, each primary cut to six bits.
void LoadVGAPalette(pcemu::PortBus& ports, const RgbQuad (&palette)[256]);

// Turns colour 0 white for about one scan line at the beam's position, then
// black until the palette is loaded again.
void RasterMarker(pcemu::PortBus& ports);

} // namespace maprun
