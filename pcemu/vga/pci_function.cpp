#include "vga/pci_function.h"

namespace pcemu {
namespace {

constexpr uint32_t kBarPrefetchable = 0x08;

void Put16(std::array<uint8_t, 256>& c, unsigned at, uint16_t v) {
    c[at] = static_cast<uint8_t>(v);
    c[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(std::array<uint8_t, 256>& c, unsigned at, uint32_t v) {
    Put16(c, at, static_cast<uint16_t>(v));
    Put16(c, at + 2, static_cast<uint16_t>(v >> 16));
}

} // namespace

PciFunction::PciFunction(uint32_t base, uint32_t barSize) {
    uint32_t size = 0x10000;
    while (size < barSize && size < 0x80000000u)
        size <<= 1;
    barMask_ = ~(size - 1);
    setIds(0x1234, 0x1111);
    Put16(config_, 0x04, 0x0003); // I/O and memory decoding on
    config_[0x0A] = 0x00;         // subclass: VGA
    config_[0x0B] = 0x03;         // class: display controller
    barLow_ = base & barMask_;
    Put32(config_, 0x10, barLow_ | kBarPrefetchable);
}

void PciFunction::setIds(uint16_t vendor, uint16_t device) {
    Put16(config_, 0x00, vendor);
    Put16(config_, 0x02, device);
    Put16(config_, 0x2C, vendor); // subsystem
    Put16(config_, 0x2E, device);
}

uint16_t PciFunction::config16(unsigned offset) const {
    return static_cast<uint16_t>(config_[offset] | (config_[offset + 1] << 8));
}

int PciFunction::selected(uint16_t port) const {
    if (!(address_ & 0x80000000u)) return -1;
    uint32_t bus = (address_ >> 16) & 0xFF, device = (address_ >> 11) & 0x1F,
             function = (address_ >> 8) & 7;
    if (bus != 0 || device != kDevice || function != 0) return -1;
    return static_cast<int>((address_ & 0xFC) + (port - 0xCFC));
}

uint32_t PciFunction::in(uint16_t port, unsigned size) {
    if (port == 0xCF8 && size == 4) return address_;
    uint32_t none = size >= 4 ? 0xFFFFFFFFu : (1u << (8 * size)) - 1;
    if (port < 0xCFC) return none;
    int at = selected(port);
    if (at < 0) return none;
    uint32_t v = 0;
    for (unsigned i = 0; i < size && at + i < 256; ++i)
        v |= uint32_t{config_[at + i]} << (8 * i);
    return v;
}

void PciFunction::writeConfig(unsigned offset, uint8_t value) {
    if (offset == 0x04) {
        config_[0x04] = value & 0x07;
    } else if (offset >= 0x10 && offset < 0x14) {
        // BAR0: the bits below its size read back as zero (sizing).
        unsigned shift = 8 * (offset - 0x10);
        barLow_ = (barLow_ & ~(0xFFu << shift)) | (uint32_t{value} << shift);
        uint32_t bar = (barLow_ & barMask_) | kBarPrefetchable;
        Put32(config_, 0x10, bar);
    } else if (offset == 0x3C) {
        config_[0x3C] = value; // interrupt line
    }
}

void PciFunction::out(uint16_t port, uint32_t value, unsigned size) {
    if (port == 0xCF8) {
        if (size == 4) address_ = value;
        return;
    }
    if (port < 0xCFC) return;
    int at = selected(port);
    if (at < 0) return;
    for (unsigned i = 0; i < size && at + i < 256; ++i)
        writeConfig(at + i, static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace pcemu
