// The adapter's memory model for A0000h-BFFFFh: planar access with latches
// and the four write modes, chain-4, odd/even, and the banked window of the
// Bochs interface. Video memory holds plane p of planar address a at byte
// a * 4 + p, so chain-4 address x is byte x (mode 13h pixel (x, y) at
// y * 320 + x).
#pragma once

#include "pcemu/memory_bus.h"

#include <cstdint>
#include <optional>

namespace pcemu {

class AddressSpace;
class BochsInterface;
struct VgaState;

class VgaMemory final : public MmioDevice {
public:
    VgaMemory(VgaState& vga, const BochsInterface& bochs, AddressSpace& space)
        : vga_(vga), bochs_(bochs), space_(space) {}

    // Offsets from A0000h; accesses wider than a byte are taken byte by byte.
    uint32_t read(uint32_t offset, unsigned size) override;
    void write(uint32_t offset, uint32_t value, unsigned size) override;

private:
    uint8_t readByte(uint32_t offset);
    void writeByte(uint32_t offset, uint8_t value);
    // The offset inside the window the graphics controller maps, if any.
    std::optional<uint32_t> mapped(uint32_t offset) const;
    uint8_t readPlanar(uint32_t planar, uint32_t planarLimit, int oddEvenPlane);
    void writePlanar(uint32_t planar, uint32_t planarLimit, uint8_t value, uint8_t planes);
    uint32_t latchValue(uint8_t value) const;

    VgaState& vga_;
    const BochsInterface& bochs_;
    AddressSpace& space_;
};

} // namespace pcemu
