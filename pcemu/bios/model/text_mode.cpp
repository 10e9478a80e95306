#include "bios/model/text_mode.h"

#include "bios/model/bios_data.h"
#include "pcemu/layout.h"
#include "pcemu/memory_bus.h"

#include <vector>

namespace pcemu::model {
namespace {

constexpr unsigned kGlyphSlot = 32; // bytes per glyph in plane 2
constexpr uint32_t kTextBase = 0xB8000;
constexpr uint32_t kTextBytes = 0x8000;

// Planar offset of font block n: blocks 0-3 every 16 KB, 4-7 8 KB later.
uint32_t BlockOffset(unsigned block) {
    return (block & 3) * 0x4000 + ((block & 4) ? 0x2000 : 0);
}

} // namespace

void LoadFont(AdapterIo& io, std::span<const uint8_t> glyphs, unsigned height, unsigned block) {
    uint8_t mapMask = io.seq(2), memoryMode = io.seq(4);
    uint8_t readMap = io.gc(4), mode = io.gc(5), misc = io.gc(6);
    // Plane 2 alone, addressed sequentially at A0000h.
    io.setSeq(2, 0x04);
    io.setSeq(4, 0x07);
    io.setGc(4, 0x02);
    io.setGc(5, 0x00);
    io.setGc(6, 0x04);

    std::vector<uint8_t> slots(256 * kGlyphSlot, 0);
    for (unsigned g = 0; g < 256; ++g)
        for (unsigned row = 0; row < height && row < kGlyphSlot; ++row)
            slots[g * kGlyphSlot + row] = glyphs[g * height + row];
    io.memory().writeBlock(kVgaWindow + BlockOffset(block), slots.data(), slots.size());

    io.setSeq(2, mapMask);
    io.setSeq(4, memoryMode);
    io.setGc(4, readMap);
    io.setGc(5, mode);
    io.setGc(6, misc);
}

void ClearText(AdapterIo& io) {
    std::vector<uint8_t> blank(kTextBytes);
    for (size_t i = 0; i < blank.size(); i += 2) {
        blank[i] = ' ';
        blank[i + 1] = 0x07;
    }
    io.memory().writeBlock(kTextBase, blank.data(), blank.size());
}

void SetCharacterHeight(AdapterIo& io, unsigned height) {
    uint8_t maxScan = io.crtc(0x09);
    io.setCrtc(0x09, static_cast<uint8_t>((maxScan & 0xE0) | (height - 1)));
    io.setCrtc(0x0A, static_cast<uint8_t>(height - 2));
    io.setCrtc(0x0B, static_cast<uint8_t>(height - 1));

    uint8_t overflow = io.crtc(0x07);
    unsigned lines = (io.crtc(0x12) | ((overflow & 0x02u) << 7) | ((overflow & 0x40u) << 3)) + 1;
    unsigned rows = lines / height;
    MemoryBus& m = io.memory();
    unsigned columns = m.read16(bda::kColumns);
    m.write8(bda::kRows, static_cast<uint8_t>(rows - 1));
    m.write16(bda::kCharHeight, static_cast<uint16_t>(height));
    m.write16(bda::kPageSize, static_cast<uint16_t>(columns * rows * 2));
    m.write16(bda::kCursorShape, static_cast<uint16_t>(((height - 2) << 8) | (height - 1)));
}

} // namespace pcemu::model
