// PCI configuration mechanism 1 (ports CF8h, CFCh-CFFh) with one function,
// the VGA adapter at 00:02.0: class 0300h, BAR0 = the linear buffer.
#pragma once

#include "pcemu/ports.h"

#include <array>
#include <cstdint>

namespace pcemu {

class PciFunction final : public PortDevice {
public:
    static constexpr uint16_t kFirst = 0xCF8;
    static constexpr uint16_t kLast = 0xCFF;
    static constexpr uint32_t kDevice = 2;

    // BAR0 decodes barSize bytes (rounded up to a power of two) at base.
    PciFunction(uint32_t base, uint32_t barSize);

    void setIds(uint16_t vendor, uint16_t device);
    uint16_t vendor() const { return config16(0x00); }
    uint16_t device() const { return config16(0x02); }

    uint32_t in(uint16_t port, unsigned size) override;
    void out(uint16_t port, uint32_t value, unsigned size) override;

private:
    // The configuration register offset the address register selects, or -1
    // when it names another (absent) function or is disabled.
    int selected(uint16_t port) const;
    uint16_t config16(unsigned offset) const;
    void writeConfig(unsigned offset, uint8_t value);

    std::array<uint8_t, 256> config_{};
    uint32_t address_ = 0;
    uint32_t barMask_;
    uint32_t barLow_ = 0; // bits of BAR0 a write collects before it applies
};

} // namespace pcemu
