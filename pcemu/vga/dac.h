// The colour DAC: 256 entries of red, green, blue behind ports 3C6h-3C9h.
#pragma once

#include <array>
#include <cstdint>

namespace pcemu {

class Dac {
public:
    uint8_t read(uint16_t port);
    void write(uint16_t port, uint8_t value);

    // 8 bits per primary (set through the Bochs interface) or 6.
    void setWide(bool wide) { wide_ = wide; }
    bool wide() const { return wide_; }

    // The raw entry as stored, 0x00RRGGBB.
    uint32_t raw(uint8_t index) const;
    // RGB for every pixel value: pel mask applied, values widened to 8 bits.
    void table(std::array<uint32_t, 256>& out) const;

private:
    std::array<std::array<uint8_t, 3>, 256> entries_{};
    uint8_t pelMask_ = 0xFF;
    uint8_t writeIndex_ = 0, writeComponent_ = 0;
    uint8_t readIndex_ = 0, readComponent_ = 0;
    uint8_t state_ = 0; // 3C7h: 00 after a write index, 03 after a read index
    bool wide_ = false;
};

} // namespace pcemu
