#pragma once
// The BIOS's records: the controller information block (function 00h, 512
// bytes when "VBE2" is asked for) and the mode information block (function
// 01h, 256 bytes). Far pointers are offset in the low word, segment in the
// high word; after detection the library rewrites the string and mode-list
// pointers to 32-bit flat addresses of its copies.
#include <cstdint>

namespace vidlib32 {

#pragma pack(push, 1)
struct VbeInfoBlock {
    char VbeSignature[4];
    uint16_t VbeVersion;
    uint32_t OemStringPtr;
    uint32_t Capabilities;
    uint32_t VideoModePtr;
    uint16_t TotalMemory; // 64 KB units
    uint16_t OemSoftwareRev;
    uint32_t OemVendorNamePtr;
    uint32_t OemProductNamePtr;
    uint32_t OemProductRevPtr;
    uint8_t Reserved[222];
    uint8_t OemData[256];
};

struct ModeInfoBlock {
    uint16_t ModeAttributes;
    uint8_t WinAAttributes, WinBAttributes;
    uint16_t WinGranularity, WinSize; // KB
    uint16_t WinASegment, WinBSegment;
    uint32_t WinFuncPtr;
    uint16_t BytesPerScanLine;
    uint16_t XResolution, YResolution;
    uint8_t XCharSize, YCharSize;
    uint8_t NumberOfPlanes, BitsPerPixel, NumberOfBanks, MemoryModel, BankSize;
    uint8_t NumberOfImagePages, Reserved1;
    uint8_t RedMaskSize, RedFieldPosition;
    uint8_t GreenMaskSize, GreenFieldPosition;
    uint8_t BlueMaskSize, BlueFieldPosition;
    uint8_t RsvdMaskSize, RsvdFieldPosition;
    uint8_t DirectColorModeInfo;
    uint32_t PhysBasePtr;
    uint32_t OffScreenMemOffset;
    uint16_t OffScreenMemSize;
    uint8_t Reserved2[206];
};
#pragma pack(pop)

static_assert(sizeof(VbeInfoBlock) == 512);
static_assert(sizeof(ModeInfoBlock) == 256);

// Capabilities bits.
inline constexpr uint32_t kControllerNotVga = 0x02;

// ModeAttributes bits.
inline constexpr uint16_t kModeSupported = 0x0001;
inline constexpr uint16_t kModeGraphics = 0x0010;
inline constexpr uint16_t kModeNotVga = 0x0020;
inline constexpr uint16_t kModeNoWindows = 0x0040;
inline constexpr uint16_t kModeLinear = 0x0080;

// WinAAttributes: present, readable, writable.
inline constexpr uint8_t kWindowReadWrite = 0x07;

// MemoryModel values.
inline constexpr uint8_t kModelPacked = 4;
inline constexpr uint8_t kModelDirect = 6;

// The status every VBE function returns in AX on success.
inline constexpr uint16_t kVbeOk = 0x004F;

} // namespace vidlib32
