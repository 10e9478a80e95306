// Guest memory accesses as emulated code performs them: RAM through the host
// view, A0000h-BFFFFh through the adapter's memory model, register areas
// through their devices, nothing elsewhere.
#pragma once

#include "pcemu/address_space.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace pcemu {

// A device that answers guest memory accesses inside its range. Offsets are
// relative to the start of the range; size is 1, 2 or 4 bytes.
class MmioDevice {
public:
    virtual ~MmioDevice() = default;
    virtual uint32_t read(uint32_t offset, unsigned size) = 0;
    virtual void write(uint32_t offset, uint32_t value, unsigned size) = 0;
};

class MemoryBus {
public:
    explicit MemoryBus(AddressSpace& space) : space_(space), kinds_(space.kinds()) {}

    // The adapter's memory model for A0000h-BFFFFh (offsets from A0000h;
    // it receives single bytes).
    void attachVga(MmioDevice* vga) { vga_ = vga; }
    // A device's registers in the register area (F0000000h and up), in whole
    // 64 KB pieces. False if the range is outside that area or taken.
    bool mapDevice(uint32_t base, uint32_t size, MmioDevice* device);
    void unmapDevice(MmioDevice* device);

    uint32_t read(uint32_t addr, unsigned size) {
        if (direct(addr, size)) {
            if (size == 1) return space_.base()[addr];
            uint32_t v = 0;
            std::memcpy(&v, space_.base() + addr, size);
            return v;
        }
        return readSlow(addr, size);
    }
    void write(uint32_t addr, uint32_t value, unsigned size) {
        if (kinds_[addr >> kPieceShift] == PieceKind::Ram &&
            (addr & (kPieceSize - 1)) <= kPieceSize - size) {
            std::memcpy(space_.base() + addr, &value, size);
            return;
        }
        writeSlow(addr, value, size);
    }

    uint8_t read8(uint32_t addr) { return static_cast<uint8_t>(read(addr, 1)); }
    uint16_t read16(uint32_t addr) { return static_cast<uint16_t>(read(addr, 2)); }
    uint32_t read32(uint32_t addr) { return read(addr, 4); }
    void write8(uint32_t addr, uint8_t v) { write(addr, v, 1); }
    void write16(uint32_t addr, uint16_t v) { write(addr, v, 2); }
    void write32(uint32_t addr, uint32_t v) { write(addr, v, 4); }

    // Block copies through the same path (host views where possible).
    void readBlock(uint32_t addr, void* dst, size_t n);
    void writeBlock(uint32_t addr, const void* src, size_t n);

    AddressSpace& space() { return space_; }

private:
    bool direct(uint32_t addr, unsigned size) const {
        PieceKind k = kinds_[addr >> kPieceShift];
        return (k == PieceKind::Ram || k == PieceKind::Rom) &&
               (addr & (kPieceSize - 1)) <= kPieceSize - size;
    }
    uint32_t readSlow(uint32_t addr, unsigned size);
    void writeSlow(uint32_t addr, uint32_t value, unsigned size);
    uint8_t readByte(uint32_t addr);
    void writeByte(uint32_t addr, uint8_t value);
    struct DeviceRange {
        uint32_t base, size;
        MmioDevice* device;
    };
    const DeviceRange* findDevice(uint32_t addr) const;

    AddressSpace& space_;
    const PieceKind* kinds_;
    MmioDevice* vga_ = nullptr;
    std::vector<DeviceRange> devices_;
};

} // namespace pcemu
