#include "vga/dac.h"

#include "pcemu/image.h"

namespace pcemu {

uint8_t Dac::read(uint16_t port) {
    switch (port) {
    case 0x3C6:
        return pelMask_;
    case 0x3C7:
        return state_;
    case 0x3C8:
        return writeIndex_;
    case 0x3C9: {
        uint8_t v = entries_[readIndex_][readComponent_];
        if (++readComponent_ == 3) {
            readComponent_ = 0;
            ++readIndex_;
        }
        return v;
    }
    default:
        return 0xFF;
    }
}

void Dac::write(uint16_t port, uint8_t value) {
    switch (port) {
    case 0x3C6:
        pelMask_ = value;
        break;
    case 0x3C7:
        readIndex_ = value;
        readComponent_ = 0;
        state_ = 0x03;
        break;
    case 0x3C8:
        writeIndex_ = value;
        writeComponent_ = 0;
        state_ = 0x00;
        break;
    case 0x3C9:
        entries_[writeIndex_][writeComponent_] = wide_ ? value : (value & 0x3F);
        if (++writeComponent_ == 3) {
            writeComponent_ = 0;
            ++writeIndex_;
        }
        break;
    default:
        break;
    }
}

uint32_t Dac::raw(uint8_t index) const {
    const auto& e = entries_[index];
    return (uint32_t{e[0]} << 16) | (uint32_t{e[1]} << 8) | e[2];
}

void Dac::table(std::array<uint32_t, 256>& out) const {
    unsigned bits = wide_ ? 8 : 6;
    for (unsigned v = 0; v < 256; ++v) {
        const auto& e = entries_[v & pelMask_];
        out[v] = (uint32_t{WidenField(e[0], bits)} << 16) |
                 (uint32_t{WidenField(e[1], bits)} << 8) | WidenField(e[2], bits);
    }
}

} // namespace pcemu
