#include "vga/scanout.h"

#include "vga/bochs_interface.h"
#include "vga/dac.h"
#include "vga/vga_state.h"

#include <algorithm>

namespace pcemu {

uint8_t AttributeToDac(const VgaState& vga, uint8_t colour) {
    uint8_t mode = vga.attr[0x10];
    uint8_t select = vga.attr[0x14];
    uint8_t v = vga.attr[colour & 0x0F] & 0x3F;
    if (mode & 0x80) v = static_cast<uint8_t>((v & 0x0F) | ((select & 0x03) << 4));
    return static_cast<uint8_t>(v | ((select & 0x0C) << 4));
}

DisplayMode DescribeDisplay(const ScanoutSource& source) {
    const VgaState& vga = source.vga;
    const BochsState& b = source.bochs;
    DisplayMode m;
    if (b.enabled()) {
        m.kind = b.bpp == 4 ? DisplayMode::Kind::Planar4 : DisplayMode::Kind::Svga;
        m.width = b.xres;
        m.height = b.yres;
        m.bitsPerPixel = b.bpp;
        m.pitch = b.pitch();
        m.start = uint32_t{b.yOffset} * m.pitch +
                  (b.bpp == 4 ? b.xOffset / 8u : uint32_t{b.xOffset} * b.bytesPerPixel());
        return m;
    }
    unsigned lines = vga.verticalDisplayEnd() + 1;
    unsigned columns = vga.crtc[0x01] + 1u;
    if (!vga.graphics()) {
        unsigned charWidth = (vga.seq[1] & 0x01) ? 8 : 9;
        m.kind = DisplayMode::Kind::Text;
        m.width = static_cast<int>(columns * charWidth);
        m.height = static_cast<int>(lines / vga.charHeight() * vga.charHeight());
        m.bitsPerPixel = 4;
        m.start = vga.startAddress();
        m.pitch = vga.crtc[0x13] * 2u;
        return m;
    }
    unsigned scan = vga.charHeight() * (vga.doubleScan() ? 2 : 1);
    m.height = static_cast<int>(lines / scan);
    if (vga.attr[0x10] & 0x40) {
        // 256 colours: four pixels per planar address, one per plane.
        m.kind = DisplayMode::Kind::Vga256;
        m.width = static_cast<int>(columns * 4);
        m.bitsPerPixel = 8;
        m.start = vga.startAddress() * 4;
        m.pitch = vga.crtc[0x13] * 8u;
    } else {
        m.kind = DisplayMode::Kind::Planar4;
        m.width = static_cast<int>(columns * 8);
        m.bitsPerPixel = 4;
        m.start = vga.startAddress();
        m.pitch = vga.crtc[0x13] * 2u;
    }
    return m;
}

void RenderDisplay(const ScanoutSource& source, Image& out) {
    DisplayMode mode = DescribeDisplay(source);
    if (out.width != mode.width || out.height != mode.height) out.resize(mode.width, mode.height);
    bool screenOff = !source.bochs.enabled() && (source.vga.seq[1] & 0x20);
    if (screenOff) {
        std::fill(out.pixels.begin(), out.pixels.end(), 0);
        return;
    }
    std::array<uint32_t, 256> rgb;
    if (mode.kind != DisplayMode::Kind::Svga || mode.bitsPerPixel == 8) source.dac.table(rgb);
    switch (mode.kind) {
    case DisplayMode::Kind::Text:
        RenderText(source, mode, rgb, out);
        break;
    case DisplayMode::Kind::Planar4:
        RenderPlanar(source, mode, rgb, out);
        break;
    case DisplayMode::Kind::Vga256:
        RenderPacked(source, mode, rgb, out);
        break;
    case DisplayMode::Kind::Svga:
        if (mode.bitsPerPixel == 8)
            RenderPacked(source, mode, rgb, out);
        else
            RenderDirect(source, mode, out);
        break;
    }
}

} // namespace pcemu
