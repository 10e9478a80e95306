#include "pcemu/address_space.h"

#include "core/range_allocator.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/falloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace pcemu {
namespace {

constexpr uint64_t kGuestSpace = uint64_t{1} << 32;
constexpr uint32_t kRamEnd = kGuestHeapEnd; // RAM is mapped from 0 up to here

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool IsPieceAligned(uint32_t v) {
    return (v & (kPieceSize - 1)) == 0;
}

} // namespace

std::unique_ptr<AddressSpace> AddressSpace::Create(uint32_t vramBytes, std::string* error) {
    std::unique_ptr<AddressSpace> space(new AddressSpace);
    auto fail = [&](std::string message) {
        if (error) *error = std::move(message);
        return nullptr;
    };
    if (vramBytes == 0 || !IsPieceAligned(vramBytes) ||
        vramBytes > kRegisterAreaBase - kLinearBufferBase)
        return fail("video memory must be a multiple of 64 KB up to 256 MB");

    // Reserve twice the space, keep the 4 GiB-aligned part.
    void* raw = mmap(nullptr, 2 * kGuestSpace, PROT_NONE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED) return fail(SystemError("cannot reserve 4 GiB of address space"));
    auto rawAddr = reinterpret_cast<uintptr_t>(raw);
    uintptr_t aligned = (rawAddr + kGuestSpace - 1) & ~(kGuestSpace - 1);
    if (aligned > rawAddr) munmap(raw, aligned - rawAddr);
    uintptr_t tail = aligned + kGuestSpace;
    if (tail < rawAddr + 2 * kGuestSpace)
        munmap(reinterpret_cast<void*>(tail), rawAddr + 2 * kGuestSpace - tail);
    space->base_ = reinterpret_cast<uint8_t*>(aligned);

    if (mmap(space->base_, kRamEnd, PROT_READ | PROT_WRITE,
             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_NORESERVE, -1, 0) == MAP_FAILED)
        return fail(SystemError("cannot map guest RAM"));

    space->vramFd_ = memfd_create("pcemu-vram", MFD_CLOEXEC);
    if (space->vramFd_ < 0) return fail(SystemError("cannot create video memory"));
    if (ftruncate(space->vramFd_, vramBytes) != 0)
        return fail(SystemError("cannot size video memory"));
    space->vramSize_ = vramBytes;
    if (mmap(space->vram(), vramBytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_FIXED,
             space->vramFd_, 0) == MAP_FAILED)
        return fail(SystemError("cannot map the linear buffer"));
    if (mmap(space->base_ + kVgaWindow, kVgaWindowSize, PROT_READ | PROT_WRITE,
             MAP_SHARED | MAP_FIXED, space->vramFd_, 0) == MAP_FAILED)
        return fail(SystemError("cannot map the window view"));
    // B0000h-BFFFFh has no host view: host code uses the accessors.
    if (mprotect(space->base_ + kVgaWindow + kVgaWindowSize,
                 kVgaAreaEnd - kVgaWindow - kVgaWindowSize, PROT_NONE) != 0)
        return fail(SystemError("cannot protect B0000h"));

    space->setKind(0, kRamEnd >> kPieceShift, PieceKind::Ram);
    space->setKind(kVgaWindow >> kPieceShift, (kVgaAreaEnd - kVgaWindow) >> kPieceShift,
                   PieceKind::Vga);
    space->setKind(kLinearBufferBase >> kPieceShift, vramBytes >> kPieceShift, PieceKind::Ram);
    space->heap_ = std::make_unique<RangeAllocator>(kGuestHeapStart, kGuestHeapEnd);
    return space;
}

AddressSpace::~AddressSpace() {
    if (base_) munmap(base_, kGuestSpace);
    if (vramFd_ >= 0) close(vramFd_);
}

std::optional<uint32_t> AddressSpace::linearOf(const void* host) const {
    auto p = reinterpret_cast<uintptr_t>(host);
    auto b = reinterpret_cast<uintptr_t>(base_);
    if (p < b || p - b >= kGuestSpace) return std::nullopt;
    return static_cast<uint32_t>(p - b);
}

void AddressSpace::setKind(uint32_t firstPiece, uint32_t pieces, PieceKind kind) {
    for (uint32_t i = 0; i < pieces && firstPiece + i < kinds_.size(); ++i)
        kinds_[firstPiece + i] = kind;
}

void AddressSpace::clearVram() {
    // Punching a hole zeroes the memfd at once, in every view.
    if (fallocate(vramFd_, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, 0, vramSize_) != 0)
        std::memset(vram(), 0, vramSize_);
}

bool AddressSpace::mapWindow(uint32_t vramOffset) {
    if ((vramOffset & 0xFFF) != 0 || vramOffset > vramSize_ - kVgaWindowSize) return false;
    if (vramOffset == windowOffset_) return true;
    if (mmap(base_ + kVgaWindow, kVgaWindowSize, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_FIXED,
             vramFd_, vramOffset) == MAP_FAILED)
        return false;
    windowOffset_ = vramOffset;
    return true;
}

bool AddressSpace::mapNoAccess(uint32_t guest, uint32_t size) {
    return mmap(base_ + guest, size, PROT_NONE,
                MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_NORESERVE, -1, 0) != MAP_FAILED;
}

static bool InMappableRange(uint32_t guest, uint64_t size) {
    return IsPieceAligned(guest) && guest >= kMappableStart && guest + size <= kMappableEnd;
}

bool AddressSpace::reserveNoAccess(uint32_t guest, uint32_t size) {
    if (size == 0 || !IsPieceAligned(size) || !InMappableRange(guest, size)) return false;
    if (!mapNoAccess(guest, size)) return false;
    setKind(guest >> kPieceShift, size >> kPieceShift, PieceKind::None);
    return true;
}

bool AddressSpace::mapVideoPiece(uint32_t guest, uint32_t vramOffset) {
    if (!InMappableRange(guest, kPieceSize) || !IsPieceAligned(vramOffset) ||
        uint64_t{vramOffset} + kPieceSize > vramSize_)
        return false;
    if (mmap(base_ + guest, kPieceSize, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_FIXED, vramFd_,
             vramOffset) == MAP_FAILED)
        return false;
    setKind(guest >> kPieceShift, 1, PieceKind::Ram);
    return true;
}

bool AddressSpace::unmapPiece(uint32_t guest) {
    if (!InMappableRange(guest, kPieceSize) || !mapNoAccess(guest, kPieceSize)) return false;
    setKind(guest >> kPieceShift, 1, PieceKind::None);
    return true;
}

std::optional<uint32_t> AddressSpace::guestAllocLinear(size_t size, size_t align) {
    if (size == 0 || size > kGuestHeapEnd || align > kGuestHeapEnd) return std::nullopt;
    auto at = heap_->allocate(static_cast<uint32_t>(size), static_cast<uint32_t>(align));
    if (at) std::memset(base_ + *at, 0, size);
    return at;
}

void* AddressSpace::guestAlloc(size_t size, size_t align) {
    auto at = guestAllocLinear(size, align);
    return at ? base_ + *at : nullptr;
}

bool AddressSpace::guestFree(void* host) {
    auto at = linearOf(host);
    return at && heap_->release(*at);
}

void AddressSpace::protectRom(uint32_t end) {
    if (end <= kVideoBios || end > kVideoBios + kPieceSize) return;
    romProtectedEnd_ = end;
    setKind(kVideoBios >> kPieceShift, 1, PieceKind::Rom);
}

} // namespace pcemu
