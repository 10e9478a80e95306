// The VGA register ports 3B0h-3DFh: sequencer, graphics controller, CRTC
// (at 3B4h/3B5h or 3D4h/3D5h as the misc output register selects),
// attribute controller, misc output, feature control, input status, DAC.
#pragma once

#include "pcemu/ports.h"

namespace pcemu {

struct VgaState;
class Dac;
class DisplayTiming;

class VgaPorts final : public BytePortDevice {
public:
    static constexpr uint16_t kFirst = 0x3B0;
    static constexpr uint16_t kLast = 0x3DF;

    VgaPorts(VgaState& vga, Dac& dac, const DisplayTiming& timing)
        : vga_(vga), dac_(dac), timing_(timing) {}

protected:
    uint8_t inByte(uint16_t port) override;
    void outByte(uint16_t port, uint8_t value) override;

private:
    // Ports 3Bxh answer in monochrome addressing, 3Dxh in colour.
    bool active(uint16_t port) const;
    void writeCrtc(uint8_t value);
    void writeAttribute(uint8_t value);

    VgaState& vga_;
    Dac& dac_;
    const DisplayTiming& timing_;
};

} // namespace pcemu
