#include "vga/scanout.h"

#include "pcemu/image.h"
#include "vga/bochs_interface.h"
#include "vga/vga_state.h"

#include <cstring>

namespace pcemu {
namespace {

constexpr uint32_t kVgaMemory = 0x40000; // 256 KB seen by VGA modes

uint32_t Rgb(uint32_t r, unsigned rBits, uint32_t g, unsigned gBits, uint32_t b, unsigned bBits) {
    return (uint32_t{WidenField(r, rBits)} << 16) | (uint32_t{WidenField(g, gBits)} << 8) |
           WidenField(b, bBits);
}

uint32_t DirectPixel(const uint8_t* p, int bpp) {
    switch (bpp) {
    case 15: {
        uint32_t v = p[0] | (p[1] << 8);
        return Rgb(v >> 10, 5, v >> 5, 5, v, 5);
    }
    case 16: {
        uint32_t v = p[0] | (p[1] << 8);
        return Rgb(v >> 11, 5, v >> 5, 6, v, 5);
    }
    default: // 24 and 32 bits: blue, green, red (, unused)
        return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    }
}

} // namespace

// 16 colours: one bit per plane per pixel, through the attribute palette.
void RenderPlanar(const ScanoutSource& source, const DisplayMode& mode,
                  const std::array<uint32_t, 256>& rgb, Image& out) {
    const VgaState& vga = source.vga;
    uint32_t palette[16];
    for (uint8_t i = 0; i < 16; ++i)
        palette[i] = rgb[AttributeToDac(vga, i)];
    uint8_t enable = vga.attr[0x12] & 0x0F;
    bool vgaWrap = !source.bochs.enabled();
    uint32_t limit = vgaWrap ? kVgaMemory / 4 : source.vramSize / 4;
    int bytesPerLine = mode.width / 8;
    for (int y = 0; y < mode.height; ++y) {
        uint32_t* px = &out.pixels[static_cast<size_t>(y) * out.width];
        for (int xb = 0; xb < bytesPerLine; ++xb, px += 8) {
            uint64_t a = mode.start + uint64_t{mode.pitch} * y + xb;
            if (vgaWrap) a &= limit - 1;
            if (a >= limit) {
                std::memset(px, 0, 8 * sizeof *px);
                continue;
            }
            const uint8_t* planes = source.vram + a * 4;
            for (int bit = 0; bit < 8; ++bit) {
                int shift = 7 - bit;
                unsigned index = ((planes[0] >> shift) & 1) | (((planes[1] >> shift) & 1) << 1) |
                                 (((planes[2] >> shift) & 1) << 2) |
                                 (((planes[3] >> shift) & 1) << 3);
                px[bit] = palette[index & enable];
            }
        }
    }
}

// One byte per pixel through the DAC: VGA 256-colour modes and 8-bit SVGA.
void RenderPacked(const ScanoutSource& source, const DisplayMode& mode,
                  const std::array<uint32_t, 256>& rgb, Image& out) {
    bool vgaWrap = !source.bochs.enabled();
    uint64_t limit = vgaWrap ? kVgaMemory : source.vramSize;
    const uint8_t* vram = source.vram;
    for (int y = 0; y < mode.height; ++y) {
        uint32_t* px = &out.pixels[static_cast<size_t>(y) * out.width];
        uint64_t row = mode.start + uint64_t{mode.pitch} * y;
        if (vgaWrap) row %= limit;
        if (row + mode.width <= limit) {
            const uint8_t* src = vram + row;
            for (int x = 0; x < mode.width; ++x)
                px[x] = rgb[src[x]];
            continue;
        }
        for (int x = 0; x < mode.width; ++x) {
            uint64_t a = row + x;
            if (vgaWrap) a %= limit;
            px[x] = a < limit ? rgb[vram[a]] : 0;
        }
    }
}

// 15, 16, 24 and 32 bits per pixel.
void RenderDirect(const ScanoutSource& source, const DisplayMode& mode, Image& out) {
    unsigned bytes = (mode.bitsPerPixel + 7u) / 8u;
    for (int y = 0; y < mode.height; ++y) {
        uint32_t* px = &out.pixels[static_cast<size_t>(y) * out.width];
        uint64_t row = mode.start + uint64_t{mode.pitch} * y;
        for (int x = 0; x < mode.width; ++x) {
            uint64_t a = row + uint64_t{bytes} * x;
            px[x] =
                a + bytes <= source.vramSize ? DirectPixel(source.vram + a, mode.bitsPerPixel) : 0;
        }
    }
}

} // namespace pcemu
