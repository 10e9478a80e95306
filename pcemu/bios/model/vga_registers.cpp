#include "bios/model/vga_registers.h"

#include "pcemu/ports.h"

namespace pcemu::model {
namespace {

// 80 x 25 characters of 9 x 16 pixels: 720 x 400.
constexpr VgaRegisters kText400{
    0x67,
    {0x00, 0x03, 0x00, 0x02},
    {0x5F, 0x4F, 0x50, 0x82, 0x55, 0x81, 0xBF, 0x1F, 0x00, 0x4F, 0x0D, 0x0E, 0x00,
     0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x28, 0x1F, 0x96, 0xB9, 0xA3, 0xFF},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x0E, 0x00, 0xFF},
    {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x14, 0x07, 0x38, 0x39, 0x3A,
     0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x0C, 0x00, 0x0F, 0x08, 0x00},
};

// 80 x 60 characters of 9 x 8 pixels: the horizontal timing of the 400-line
// text mode with the 480-line vertical timing.
constexpr VgaRegisters kText480{
    0xE7,
    {0x00, 0x03, 0x00, 0x02},
    {0x5F, 0x4F, 0x50, 0x82, 0x55, 0x81, 0x0B, 0x3E, 0x00, 0x47, 0x06, 0x07, 0x00,
     0x00, 0x00, 0x00, 0xEA, 0x8C, 0xDF, 0x28, 0x1F, 0xE7, 0x04, 0xA3, 0xFF},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x0E, 0x00, 0xFF},
    {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x14, 0x07, 0x38, 0x39, 0x3A,
     0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x0C, 0x00, 0x0F, 0x08, 0x00},
};

// 640 x 480, 16 colours in four planes.
constexpr VgaRegisters kPlanar480{
    0xE3,
    {0x01, 0x0F, 0x00, 0x06},
    {0x5F, 0x4F, 0x50, 0x82, 0x54, 0x80, 0x0B, 0x3E, 0x00, 0x40, 0x00, 0x00, 0x00,
     0x00, 0x00, 0x00, 0xEA, 0x8C, 0xDF, 0x28, 0x00, 0xE7, 0x04, 0xE3, 0xFF},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x0F, 0xFF},
    {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x14, 0x07, 0x38, 0x39, 0x3A,
     0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x01, 0x00, 0x0F, 0x00, 0x00},
};

// 320 x 200, 256 colours, chain-4, lines scanned twice.
constexpr VgaRegisters kPacked200{
    0x63,
    {0x01, 0x0F, 0x00, 0x0E},
    {0x5F, 0x4F, 0x50, 0x82, 0x54, 0x80, 0xBF, 0x1F, 0x00, 0x41, 0x00, 0x00, 0x00,
     0x00, 0x00, 0x00, 0x9C, 0x8E, 0x8F, 0x28, 0x40, 0x96, 0xB9, 0xA3, 0xFF},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x05, 0x0F, 0xFF},
    {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A,
     0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x41, 0x00, 0x0F, 0x00, 0x00},
};

constexpr uint8_t kCrtcProtect = 0x80; // bit 7 of CRTC 11h

// The 16-colour DAC: index bits 0-2 add 2/3 of blue, green, red and bits
// 3-5 add 1/3.
std::array<uint8_t, 192> Make64Colours() {
    std::array<uint8_t, 192> t{};
    for (unsigned i = 0; i < 64; ++i) {
        auto level = [&](unsigned high, unsigned low) {
            return static_cast<uint8_t>(((i >> high) & 1) * 0x2A + ((i >> low) & 1) * 0x15);
        };
        t[3 * i] = level(2, 5);
        t[3 * i + 1] = level(1, 4);
        t[3 * i + 2] = level(0, 3);
    }
    return t;
}

