// The VGA register file, shared by the port decoder, the memory model and
// the scanout.
#pragma once

#include <array>
#include <cstdint>

namespace pcemu {

struct VgaState {
    uint8_t misc = 0x01; // colour I/O addresses (3Dxh)
    uint8_t featureControl = 0;
    uint8_t videoEnable = 1;
    uint8_t seqIndex = 0;
    std::array<uint8_t, 8> seq{};
    uint8_t gcIndex = 0;
    std::array<uint8_t, 16> gc{};
    uint8_t crtcIndex = 0;
    std::array<uint8_t, 64> crtc{};
    uint8_t attrIndex = 0;        // with the palette address source bit (20h)
    bool attrExpectsData = false; // the 3C0h flip-flop
    std::array<uint8_t, 32> attr{};
    uint32_t latch = 0; // plane p in byte p

    // Sequencer and graphics controller fields used by the memory model.
    uint8_t mapMask() const { return seq[2] & 0x0F; }
    bool chain4() const { return (seq[4] & 0x08) != 0; }
    bool oddEvenWrites() const { return (seq[4] & 0x04) == 0; }
    bool oddEvenReads() const { return (gc[5] & 0x10) != 0; }
    unsigned writeMode() const { return gc[5] & 0x03; }
    bool readMode1() const { return (gc[5] & 0x08) != 0; }
    unsigned memoryMap() const { return (gc[6] >> 2) & 0x03; }
    bool graphics() const { return (gc[6] & 0x01) != 0; }
    bool colorPorts() const { return (misc & 0x01) != 0; }

    // CRTC values the scanout needs.
    uint32_t startAddress() const { return (uint32_t{crtc[0x0C]} << 8) | crtc[0x0D]; }
    unsigned verticalDisplayEnd() const {
        return crtc[0x12] | ((crtc[0x07] & 0x02u) << 7) | ((crtc[0x07] & 0x40u) << 3);
    }
    unsigned charHeight() const { return (crtc[0x09] & 0x1F) + 1u; }
    bool doubleScan() const { return (crtc[0x09] & 0x80) != 0; }
};

// A byte per plane from a 4-bit plane set: bit p becomes FFh in byte p.
constexpr uint32_t ExpandPlanes(uint8_t bits) {
    return ((bits & 1) ? 0x000000FFu : 0) | ((bits & 2) ? 0x0000FF00u : 0) |
           ((bits & 4) ? 0x00FF0000u : 0) | ((bits & 8) ? 0xFF000000u : 0);
}

} // namespace pcemu
