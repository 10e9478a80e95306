// VBE functions 05h (window control), 06h (logical scan line length) and
// 07h (display start), on the Bochs interface for SVGA modes and the CRTC
// for the VGA graphics modes.
#include "bios/model/video_bios.h"
#include "pcemu/adapter.h"

#include <algorithm>

namespace pcemu::model {
namespace {

constexpr uint16_t kBankWriteOnly = 0x4000;
constexpr uint16_t kBankReadOnly = 0x8000;
constexpr uint16_t kMaxBank = 0x3FFF;
constexpr uint32_t kWindowBytes = 0x10000;

} // namespace

// BH = 00h: window BL (00h A, 01h B) to position DX in granularity units;
// BH = 01h: DX = its position. Banked SVGA modes only.
void VideoBios::windowControl(CpuRegs& r) {
    if (!svgaMode() || mode().linearOnly || linear_) {
        r.setAx(invalidInMode());
        return;
    }
    uint8_t window = r.bl();
    if (window > (p_.dualWindows ? 1 : 0)) {
        r.setAx(kVbeFailed);
        return;
    }
    if (r.bh() == 0x01) {
        bool readBank = p_.dualWindows && window == 0;
        r.setDx(io_.bochs(readBank ? kBochsReadBank : kBochsBank));
        r.setAx(kVbeOk);
        return;
    }
    uint32_t memory = mode().kind == ModeKind::Planar ? vramBytes_ / 4 : vramBytes_;
    uint32_t position = r.dx();
    if (r.bh() != 0x00 || position > kMaxBank ||
        position * p_.granularityKB * 1024ull + kWindowBytes > memory) {
        r.setAx(kVbeFailed);
        return;
    }
    uint16_t value = static_cast<uint16_t>(position);
    if (p_.dualWindows) value |= window == 0 ? kBankReadOnly : kBankWriteOnly;
    io_.setBochs(kBochsBank, value);
    r.setAx(kVbeOk);
}

// BL = 00h: CX pixels per line; 02h: CX bytes per line; 01h: read; 03h:
// the maximum. Out: BX bytes per line, CX pixels per line, DX lines that
// video memory holds (03h: BX maximum bytes, CX maximum pixels).
void VideoBios::scanLineLength(CpuRegs& r) {
    if (!svgaMode()) {
        r.setAx(invalidInMode());
        return;
    }
    const ModeSpec& m = mode();
    bool planar = m.kind == ModeKind::Planar;
    unsigned bytesPerPixel = BytesPerPixel(m);
    auto pitchOf = [&](uint32_t pixels) { return planar ? pixels / 8 : pixels * bytesPerPixel; };
    uint32_t height = m.height;

    switch (r.bl()) {
    case 0x00:
    case 0x02: {
        uint32_t pixels = r.cx();
        if (r.bl() == 0x02)
            pixels = planar ? pixels * 8 : (pixels + bytesPerPixel - 1) / bytesPerPixel;
        if (planar) pixels = (pixels + 7) & ~7u;
        pixels = std::max<uint32_t>(pixels, m.width);
        if (pixels > 0xFFFF || pitchOf(pixels) > 0xFFFF) {
            r.setAx(kVbeFailed);
            return;
        }
        io_.setBochs(kBochsVirtWidth, static_cast<uint16_t>(pixels));
        if (io_.bochs(kBochsVirtWidth) != pixels) { // more than video memory holds
            r.setAx(kVbeFailed);
            return;
        }
        [[fallthrough]];
    }
    case 0x01: {
        uint32_t pixels = io_.bochs(kBochsVirtWidth);
        r.setBx(static_cast<uint16_t>(pitchOf(pixels)));
        r.setCx(static_cast<uint16_t>(pixels));
        r.setDx(io_.bochs(kBochsVirtHeight));
        r.setAx(kVbeOk);
        return;
    }
    case 0x03: {
        uint32_t memory = planar ? vramBytes_ / 4 : vramBytes_;
        uint32_t bytes = std::min<uint32_t>(memory / height, 0xFFFF);
        uint32_t pixels = planar ? std::min<uint32_t>(bytes * 8, 0xFFF8) : bytes / bytesPerPixel;
        pixels = std::min<uint32_t>(pixels, 0xFFFF);
        r.setBx(static_cast<uint16_t>(pitchOf(pixels)));
        r.setCx(static_cast<uint16_t>(pixels));
        r.setAx(kVbeOk);
        return;
    }
    default:
        r.setAx(kVbeFailed);
        return;
    }
}

// BL = 00h set, 80h set at the next vertical retrace, 01h read. CX = first
// pixel of the line, DX = first line.
void VideoBios::displayStart(CpuRegs& r) {
    const ModeSpec& m = mode();
    uint8_t bl = r.bl();
    if (m.kind == ModeKind::Text) {
        r.setAx(invalidInMode());
        return;
    }
    if (bl != 0x00 && bl != 0x01 && bl != 0x80) {
        r.setAx(kVbeFailed);
        return;
    }
    bool planar = m.kind == ModeKind::Planar;
    if (bl == 0x01) {
        if (m.vga) {
            // VGA: the CRTC start address, in bytes (planar) or 4-byte units.
            uint32_t start = (uint32_t{io_.crtc(0x0C)} << 8) | io_.crtc(0x0D);
            uint32_t pitch = DefaultPitch(m);
            uint32_t bytes = planar ? start : start * 4;
            r.setCx(static_cast<uint16_t>(planar ? bytes % pitch * 8 : bytes % pitch));
            r.setDx(static_cast<uint16_t>(bytes / pitch));
        } else {
            r.setCx(io_.bochs(kBochsXOffset));
            r.setDx(io_.bochs(kBochsYOffset));
        }
        r.setBh(0);
        r.setAx(kVbeOk);
        return;
    }

    uint32_t x = r.cx(), y = r.dx();
    uint32_t pixelsPerLine = m.vga ? m.width : io_.bochs(kBochsVirtWidth);
    uint32_t pitch = planar ? pixelsPerLine / 8 : pixelsPerLine * BytesPerPixel(m);
    uint64_t memory =
        m.vga ? (planar ? 0x10000u : 0x40000u) : (planar ? vramBytes_ / 4 : vramBytes_);
    uint64_t start = uint64_t{y} * pitch + (planar ? x / 8 : x * BytesPerPixel(m));
    uint64_t visible = uint64_t{pitch} * (m.height - 1) + DefaultPitch(m);
    if (x >= pixelsPerLine || start + visible > memory) {
        r.setAx(kVbeFailed);
        return;
    }
    if (bl == 0x80) io_.waitForRetrace();
    if (m.vga) {
        uint32_t address = planar ? static_cast<uint32_t>(start) : static_cast<uint32_t>(start / 4);
        io_.setCrtc(0x0C, static_cast<uint8_t>(address >> 8));
        io_.setCrtc(0x0D, static_cast<uint8_t>(address));
    } else {
        io_.setBochs(kBochsXOffset, static_cast<uint16_t>(x));
        io_.setBochs(kBochsYOffset, static_cast<uint16_t>(y));
    }
    r.setAx(kVbeOk);
}

} // namespace pcemu::model
