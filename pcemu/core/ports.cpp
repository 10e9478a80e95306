#include "pcemu/ports.h"

namespace pcemu {

uint32_t BytePortDevice::in(uint16_t port, unsigned size) {
    uint32_t v = 0;
    for (unsigned i = 0; i < size; ++i)
        v |= uint32_t{inByte(static_cast<uint16_t>(port + i))} << (8 * i);
    return v;
}

void BytePortDevice::out(uint16_t port, uint32_t value, unsigned size) {
    for (unsigned i = 0; i < size; ++i)
        outByte(static_cast<uint16_t>(port + i), static_cast<uint8_t>(value >> (8 * i)));
}

// The BIOS debug ports: text written there is kept (up to a bound), reads
// give FFh.
class PortBus::DebugPorts final : public BytePortDevice {
public:
    static constexpr size_t kMaxText = 64 * 1024;
    std::string text;

protected:
    uint8_t inByte(uint16_t) override { return 0xFF; }
    void outByte(uint16_t, uint8_t value) override {
        if (text.size() < kMaxText) text.push_back(static_cast<char>(value));
    }
};

PortBus::PortBus() : owner_(0x10000, 0), debug_(std::make_unique<DebugPorts>()) {
    attach(0x402, 0x402, debug_.get());
    attach(0x500, 0x500, debug_.get());
}

PortBus::~PortBus() = default;

bool PortBus::attach(uint16_t first, uint16_t last, PortDevice* device) {
    if (!device || last < first) return false;
    for (uint32_t p = first; p <= last; ++p)
        if (owner_[p] != 0) return false;
    size_t index = 0;
    while (index < devices_.size() && devices_[index] != device)
        ++index;
    if (index == devices_.size()) {
        if (devices_.size() >= 255) return false;
        devices_.push_back(device);
    }
    for (uint32_t p = first; p <= last; ++p)
        owner_[p] = static_cast<uint8_t>(index + 1);
    return true;
}

uint32_t PortBus::in(uint16_t port, unsigned size) {
    uint8_t owner = owner_[port];
    if (owner == 0) return size >= 4 ? 0xFFFFFFFFu : (1u << (8 * size)) - 1;
    return devices_[owner - 1]->in(port, size);
}

void PortBus::out(uint16_t port, uint32_t value, unsigned size) {
    uint8_t owner = owner_[port];
    if (owner != 0) devices_[owner - 1]->out(port, value, size);
}

const std::string& PortBus::debugText() const {
    return debug_->text;
}

} // namespace pcemu
