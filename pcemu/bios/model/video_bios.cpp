#include "bios/model/video_bios.h"

#include "bios/model/bios_data.h"
#include "bios/model/fonts.h"
#include "bios/model/mode_offer.h"
#include "bios/model/mode_set.h"
#include "bios/model/text_mode.h"
#include "pcemu/machine.h"

namespace pcemu::model {
namespace {

constexpr uint8_t kFontVector = 0x1F;   // glyphs 128-255 of the 8 x 8 font
constexpr uint8_t kGraphicsFont = 0x43; // the font of graphics modes

void SetVector(MemoryBus& m, uint8_t vector, uint32_t farPointer) {
    m.write32(vector * 4u, farPointer);
}

} // namespace

VideoBios::VideoBios(Machine& machine, const Personality& p, const RomLayout& rom)
    : machine_(machine), p_(p), rom_(rom), io_(machine.ports(), machine.memory()),
      vramBytes_(machine.space().vramSize()), mode_(FindMode(0x03)) {
    SetVector(machine.memory(), kFontVector, RomLayout::Far(rom.font8x8 + 128 * 8));
    SetVector(machine.memory(), kGraphicsFont, RomLayout::Far(rom.font8x16));
}

void VideoBios::handle(CpuRegs& r) {
    switch (r.ah()) {
    case 0x00:
        setVgaMode(r);
        break;
    case 0x0F:
        currentVgaMode(r);
        break;
    case 0x11:
        characterGenerator(r);
        break;
    case 0x4F:
        if (p_.hasVbe()) vbe(r);
        break;
    default:
        break; // not provided: registers unchanged
    }
}

bool VideoBios::setMode(const ModeSpec& mode, bool linear, bool keepMemory) {
    if (!ProgramMode(io_, p_, {&mode, linear, keepMemory})) return false;
    mode_ = &mode;
    linear_ = linear;
    keptMemory_ = keepMemory;
    uint16_t font =
        mode.kind != ModeKind::Text && mode.charHeight == 8 ? rom_.font8x8 : rom_.font8x16;
    SetVector(machine_.memory(), kGraphicsFont, RomLayout::Far(font));
    return true;
}

void VideoBios::setVgaMode(CpuRegs& r) {
    const ModeSpec* mode = FindMode(r.al() & 0x7F);
    if (!mode || mode->number >= 0x100) return;
    setMode(*mode, false, (r.al() & 0x80) != 0);
}

void VideoBios::currentVgaMode(CpuRegs& r) {
    MemoryBus& m = machine_.memory();
    r.setAl(static_cast<uint8_t>(m.read8(bda::kMode) | (m.read8(bda::kVideoControl) & 0x80)));
    r.setAh(static_cast<uint8_t>(m.read16(bda::kColumns)));
    r.setBh(m.read8(bda::kActivePage));
}

// AL = 11h, 12h, 14h: the 8 x 14, 8 x 8 or 8 x 16 font into block BL, with
// the character height and rows following it; 01h, 02h, 04h: the font
// alone. 30h: font information. Text modes only, except 30h.
void VideoBios::characterGenerator(CpuRegs& r) {
    if (r.al() == 0x30) {
        fontInformation(r);
        return;
    }
    unsigned height = 0;
    switch (r.al() & 0x0F) {
    case 0x01:
        height = 14;
        break;
    case 0x02:
        height = 8;
        break;
    case 0x04:
        height = 16;
        break;
    default:
        return;
    }
    bool recalculate = (r.al() & 0xF0) == 0x10;
    if ((r.al() & 0xF0) > 0x10 || mode().kind != ModeKind::Text) return;
    LoadFont(io_, FontOfHeight(height), height, r.bl() & 7);
    if (recalculate) SetCharacterHeight(io_, height);
}

// BH selects the pointer returned in ES:BP; CX = character height and
// DL = rows - 1 of the current mode.
void VideoBios::fontInformation(CpuRegs& r) {
    MemoryBus& m = machine_.memory();
    uint32_t font = 0;
    switch (r.bh()) {
    case 0x00:
        font = m.read32(kFontVector * 4u);
        break;
    case 0x01:
        font = m.read32(kGraphicsFont * 4u);
        break;
    case 0x02:
        font = RomLayout::Far(rom_.font8x14);
        break;
    case 0x03:
        font = RomLayout::Far(rom_.font8x8);
        break;
    case 0x04:
        font = RomLayout::Far(rom_.font8x8 + 128 * 8);
        break;
    case 0x05:
    case 0x07:
        font = RomLayout::Far(rom_.alternateFonts);
        break;
    case 0x06:
        font = RomLayout::Far(rom_.font8x16);
        break;
    default:
        return;
    }
    r.es = static_cast<uint16_t>(font >> 16);
    r.ebp = (r.ebp & 0xFFFF0000u) | (font & 0xFFFF);
    r.setCx(m.read16(bda::kCharHeight));
    r.edx = (r.edx & 0xFFFFFF00u) | m.read8(bda::kRows);
}

void VideoBios::vbe(CpuRegs& r) {
    switch (r.al()) {
    case 0x00:
        controllerInfo(r);
        break;
    case 0x01:
        modeInfo(r);
        break;
    case 0x02:
        setVbeMode(r);
        break;
    case 0x03:
        currentVbeMode(r);
        break;
    case 0x04:
        saveRestoreState(r);
        break;
    case 0x05:
        windowControl(r);
        break;
    case 0x06:
        scanLineLength(r);
        break;
    case 0x07:
        displayStart(r);
        break;
    case 0x08:
        dacWidth(r);
        break;
    case 0x09:
        if (p_.isVbe2()) paletteData(r);
        break;
    case 0x0A:
        if (p_.isVbe2()) pmInterface(r);
        break;
    default:
        break; // AL stays the function number: not supported
    }
}

uint16_t VideoBios::invalidInMode() const {
    return p_.isVbe2() ? kVbeInvalidInMode : kVbeFailed;
}

} // namespace pcemu::model
