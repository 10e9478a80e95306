#include "maprun/fullscreen/vgaports.h"

namespace maprun {

namespace {

// Bit 0 of the input status: the display is blanked (between lines or frames).
bool Blanked(pcemu::PortBus& ports) {
    return (ports.in8(kInputStatusPort) & pcemu::vga::kDisplayDisabled) != 0;
}

// Waits for the next change of the blanking bit from clear to set.
void WaitForBlankingStart(pcemu::PortBus& ports) {
    while (Blanked(ports)) {
    }
    while (!Blanked(ports)) {
    }
}

} // namespace

void LoadVGAPalette(pcemu::PortBus& ports, const RgbQuad (&palette)[256]) {
    ports.out8(kDacWriteIndexPort, 0);
    for (const RgbQuad& entry : palette) {
        ports.out8(kDacDataPort, entry.rgbRed >> 2);
        ports.out8(kDacDataPort, entry.rgbGreen >> 2);
        ports.out8(kDacDataPort, entry.rgbBlue >> 2);
    }
}

void RasterMarker(pcemu::PortBus& ports) {
    ports.out8(kDacWriteIndexPort, 0);
    ports.out8(kDacDataPort, 0xFF);
    ports.out8(kDacDataPort, 0xFF);
    WaitForBlankingStart(ports);
    ports.out8(kDacDataPort, 0xFF); // the third primary makes colour 0 white
    ports.out8(kDacWriteIndexPort, 0);
    ports.out8(kDacDataPort, 0);
    ports.out8(kDacDataPort, 0);
    WaitForBlankingStart(ports);
    ports.out8(kDacDataPort, 0); // and black from here on
}

} // namespace maprun
