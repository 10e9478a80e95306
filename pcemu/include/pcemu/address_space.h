// The guest address space mirrored at one host address H (aligned to 4 GiB):
// guest address L is host address H + L wherever the host may touch it.
#pragma once

#include "pcemu/layout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pcemu {

class RangeAllocator;

class AddressSpace {
public:
    // Reserves 4 GiB, maps RAM, the video memory (a memfd of vramBytes), the
    // window view at A0000h and the linear buffer at E0000000h. Null and a
    // message on failure.
    static std::unique_ptr<AddressSpace> Create(uint32_t vramBytes, std::string* error);
    ~AddressSpace();
    AddressSpace(const AddressSpace&) = delete;
    AddressSpace& operator=(const AddressSpace&) = delete;

    uint8_t* base() const { return base_; }
    // Host pointer for guest address L (H + L). Only meaningful where the
    // guest has host-visible memory; see layout.h.
    uint8_t* hostPointer(uint32_t guest) const { return base_ + guest; }
    // The guest address of a host pointer inside the guest space.
    std::optional<uint32_t> linearOf(const void* host) const;

    PieceKind kind(uint32_t guest) const { return kinds_[guest >> kPieceShift]; }
    const PieceKind* kinds() const { return kinds_.data(); }
    void setKind(uint32_t firstPiece, uint32_t pieces, PieceKind kind);

    // Video memory: the memfd, its size, and its whole view (the linear buffer).
    int vramFd() const { return vramFd_; }
    uint32_t vramSize() const { return vramSize_; }
    uint8_t* vram() const { return base_ + kLinearBufferBase; }
    // Sets every byte of video memory to zero without touching its pages.
    void clearVram();

    // The 64 KB window view at H + A0000h shows video memory from this offset.
    uint32_t windowOffset() const { return windowOffset_; }
    // Remaps the window view (MAP_FIXED); false if the offset is not a 4 KB
    // multiple inside video memory. True also when nothing had to move.
    bool mapWindow(uint32_t vramOffset);

    // Mapping primitives for views such as the virtual linear buffer. They
    // accept only 64 KB-aligned guest ranges in [kMappableStart, kMappableEnd).
    bool reserveNoAccess(uint32_t guest, uint32_t size);
    bool mapVideoPiece(uint32_t guest, uint32_t vramOffset);
    bool unmapPiece(uint32_t guest);

    // Guest heap (110000h-FFFFFFh): memory emulated code must see. Zeroed.
    // Returns a host pointer inside the guest space, null when full.
    void* guestAlloc(size_t size, size_t align = 16);
    bool guestFree(void* host);
    // The same with guest addresses.
    std::optional<uint32_t> guestAllocLinear(size_t size, size_t align = 16);

    // Writes below this guest address in the ROM piece (C0000h) are dropped.
    uint32_t romProtectedEnd() const { return romProtectedEnd_; }
    void protectRom(uint32_t end);

private:
    AddressSpace() = default;
    bool mapNoAccess(uint32_t guest, uint32_t size);

    uint8_t* base_ = nullptr;
    int vramFd_ = -1;
    uint32_t vramSize_ = 0;
    uint32_t windowOffset_ = 0;
    uint32_t romProtectedEnd_ = 0;
    std::array<PieceKind, 0x10000> kinds_{};
    std::unique_ptr<RangeAllocator> heap_;
};

} // namespace pcemu