// 16 colours as in text mode, 16 greys, then nine blocks of 24 hues walking
// round the colour circle at three intensities and three saturations.
std::array<uint8_t, 768> Make256Colours() {
    std::array<uint8_t, 768> t{};
    static constexpr uint8_t kAttributes[16] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x14, 0x07,
                                                0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F};
    auto ega = Make64Colours();
    for (unsigned i = 0; i < 16; ++i)
        for (unsigned c = 0; c < 3; ++c)
            t[3 * i + c] = ega[3 * kAttributes[i] + c];
    static constexpr uint8_t kGreys[16] = {0,  5,  8,  11, 14, 17, 20, 24,
                                           28, 32, 36, 40, 45, 50, 56, 63};
    for (unsigned i = 0; i < 16; ++i)
        t[3 * (16 + i)] = t[3 * (16 + i) + 1] = t[3 * (16 + i) + 2] = kGreys[i];
    struct Block {
        uint8_t h, l, a, b, c;
    };
    static constexpr Block kBlocks[9] = {
        {63, 0, 16, 31, 47}, {63, 31, 39, 47, 55}, {63, 45, 49, 54, 58},
        {28, 0, 7, 14, 21},  {28, 14, 17, 21, 24}, {28, 20, 22, 24, 26},
        {16, 0, 4, 8, 12},   {16, 8, 10, 12, 14},  {16, 11, 12, 13, 15},
    };
    unsigned entry = 32;
    for (const Block& k : kBlocks) {
        const uint8_t H = k.h, L = k.l, a = k.a, b = k.b, c = k.c;
        const uint8_t walk[24][3] = {
            {L, L, H}, {a, L, H}, {b, L, H}, {c, L, H}, {H, L, H}, {H, L, c}, {H, L, b}, {H, L, a},
            {H, L, L}, {H, a, L}, {H, b, L}, {H, c, L}, {H, H, L}, {c, H, L}, {b, H, L}, {a, H, L},
            {L, H, L}, {L, H, a}, {L, H, b}, {L, H, c}, {L, H, H}, {L, c, H}, {L, b, H}, {L, a, H},
        };
        for (const auto& rgb : walk) {
            for (unsigned c3 = 0; c3 < 3; ++c3)
                t[3 * entry + c3] = rgb[c3];
            ++entry;
        }
    }
    return t;
}

} // namespace

const VgaRegisters& RegistersFor(const ModeSpec& mode) {
    switch (mode.kind) {
    case ModeKind::Text:
        return mode.charHeight == 8 ? kText480 : kText400;
    case ModeKind::Planar:
        return kPlanar480;
    default:
        return kPacked200;
    }
}

void LoadVgaRegisters(AdapterIo& io, const VgaRegisters& regs) {
    io.setSeq(0, 0x01); // synchronous reset while the clocks change
    io.setMisc(regs.misc);
    for (uint8_t i = 0; i < regs.seq.size(); ++i)
        io.setSeq(i + 1, regs.seq[i]);
    io.setSeq(0, 0x03);
    io.setCrtc(0x11, io.crtc(0x11) & ~kCrtcProtect);
    for (uint8_t i = 0; i < regs.crtc.size(); ++i)
        io.setCrtc(i, regs.crtc[i]);
    for (uint8_t i = 0; i < regs.gc.size(); ++i)
        io.setGc(i, regs.gc[i]);
    for (uint8_t i = 0; i < regs.attr.size(); ++i)
        io.setAttr(i, regs.attr[i]);
}

const std::array<uint8_t, 768>& Default256Colours() {
    static const auto table = Make256Colours();
    return table;
}

const std::array<uint8_t, 192>& Default64Colours() {
    static const auto table = Make64Colours();
    return table;
}

void LoadDefaultDac(AdapterIo& io, const ModeSpec& mode) {
    bool sixteen = mode.kind == ModeKind::Text || mode.kind == ModeKind::Planar;
    PortBus& ports = io.ports();
    ports.out8(0x3C6, 0xFF); // pel mask
    ports.out8(0x3C8, 0);
    for (unsigned i = 0; i < 768; ++i) {
        uint8_t v = 0;
        if (sixteen && i < Default64Colours().size()) v = Default64Colours()[i];
        if (!sixteen) v = Default256Colours()[i];
        ports.out8(0x3C9, v);
    }
}

} // namespace pcemu::model
