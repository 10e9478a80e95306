// The I/O port bus: devices registered by port range; unknown ports read FFh.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pcemu {

// A device on the port bus. It receives the whole access (size 1, 2 or 4) at
// the first port; devices with byte registers derive from BytePortDevice.
class PortDevice {
public:
    virtual ~PortDevice() = default;
    virtual uint32_t in(uint16_t port, unsigned size) = 0;
    virtual void out(uint16_t port, uint32_t value, unsigned size) = 0;
};

// Splits wider accesses into bytes on consecutive ports, as the bus of a PC
// does for 8-bit devices (out dx, ax to 3C4h writes 3C4h and 3C5h).
class BytePortDevice : public PortDevice {
public:
    uint32_t in(uint16_t port, unsigned size) override;
    void out(uint16_t port, uint32_t value, unsigned size) override;

protected:
    virtual uint8_t inByte(uint16_t port) = 0;
    virtual void outByte(uint16_t port, uint8_t value) = 0;
};

class PortBus {
public:
    PortBus();
    ~PortBus();
    PortBus(const PortBus&) = delete;
    PortBus& operator=(const PortBus&) = delete;
    // Ports first..last belong to the device. False if any is taken.
    bool attach(uint16_t first, uint16_t last, PortDevice* device);

    uint32_t in(uint16_t port, unsigned size);
    void out(uint16_t port, uint32_t value, unsigned size);

    uint8_t in8(uint16_t port) { return static_cast<uint8_t>(in(port, 1)); }
    uint16_t in16(uint16_t port) { return static_cast<uint16_t>(in(port, 2)); }
    uint32_t in32(uint16_t port) { return in(port, 4); }
    void out8(uint16_t port, uint8_t v) { out(port, v, 1); }
    void out16(uint16_t port, uint16_t v) { out(port, v, 2); }
    void out32(uint16_t port, uint32_t v) { out(port, v, 4); }

    // Text written to the BIOS debug ports (402h, 500h), for diagnostics.
    const std::string& debugText() const;

private:
    class DebugPorts;
    std::vector<PortDevice*> devices_;
    std::vector<uint8_t> owner_; // per port: index into devices_ + 1, 0 = none
    std::unique_ptr<DebugPorts> debug_;
};

} // namespace pcemu
