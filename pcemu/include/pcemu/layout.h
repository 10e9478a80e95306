// The guest address map: where each kind of memory lives.
#pragma once

#include <cstdint>

namespace pcemu {

inline constexpr uint32_t kInterruptTable = 0x00000;
inline constexpr uint32_t kBiosDataArea = 0x00400;
inline constexpr uint32_t kConventionalEnd = 0xA0000; // 640 KB
inline constexpr uint32_t kEbdaSegment = 0x9FC0;
inline constexpr uint32_t kVgaWindow = 0xA0000; // 64 KB graphics window
inline constexpr uint32_t kVgaWindowSize = 0x10000;
inline constexpr uint32_t kVgaAreaEnd = 0xC0000; // end of A0000h-BFFFFh
inline constexpr uint32_t kVideoBios = 0xC0000;
inline constexpr uint16_t kSystemBiosSegment = 0xF000;
inline constexpr uint32_t kHighMemoryEnd = 0x110000; // 1 MB + 64 KB
inline constexpr uint32_t kGuestHeapStart = 0x110000;
inline constexpr uint32_t kGuestHeapEnd = 0x1000000; // 16 MB
inline constexpr uint32_t kVirtualBufferBase = 0xD0000000;
inline constexpr uint32_t kLinearBufferBase = 0xE0000000;
inline constexpr uint32_t kRegisterAreaBase = 0xF0000000;

// The guest space is managed in 64 KB pieces.
inline constexpr uint32_t kPieceShift = 16;
inline constexpr uint32_t kPieceSize = 1u << kPieceShift;

// Mappable ranges for the virtual linear buffer and similar views: above the
// guest heap and below the linear frame buffer.
inline constexpr uint32_t kMappableStart = 0x10000000;
inline constexpr uint32_t kMappableEnd = kLinearBufferBase;

// What the guest finds in a 64 KB piece.
enum class PieceKind : uint8_t {
    None,   // nothing: reads give FFh, writes are dropped
    Ram,    // host view at H + L, read and write
    Rom,    // host view, writes below the protected end are dropped
    Vga,    // A0000h-BFFFFh through the adapter's memory model
    Device, // memory-mapped registers of a device
};

} // namespace pcemu
