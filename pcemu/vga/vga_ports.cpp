#include "vga/vga_ports.h"

#include "vga/dac.h"
#include "vga/display_timing.h"
#include "vga/vga_state.h"

namespace pcemu {

bool VgaPorts::active(uint16_t port) const {
    if (port >= 0x3B0 && port <= 0x3BF) return !vga_.colorPorts();
    if (port >= 0x3D0 && port <= 0x3DF) return vga_.colorPorts();
    return true;
}

uint8_t VgaPorts::inByte(uint16_t port) {
    if (!active(port)) return 0xFF;
    switch (port) {
    case 0x3C0:
        return vga_.attrIndex;
    case 0x3C1:
        return vga_.attr[vga_.attrIndex & 0x1F];
    case 0x3C2:
        return 0x00; // input status 0
    case 0x3C3:
        return vga_.videoEnable;
    case 0x3C4:
        return vga_.seqIndex;
    case 0x3C5:
        return vga_.seq[vga_.seqIndex & 0x07];
    case 0x3C6:
    case 0x3C7:
    case 0x3C8:
    case 0x3C9:
        return dac_.read(port);
    case 0x3CA:
        return vga_.featureControl;
    case 0x3CC:
        return vga_.misc;
    case 0x3CE:
        return vga_.gcIndex;
    case 0x3CF:
        return vga_.gc[vga_.gcIndex & 0x0F];
    case 0x3B4:
    case 0x3D4:
        return vga_.crtcIndex;
    case 0x3B5:
    case 0x3D5:
        return vga_.crtc[vga_.crtcIndex & 0x3F];
    case 0x3BA:
    case 0x3DA:
        vga_.attrExpectsData = false; // reading input status 1 resets the flip-flop
        return timing_.status();
    default:
        return 0xFF;
    }
}

void VgaPorts::writeCrtc(uint8_t value) {
    uint8_t index = vga_.crtcIndex & 0x3F;
    // Bit 7 of register 11h protects registers 0-7 (all but the line compare
    // bit 4 of register 7).
    if ((vga_.crtc[0x11] & 0x80) && index <= 7) {
        if (index == 7)
            vga_.crtc[7] = static_cast<uint8_t>((vga_.crtc[7] & ~0x10) | (value & 0x10));
        return;
    }
    vga_.crtc[index] = value;
}

void VgaPorts::writeAttribute(uint8_t value) {
    if (!vga_.attrExpectsData) {
        vga_.attrIndex = value & 0x3F;
    } else {
        uint8_t index = vga_.attrIndex & 0x1F;
        if (index < 0x15) vga_.attr[index] = value;
    }
    vga_.attrExpectsData = !vga_.attrExpectsData;
}

void VgaPorts::outByte(uint16_t port, uint8_t value) {
    if (!active(port)) return;
    switch (port) {
    case 0x3C0:
        writeAttribute(value);
        break;
    case 0x3C2:
        vga_.misc = value;
        break;
    case 0x3C3:
        vga_.videoEnable = value;
        break;
    case 0x3C4:
        vga_.seqIndex = value;
        break;
    case 0x3C5:
        vga_.seq[vga_.seqIndex & 0x07] = value;
        break;
    case 0x3C6:
    case 0x3C7:
    case 0x3C8:
    case 0x3C9:
        dac_.write(port, value);
        break;
    case 0x3CE:
        vga_.gcIndex = value;
        break;
    case 0x3CF:
        vga_.gc[vga_.gcIndex & 0x0F] = value;
        break;
    case 0x3B4:
    case 0x3D4:
        vga_.crtcIndex = value;
        break;
    case 0x3B5:
    case 0x3D5:
        writeCrtc(value);
        break;
    case 0x3BA:
    case 0x3DA:
        vga_.featureControl = value;
        break;
    default:
        break;
    }
}

} // namespace pcemu
