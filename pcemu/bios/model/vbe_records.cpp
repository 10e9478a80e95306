#include "bios/model/vbe_records.h"

#include "bios/model/mode_offer.h"
#include "pcemu/layout.h"

#include <algorithm>
#include <cstring>

namespace pcemu::model {
namespace {

template <size_t N> void Put16(std::array<uint8_t, N>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

template <size_t N> void Put32(std::array<uint8_t, N>& b, size_t at, uint32_t v) {
    Put16(b, at, static_cast<uint16_t>(v));
    Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

// Field sizes and positions of a direct-colour mode: red, green, blue,
// reserved, each as (size, position).
struct ColourFields {
    uint8_t bytes[8];
};

ColourFields FieldsFor(unsigned bitsPerPixel) {
    switch (bitsPerPixel) {
    case 15:
        return {{5, 10, 5, 5, 5, 0, 1, 15}};
    case 16:
        return {{5, 11, 6, 5, 5, 0, 0, 0}};
    case 24:
        return {{8, 16, 8, 8, 8, 0, 0, 0}};
    default:
        return {{8, 16, 8, 8, 8, 0, 8, 24}};
    }
}

// ModeInfoBlock offsets.
enum : size_t {
    kModeAttributes = 0x00,
    kWinAAttributes = 0x02,
    kWinBAttributes = 0x03,
    kWinGranularity = 0x04,
    kWinSize = 0x06,
    kWinASegment = 0x08,
    kWinBSegment = 0x0A,
    kWinFuncPtr = 0x0C,
    kBytesPerScanLine = 0x10,
    kXResolution = 0x12,
    kYResolution = 0x14,
    kXCharSize = 0x16,
    kYCharSize = 0x17,
    kNumberOfPlanes = 0x18,
    kBitsPerPixel = 0x19,
    kNumberOfBanks = 0x1A,
    kMemoryModel = 0x1B,
    kBankSize = 0x1C,
    kNumberOfImagePages = 0x1D,
    kRedMaskSize = 0x1F,
    kDirectColorModeInfo = 0x27,
    kPhysBasePtr = 0x28,
    kOffScreenMemOffset = 0x2C,
    kOffScreenMemSize = 0x30,
};

void FillWindows(const Personality& p, const ModeSpec& mode, const RomLayout& rom,
                 ModeInfoBytes& out) {
    if (mode.linearOnly) return; // no window at all
    bool text = mode.kind == ModeKind::Text;
    bool dual = p.dualWindows && !mode.vga;
    out[kWinAAttributes] = dual ? 0x03 : 0x07; // exists, readable (, writable)
    out[kWinBAttributes] = dual ? 0x05 : 0x00; // exists, writable
    Put16(out, kWinGranularity, text ? 32 : mode.vga ? 64 : p.granularityKB);
    Put16(out, kWinSize, text ? 32 : 64);
    Put16(out, kWinASegment, text ? 0xB800 : 0xA000);
    Put16(out, kWinBSegment, dual ? 0xA000 : 0);
    if (!mode.vga) Put32(out, kWinFuncPtr, RomLayout::Far(rom.winFunc));
}

uint8_t MemoryModel(const Personality& p, const ModeSpec& mode) {
    switch (mode.kind) {
    case ModeKind::Text:
        return 0x00;
    case ModeKind::Planar:
        return 0x03;
    case ModeKind::Packed:
        return 0x04;
    case ModeKind::Direct:
        break;
    }
    return p.hicolorAsPacked && mode.bitsPerPixel != 32 ? 0x04 : 0x06;
}

} // namespace

size_t FillVbeInfo(const Personality& p, const RomLayout& rom, uint32_t vramBytes, bool vbe2Request,
                   VbeInfoBytes& out) {
    out.fill(0);
    std::memcpy(out.data(), "VESA", 4);
    Put16(out, 0x04, p.vbeVersion);
    Put32(out, 0x06, RomLayout::Far(rom.oemString));
    Put32(out, 0x0A, p.wideDac ? 0x01 : 0x00);
    Put32(out, 0x0E, RomLayout::Far(rom.modeList));
    Put16(out, 0x12, static_cast<uint16_t>(std::min<uint32_t>(vramBytes >> 16, 0xFFFF)));
    if (!p.isVbe2() || !vbe2Request) return 256;
    Put16(out, 0x14, 0x0100); // OemSoftwareRev
    Put32(out, 0x16, RomLayout::Far(rom.vendorName));
    Put32(out, 0x1A, RomLayout::Far(rom.productName));
    Put32(out, 0x1E, RomLayout::Far(rom.productRev));
    return 512;
}

void FillModeInfo(const Personality& p, const ModeSpec& mode, uint32_t vramBytes,
                  const RomLayout& rom, ModeInfoBytes& out) {
    out.fill(0);
    bool graphics = mode.kind != ModeKind::Text;
    bool vbe2 = p.isVbe2();
    uint16_t attributes = 0x0002 | 0x0008; // optional fields present, colour
    if (Supports(p, mode, vramBytes)) attributes |= 0x0001;
    if (graphics) attributes |= 0x0010;
    if (vbe2 && mode.linearOnly) attributes |= 0x0020 | 0x0040; // not VGA, no window
    if (vbe2 && p.linearBuffer && !mode.vga) attributes |= 0x0080;
    Put16(out, kModeAttributes, attributes);
    FillWindows(p, mode, rom, out);

    Put16(out, kBytesPerScanLine, static_cast<uint16_t>(DefaultPitch(mode)));
    Put16(out, kXResolution, mode.width);
    Put16(out, kYResolution, mode.height);
    out[kXCharSize] = mode.charWidth;
    out[kYCharSize] = mode.charHeight;
    bool planes = mode.kind == ModeKind::Text || mode.kind == ModeKind::Planar;
    out[kNumberOfPlanes] = planes ? 4 : 1;
    out[kBitsPerPixel] = p.fifteenAsSixteen && mode.bitsPerPixel == 15 ? 16 : mode.bitsPerPixel;
    out[kNumberOfBanks] = 1;
    out[kMemoryModel] = MemoryModel(p, mode);
    out[kBankSize] = 0;
    unsigned pages = ImagePages(mode, vramBytes);
    out[kNumberOfImagePages] = p.countsPages && pages > 0 ? static_cast<uint8_t>(pages - 1) : 0;

    if (out[kMemoryModel] == 0x06) {
        ColourFields fields = FieldsFor(mode.bitsPerPixel);
        std::copy(std::begin(fields.bytes), std::end(fields.bytes), out.begin() + kRedMaskSize);
        out[kDirectColorModeInfo] = fields.bytes[6] ? 0x02 : 0x00; // reserved bits usable
    }
    if (!vbe2 || mode.vga) return;
    if (p.linearBuffer) Put32(out, kPhysBasePtr, kLinearBufferBase);
    if (Fits(mode, vramBytes)) {
        Put32(out, kOffScreenMemOffset, FootprintBytes(mode));
        Put16(out, kOffScreenMemSize,
              static_cast<uint16_t>((vramBytes - FootprintBytes(mode)) >> 10));
    }
}

} // namespace pcemu::model
