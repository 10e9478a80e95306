// The adapter as the model BIOS programs it: through its ports and its
// memory window, like BIOS code running on the processor would.
#pragma once

#include <cstdint>

namespace pcemu {
class PortBus;
class MemoryBus;
} // namespace pcemu

namespace pcemu::model {

class AdapterIo {
public:
    AdapterIo(PortBus& ports, MemoryBus& memory) : ports_(ports), memory_(memory) {}

    PortBus& ports() { return ports_; }
    MemoryBus& memory() { return memory_; }

    uint16_t bochs(uint16_t index);
    void setBochs(uint16_t index, uint16_t value);

    uint8_t seq(uint8_t index);
    void setSeq(uint8_t index, uint8_t value);
    uint8_t gc(uint8_t index);
    void setGc(uint8_t index, uint8_t value);
    uint8_t crtc(uint8_t index);
    void setCrtc(uint8_t index, uint8_t value);
    // Attribute controller registers; the palette address source bit is
    // set again afterwards, so the display stays on.
    uint8_t attr(uint8_t index);
    void setAttr(uint8_t index, uint8_t value);
    uint8_t misc();
    void setMisc(uint8_t value);

    // Polls input status 1 until a vertical retrace begins (bounded, so a
    // clock that stands still cannot hang the BIOS).
    void waitForRetrace();

private:
    // An index port and the data port after it.
    uint8_t indexed(uint16_t port, uint8_t index);
    void setIndexed(uint16_t port, uint8_t index, uint8_t value);

    PortBus& ports_;
    MemoryBus& memory_;
};

} // namespace pcemu::model
