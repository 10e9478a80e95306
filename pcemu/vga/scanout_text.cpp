#include "vga/scanout.h"

#include "vga/vga_state.h"

namespace pcemu {
namespace {

constexpr uint32_t kPlaneMask = 0xFFFF; // one 64 KB VGA plane

// Planar address of font block n (0-7) in plane 2.
uint32_t FontBlock(unsigned n) {
    return n < 4 ? n * 0x4000 : (n - 4) * 0x4000 + 0x2000;
}

} // namespace

// Text: cell i holds its character in plane 0 and its attribute in plane 1
// at planar address 2i; glyphs are 32-byte records in plane 2.
void RenderText(const ScanoutSource& source, const DisplayMode& mode,
                const std::array<uint32_t, 256>& rgb, Image& out) {
    const VgaState& vga = source.vga;
    const uint8_t* vram = source.vram;
    unsigned charWidth = (vga.seq[1] & 0x01) ? 8 : 9;
    unsigned charHeight = vga.charHeight();
    unsigned columns = static_cast<unsigned>(mode.width) / charWidth;
    unsigned rows = static_cast<unsigned>(mode.height) / charHeight;
    uint32_t palette[16];
    for (uint8_t i = 0; i < 16; ++i)
        palette[i] = rgb[AttributeToDac(vga, i)];
    bool blink = (vga.attr[0x10] & 0x08) != 0; // blinking is shown as steady
    bool lineGraphics = (vga.attr[0x10] & 0x04) != 0;
    uint8_t select = vga.seq[3];
    uint32_t fontA = FontBlock(((select >> 5) & 1) << 2 | ((select >> 2) & 3));
    uint32_t fontB = FontBlock(((select >> 4) & 1) << 2 | (select & 3));

    for (unsigned row = 0; row < rows; ++row) {
        for (unsigned col = 0; col < columns; ++col) {
            uint32_t planar = ((mode.start + row * mode.pitch + col) * 2) & kPlaneMask;
            uint8_t ch = vram[planar * 4];
            uint8_t attribute = vram[planar * 4 + 1];
            uint32_t font = (attribute & 0x08) ? fontA : fontB;
            uint32_t fg = palette[attribute & 0x0F];
            uint32_t bg = palette[(attribute >> 4) & (blink ? 0x07 : 0x0F)];
            bool extend = lineGraphics && ch >= 0xC0 && ch <= 0xDF;
            for (unsigned line = 0; line < charHeight; ++line) {
                uint8_t bits = vram[((font + ch * 32u + line) & kPlaneMask) * 4 + 2];
                uint32_t* px =
                    &out.pixels[(static_cast<size_t>(row) * charHeight + line) * out.width +
                                col * charWidth];
                for (unsigned x = 0; x < 8; ++x)
                    px[x] = (bits & (0x80 >> x)) ? fg : bg;
                if (charWidth == 9) px[8] = (extend && (bits & 0x01)) ? fg : bg;
            }
        }
    }
}

} // namespace pcemu
