#include "vga/bochs_register_block.h"

#include "vga/bochs_interface.h"

namespace pcemu {

uint32_t BochsRegisterBlock::read(uint32_t offset, unsigned size) {
    uint32_t v = 0;
    for (unsigned i = 0; i < size; ++i) {
        uint32_t at = offset + i;
        uint16_t reg = bochs_.read(static_cast<uint16_t>(at / 2));
        v |= uint32_t{static_cast<uint8_t>(reg >> (8 * (at & 1)))} << (8 * i);
    }
    return v;
}

// Whole words go to their register; a single byte replaces its half of the
// register's current value.
void BochsRegisterBlock::write(uint32_t offset, uint32_t value, unsigned size) {
    unsigned i = 0;
    while (i < size) {
        uint32_t at = offset + i;
        auto index = static_cast<uint16_t>(at / 2);
        if ((at & 1) == 0 && size - i >= 2) {
            bochs_.write(index, static_cast<uint16_t>(value >> (8 * i)));
            i += 2;
            continue;
        }
        uint16_t reg = bochs_.read(index);
        auto byte = static_cast<uint8_t>(value >> (8 * i));
        reg = (at & 1) ? static_cast<uint16_t>((reg & 0x00FF) | (byte << 8))
                       : static_cast<uint16_t>((reg & 0xFF00) | byte);
        bochs_.write(index, reg);
        ++i;
    }
}

} // namespace pcemu
