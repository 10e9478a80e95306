// The model BIOS's image at C0000h, laid out as an option ROM: the WinFuncPtr
// routine, the OEM strings, the mode list, the protected-mode table and the
// fonts, all in BIOS memory where the VBE records point.
#pragma once

#include "bios/model/personality.h"

#include <cstdint>
#include <vector>

namespace pcemu::model {

inline constexpr uint16_t kRomSegment = 0xC000;

// Offsets in segment C000h; 0 where the item is absent.
struct RomLayout {
    uint16_t oemString = 0;
    uint16_t vendorName = 0;
    uint16_t productName = 0;
    uint16_t productRev = 0;
    uint16_t modeList = 0;
    uint16_t winFunc = 0;
    uint16_t pmTable = 0;
    uint16_t pmTableLength = 0;
    uint16_t font8x16 = 0;
    uint16_t font8x14 = 0;
    uint16_t font8x8 = 0;
    uint16_t alternateFonts = 0; // an empty list of 9-dot replacement glyphs

    static uint32_t Far(uint16_t offset) {
        return offset ? (uint32_t{kRomSegment} << 16) | offset : 0;
    }
};

struct RomImage {
    std::vector<uint8_t> bytes; // a multiple of 512, checksum 0
    RomLayout layout;
};

RomImage BuildRomImage(const Personality& p, uint32_t vramBytes);

} // namespace pcemu::model
