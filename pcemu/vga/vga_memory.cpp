#include "vga/vga_memory.h"

#include "pcemu/address_space.h"
#include "vga/bochs_interface.h"
#include "vga/vga_state.h"

#include <cstring>

namespace pcemu {
namespace {

constexpr uint32_t kVgaPlaneSize = 0x10000; // 64 KB per plane: 256 KB VGA memory

uint32_t Load32(const uint8_t* vram, uint32_t planar) {
    uint32_t v;
    std::memcpy(&v, vram + uint64_t{planar} * 4, 4);
    return v;
}

void Store32(uint8_t* vram, uint32_t planar, uint32_t v) {
    std::memcpy(vram + uint64_t{planar} * 4, &v, 4);
}

uint8_t Rotate(uint8_t v, unsigned count) {
    count &= 7;
    return count ? static_cast<uint8_t>((v >> count) | (v << (8 - count))) : v;
}

} // namespace

uint32_t VgaMemory::read(uint32_t offset, unsigned size) {
    uint32_t v = 0;
    for (unsigned i = 0; i < size; ++i)
        v |= uint32_t{readByte(offset + i)} << (8 * i);
    return v;
}

void VgaMemory::write(uint32_t offset, uint32_t value, unsigned size) {
    for (unsigned i = 0; i < size; ++i)
        writeByte(offset + i, static_cast<uint8_t>(value >> (8 * i)));
}

std::optional<uint32_t> VgaMemory::mapped(uint32_t offset) const {
    switch (vga_.memoryMap()) {
    case 0:
        return offset < 0x20000 ? std::optional<uint32_t>(offset) : std::nullopt;
    case 1:
        return offset < 0x10000 ? std::optional<uint32_t>(offset) : std::nullopt;
    case 2:
        if (offset >= 0x10000 && offset < 0x18000) return offset - 0x10000;
        return std::nullopt;
    default:
        if (offset >= 0x18000 && offset < 0x20000) return offset - 0x18000;
        return std::nullopt;
    }
}

uint8_t VgaMemory::readPlanar(uint32_t planar, uint32_t planarLimit, int oddEvenPlane) {
    if (planar >= planarLimit) return 0xFF;
    uint32_t latch = Load32(space_.vram(), planar);
    vga_.latch = latch;
    if (oddEvenPlane >= 0) return static_cast<uint8_t>(latch >> (8 * oddEvenPlane));
    if (!vga_.readMode1()) return static_cast<uint8_t>(latch >> (8 * (vga_.gc[4] & 3)));
    // Colour compare: a bit is 1 where every plane that counts matches.
    uint32_t compare = ExpandPlanes(vga_.gc[2] & 0x0F);
    uint32_t care = ExpandPlanes(vga_.gc[7] & 0x0F);
    uint32_t match = ~((latch ^ compare) & care);
    return static_cast<uint8_t>(match & (match >> 8) & (match >> 16) & (match >> 24));
}

// The value the four planes receive for a CPU write, before the map mask.
uint32_t VgaMemory::latchValue(uint8_t value) const {
    const auto& gc = vga_.gc;
    uint32_t latch = vga_.latch;
    uint8_t bitMask = gc[8];
    uint32_t v = 0;
    switch (vga_.writeMode()) {
    case 0: {
        uint32_t enable = ExpandPlanes(gc[1] & 0x0F);
        v = (Rotate(value, gc[3]) * 0x01010101u & ~enable) | (ExpandPlanes(gc[0] & 0x0F) & enable);
        break;
    }
    case 1:
        return latch;
    case 2:
        v = ExpandPlanes(value & 0x0F);
        break;
    case 3:
        bitMask &= Rotate(value, gc[3]);
        v = ExpandPlanes(gc[0] & 0x0F);
        break;
    }
    switch ((gc[3] >> 3) & 3) {
    case 1:
        v &= latch;
        break;
    case 2:
        v |= latch;
        break;
    case 3:
        v ^= latch;
        break;
    default:
        break;
    }
    uint32_t mask = bitMask * 0x01010101u;
    return (v & mask) | (latch & ~mask);
}

void VgaMemory::writePlanar(uint32_t planar, uint32_t planarLimit, uint8_t value, uint8_t planes) {
    if (planar >= planarLimit) return;
    uint32_t v = latchValue(value);
    uint32_t enabled = ExpandPlanes(planes);
    uint32_t old = Load32(space_.vram(), planar);
    Store32(space_.vram(), planar, (old & ~enabled) | (v & enabled));
}

uint8_t VgaMemory::readByte(uint32_t offset) {
    const BochsState& b = bochs_.state();
    uint32_t vramSize = space_.vramSize();
    if (b.enabled()) {
        if (offset >= 0x10000) return 0xFF;
        uint32_t at = b.readBank * b.bankBytes() + offset;
        if (b.bpp == 4) return readPlanar(at, vramSize / 4, -1);
        return at < vramSize ? space_.vram()[at] : 0xFF;
    }
    auto a = mapped(offset);
    if (!a) return 0xFF;
    if (vga_.chain4()) {
        vga_.latch = Load32(space_.vram(), (*a >> 2) & (kVgaPlaneSize - 1));
        return space_.vram()[*a & (4 * kVgaPlaneSize - 1)];
    }
    if (vga_.oddEvenReads())
        return readPlanar(*a & (kVgaPlaneSize - 2), kVgaPlaneSize, (vga_.gc[4] & 2) | (*a & 1));
    return readPlanar(*a & (kVgaPlaneSize - 1), kVgaPlaneSize, -1);
}

void VgaMemory::writeByte(uint32_t offset, uint8_t value) {
    const BochsState& b = bochs_.state();
    uint32_t vramSize = space_.vramSize();
    if (b.enabled()) {
        if (offset >= 0x10000) return;
        uint32_t at = b.writeBank * b.bankBytes() + offset;
        if (b.bpp == 4)
            writePlanar(at, vramSize / 4, value, vga_.mapMask());
        else if (at < vramSize)
            space_.vram()[at] = value;
        return;
    }
    auto a = mapped(offset);
    if (!a) return;
    if (vga_.chain4()) {
        uint32_t at = *a & (4 * kVgaPlaneSize - 1);
        if (vga_.mapMask() & (1u << (at & 3))) space_.vram()[at] = value;
        return;
    }
    if (vga_.oddEvenWrites()) {
        uint8_t planes = vga_.mapMask() & ((*a & 1) ? 0x0A : 0x05);
        writePlanar(*a & (kVgaPlaneSize - 2), kVgaPlaneSize, value, planes);
        return;
    }
    writePlanar(*a & (kVgaPlaneSize - 1), kVgaPlaneSize, value, vga_.mapMask());
}

} // namespace pcemu
