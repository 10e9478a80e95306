#include "pcemu/memory_bus.h"

#include <algorithm>

namespace pcemu {

bool MemoryBus::mapDevice(uint32_t base, uint32_t size, MmioDevice* device) {
    if (!device || size == 0 || (base & (kPieceSize - 1)) != 0 || base < kRegisterAreaBase ||
        uint64_t{base} + size > (uint64_t{1} << 32))
        return false;
    uint32_t first = base >> kPieceShift;
    uint32_t pieces = static_cast<uint32_t>((uint64_t{size} + kPieceSize - 1) >> kPieceShift);
    for (uint32_t i = 0; i < pieces; ++i)
        if (kinds_[first + i] != PieceKind::None) return false;
    space_.setKind(first, pieces, PieceKind::Device);
    devices_.push_back({base, size, device});
    return true;
}

void MemoryBus::unmapDevice(MmioDevice* device) {
    for (const auto& d : devices_) {
        if (d.device != device) continue;
        uint32_t pieces = static_cast<uint32_t>((uint64_t{d.size} + kPieceSize - 1) >> kPieceShift);
        space_.setKind(d.base >> kPieceShift, pieces, PieceKind::None);
    }
    std::erase_if(devices_, [&](const DeviceRange& d) { return d.device == device; });
}

const MemoryBus::DeviceRange* MemoryBus::findDevice(uint32_t addr) const {
    for (const auto& d : devices_)
        if (addr >= d.base && addr - d.base < d.size) return &d;
    return nullptr;
}

uint8_t MemoryBus::readByte(uint32_t addr) {
    switch (kinds_[addr >> kPieceShift]) {
    case PieceKind::Ram:
    case PieceKind::Rom:
        return space_.base()[addr];
    case PieceKind::Vga:
        return vga_ ? static_cast<uint8_t>(vga_->read(addr - kVgaWindow, 1)) : 0xFF;
    case PieceKind::Device:
        if (const DeviceRange* d = findDevice(addr))
            return static_cast<uint8_t>(d->device->read(addr - d->base, 1));
        return 0xFF;
    case PieceKind::None:
        break;
    }
    return 0xFF;
}

void MemoryBus::writeByte(uint32_t addr, uint8_t value) {
    switch (kinds_[addr >> kPieceShift]) {
    case PieceKind::Ram:
        space_.base()[addr] = value;
        break;
    case PieceKind::Rom:
        if (addr >= space_.romProtectedEnd()) space_.base()[addr] = value;
        break;
    case PieceKind::Vga:
        if (vga_) vga_->write(addr - kVgaWindow, value, 1);
        break;
    case PieceKind::Device:
        if (const DeviceRange* d = findDevice(addr)) d->device->write(addr - d->base, value, 1);
        break;
    case PieceKind::None:
        break;
    }
}

uint32_t MemoryBus::readSlow(uint32_t addr, unsigned size) {
    // A device gets the whole access when it lies inside its range.
    if (kinds_[addr >> kPieceShift] == PieceKind::Device) {
        const DeviceRange* d = findDevice(addr);
        if (d && addr - d->base <= d->size - size) return d->device->read(addr - d->base, size);
    }
    uint32_t v = 0;
    for (unsigned i = 0; i < size; ++i)
        v |= uint32_t{readByte(addr + i)} << (8 * i);
    return v;
}

void MemoryBus::writeSlow(uint32_t addr, uint32_t value, unsigned size) {
    if (kinds_[addr >> kPieceShift] == PieceKind::Device) {
        const DeviceRange* d = findDevice(addr);
        if (d && addr - d->base <= d->size - size) {
            d->device->write(addr - d->base, value, size);
            return;
        }
    }
    for (unsigned i = 0; i < size; ++i)
        writeByte(addr + i, static_cast<uint8_t>(value >> (8 * i)));
}

void MemoryBus::readBlock(uint32_t addr, void* dst, size_t n) {
    auto* out = static_cast<uint8_t*>(dst);
    while (n > 0) {
        uint32_t inPiece = kPieceSize - (addr & (kPieceSize - 1));
        size_t chunk = std::min<size_t>(n, inPiece);
        PieceKind k = kinds_[addr >> kPieceShift];
        if (k == PieceKind::Ram || k == PieceKind::Rom) {
            std::memcpy(out, space_.base() + addr, chunk);
        } else {
            for (size_t i = 0; i < chunk; ++i)
                out[i] = readByte(addr + static_cast<uint32_t>(i));
        }
        out += chunk;
        n -= chunk;
        addr += static_cast<uint32_t>(chunk);
    }
}

void MemoryBus::writeBlock(uint32_t addr, const void* src, size_t n) {
    auto* in = static_cast<const uint8_t*>(src);
    while (n > 0) {
        uint32_t inPiece = kPieceSize - (addr & (kPieceSize - 1));
        size_t chunk = std::min<size_t>(n, inPiece);
        if (kinds_[addr >> kPieceShift] == PieceKind::Ram) {
            std::memcpy(space_.base() + addr, in, chunk);
        } else {
            for (size_t i = 0; i < chunk; ++i)
                writeByte(addr + static_cast<uint32_t>(i), in[i]);
        }
        in += chunk;
        n -= chunk;
        addr += static_cast<uint32_t>(chunk);
    }
}

} // namespace pcemu
