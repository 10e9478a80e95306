#include "bios/model/mode_table.h"

#include <algorithm>
#include <array>

namespace pcemu::model {
namespace {

constexpr ModeSpec Text(uint16_t n, uint16_t cols, uint16_t rows, uint8_t charHeight) {
    return {n, ModeKind::Text, cols, rows, 4, 9, charHeight, true, false};
}
constexpr ModeSpec Vga(uint16_t n, ModeKind kind, uint16_t w, uint16_t h, uint8_t bpp) {
    return {n, kind, w, h, bpp, 8, static_cast<uint8_t>(bpp == 4 ? 16 : 8), true, false};
}
constexpr ModeSpec Svga(uint16_t n, uint16_t w, uint16_t h, uint8_t bpp, bool linearOnly = false) {
    ModeKind kind = bpp == 4 ? ModeKind::Planar : bpp == 8 ? ModeKind::Packed : ModeKind::Direct;
    return {n, kind, w, h, bpp, 8, 16, false, linearOnly};
}

// The standard VESA numbers, then modes of this BIOS's own numbering after
// the 1600 x 1200 numbers 120h-122h: 32-bit modes from 123h (the three
// largest offered through the linear buffer only), and 16-colour modes of
// the EGA sizes, whose planes hold pages of 8, 16 and 32 KB.
constexpr std::array<ModeSpec, 36> kModes = {{
    Text(0x003, 80, 25, 16),
    Vga(0x012, ModeKind::Planar, 640, 480, 4),
    Vga(0x013, ModeKind::Packed, 320, 200, 8),
    Svga(0x100, 640, 400, 8),
    Svga(0x101, 640, 480, 8),
    Svga(0x102, 800, 600, 4),
    Svga(0x103, 800, 600, 8),
    Svga(0x104, 1024, 768, 4),
    Svga(0x105, 1024, 768, 8),
    Svga(0x106, 1280, 1024, 4),
    Svga(0x107, 1280, 1024, 8),
    Text(0x108, 80, 60, 8),
    Svga(0x10D, 320, 200, 15),
    Svga(0x10E, 320, 200, 16),
    Svga(0x10F, 320, 200, 24),
    Svga(0x110, 640, 480, 15),
    Svga(0x111, 640, 480, 16),
    Svga(0x112, 640, 480, 24),
    Svga(0x113, 800, 600, 15),
    Svga(0x114, 800, 600, 16),
    Svga(0x115, 800, 600, 24),
    Svga(0x116, 1024, 768, 15),
    Svga(0x117, 1024, 768, 16),
    Svga(0x118, 1024, 768, 24),
    Svga(0x119, 1280, 1024, 15),
    Svga(0x11A, 1280, 1024, 16),
    Svga(0x11B, 1280, 1024, 24),
    Svga(0x123, 320, 200, 32),
    Svga(0x124, 640, 480, 32),
    Svga(0x125, 800, 600, 32),
    Svga(0x126, 1024, 768, 32, true),
    Svga(0x127, 1280, 1024, 32, true),
    Svga(0x128, 1600, 1200, 32, true),
    Svga(0x129, 320, 200, 4),
    Svga(0x12A, 640, 200, 4),
    Svga(0x12B, 640, 350, 4),
}};

constexpr uint32_t kTextMemory = 0x8000; // B8000h-BFFFFh
constexpr uint32_t kVgaPlane = 0x10000;  // 64 KB per plane in VGA modes
constexpr uint32_t kBank = 0x10000;

uint32_t RoundUp(uint32_t v, uint32_t unit) {
    return (v + unit - 1) / unit * unit;
}

} // namespace

std::span<const ModeSpec> AllModes() {
    return kModes;
}

const ModeSpec* FindMode(uint16_t number) {
    auto it = std::find_if(kModes.begin(), kModes.end(),
                           [&](const ModeSpec& m) { return m.number == number; });
    return it == kModes.end() ? nullptr : &*it;
}

unsigned BytesPerPixel(const ModeSpec& mode) {
    return mode.bitsPerPixel <= 8 ? 1 : (mode.bitsPerPixel + 7u) / 8u;
}

uint32_t DefaultPitch(const ModeSpec& mode) {
    switch (mode.kind) {
    case ModeKind::Text:
        return mode.width * 2u;
    case ModeKind::Planar:
        return mode.width / 8u;
    default:
        return uint32_t{mode.width} * BytesPerPixel(mode);
    }
}

uint32_t FootprintBytes(const ModeSpec& mode) {
    uint32_t screen = DefaultPitch(mode) * mode.height;
    return mode.kind == ModeKind::Planar ? screen * 4 : screen;
}

bool Fits(const ModeSpec& mode, uint32_t vramBytes) {
    return FootprintBytes(mode) <= vramBytes;
}

uint32_t PageBytes(const ModeSpec& mode) {
    uint32_t screen = DefaultPitch(mode) * mode.height;
    if (mode.kind == ModeKind::Text) return RoundUp(screen, 0x1000);
    if (mode.kind == ModeKind::Planar)
        for (uint32_t small : {0x2000u, 0x4000u, 0x8000u})
            if (screen <= small) return small;
    return RoundUp(screen, kBank);
}

unsigned ImagePages(const ModeSpec& mode, uint32_t vramBytes) {
    if (!Fits(mode, vramBytes)) return 0;
    uint32_t page = PageBytes(mode);
    if (mode.kind == ModeKind::Text) return kTextMemory / (DefaultPitch(mode) * mode.height);
    if (mode.vga) return kVgaPlane / page;
    uint32_t memory = mode.kind == ModeKind::Planar ? vramBytes / 4 : vramBytes;
    unsigned pages = std::min<uint32_t>(memory / page, 256);
    if (mode.bitsPerPixel != 24) return pages;
    // The display start is a line and a pixel: a 24-bit page can be shown
    // only if its start falls on a whole pixel of its line.
    uint32_t pitch = DefaultPitch(mode);
    for (unsigned p = 1; p < pages; ++p)
        if (uint64_t{p} * page % pitch % 3 != 0) return p;
    return pages;
}

} // namespace pcemu::model
