#include "bios/model/mode_set.h"

#include "bios/model/bios_data.h"
#include "bios/model/fonts.h"
#include "bios/model/text_mode.h"
#include "bios/model/vga_registers.h"
#include "pcemu/adapter.h"
#include "pcemu/layout.h"
#include "pcemu/memory_bus.h"

#include <vector>

namespace pcemu::model {
namespace {

// All four planes of the 256 KB VGA memory through the planar window.
void ClearVgaMemory(AdapterIo& io) {
    io.setSeq(2, 0x0F);
    io.setSeq(4, 0x06);
    io.setGc(1, 0x00);
    io.setGc(3, 0x00);
    io.setGc(5, 0x00);
    io.setGc(6, 0x05);
    io.setGc(8, 0xFF);
    std::vector<uint8_t> zeros(kVgaWindowSize, 0);
    io.memory().writeBlock(kVgaWindow, zeros.data(), zeros.size());
}

// The mode byte the BIOS data area shows: the VGA mode, or for SVGA modes
// the VGA mode whose registers they start from.
uint8_t BiosModeByte(const ModeSpec& mode) {
    if (mode.number < 0x100) return static_cast<uint8_t>(mode.number);
    if (mode.kind == ModeKind::Text) return 0x03;
    return mode.kind == ModeKind::Planar ? 0x12 : 0x13;
}

void WriteBiosData(MemoryBus& m, const ModeSetting& s) {
    const ModeSpec& mode = *s.mode;
    bool text = mode.kind == ModeKind::Text;
    unsigned columns = text ? mode.width : mode.width / mode.charWidth;
    unsigned rows = text ? mode.height : mode.height / mode.charHeight;
    m.write8(bda::kMode, BiosModeByte(mode));
    m.write16(bda::kColumns, static_cast<uint16_t>(columns));
    uint32_t page = text ? 0x1000u * ((mode.width * mode.height * 2 + 0xFFF) / 0x1000) : 0;
    if (!text && mode.vga) page = mode.kind == ModeKind::Planar ? 0xA000 : 0xFA00;
    m.write16(bda::kPageSize, static_cast<uint16_t>(page));
    m.write16(bda::kPageStart, 0);
    for (uint32_t i = 0; i < 8; ++i)
        m.write16(bda::kCursors + 2 * i, 0);
    m.write16(bda::kCursorShape,
              text ? static_cast<uint16_t>(((mode.charHeight - 2) << 8) | (mode.charHeight - 1))
                   : 0);
    m.write8(bda::kActivePage, 0);
    m.write16(bda::kCrtcPort, 0x3D4);
    m.write8(bda::kRows, static_cast<uint8_t>(rows - 1));
    m.write16(bda::kCharHeight, mode.charHeight);
    uint8_t control = m.read8(bda::kVideoControl);
    m.write8(bda::kVideoControl,
             static_cast<uint8_t>(s.keepMemory ? control | 0x80 : control & 0x7F));
}

bool EnableSvga(AdapterIo& io, const Personality& p, const ModeSetting& s) {
    io.setBochs(kBochsBankGranularity, p.granularityKB);
    io.setBochs(kBochsXRes, s.mode->width);
    io.setBochs(kBochsYRes, s.mode->height);
    io.setBochs(kBochsBpp, s.mode->bitsPerPixel);
    uint16_t enable = kBochsEnabled;
    if (s.linear) enable |= kBochsLinear;
    if (s.keepMemory) enable |= kBochsNoClear;
    io.setBochs(kBochsEnable, enable);
    return (io.bochs(kBochsEnable) & kBochsEnabled) != 0;
}

} // namespace

bool ProgramMode(AdapterIo& io, const Personality& p, const ModeSetting& s) {
    const ModeSpec& mode = *s.mode;
    io.setBochs(kBochsEnable, 0);
    if (mode.vga && !s.keepMemory) ClearVgaMemory(io);
    LoadVgaRegisters(io, RegistersFor(mode));
    LoadDefaultDac(io, mode);
    if (mode.kind == ModeKind::Text) {
        LoadFont(io, FontOfHeight(mode.charHeight), mode.charHeight, 0);
        if (!s.keepMemory) ClearText(io);
    }
    if (!mode.vga && !EnableSvga(io, p, s)) return false;
    WriteBiosData(io.memory(), s);
    return true;
}

} // namespace pcemu::model
