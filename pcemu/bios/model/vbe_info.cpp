// VBE functions 00h (controller information), 01h (mode information) and
// 0Ah (protected-mode interface).
#include "bios/model/mode_offer.h"
#include "bios/model/vbe_records.h"
#include "bios/model/video_bios.h"
#include "pcemu/machine.h"

#include <cstring>

namespace pcemu::model {

// ES:DI -> VbeInfoBlock. "VBE2" in its first bytes asks a VBE 2.0 BIOS for
// the 512-byte form; otherwise 256 bytes are written.
void VideoBios::controllerInfo(CpuRegs& r) {
    MemoryBus& m = machine_.memory();
    uint32_t at = Linear(r.es, r.di());
    char signature[4];
    m.readBlock(at, signature, 4);
    VbeInfoBytes info;
    size_t size = FillVbeInfo(p_, rom_, vramBytes_, std::memcmp(signature, "VBE2", 4) == 0, info);
    m.writeBlock(at, info.data(), size);
    r.setAx(kVbeOk);
}

// CX = mode number (flag bits ignored), ES:DI -> 256-byte ModeInfoBlock.
void VideoBios::modeInfo(CpuRegs& r) {
    const ModeSpec* mode = FindMode(r.cx() & 0x1FF);
    if (!mode || !Offers(p_, *mode)) {
        r.setAx(kVbeFailed);
        return;
    }
    ModeInfoBytes info;
    FillModeInfo(p_, *mode, vramBytes_, rom_, info);
    machine_.memory().writeBlock(Linear(r.es, r.di()), info.data(), info.size());
    r.setAx(kVbeOk);
}

// BL = 00h: ES:DI = the table in BIOS memory, CX = its length, code included.
void VideoBios::pmInterface(CpuRegs& r) {
    if (r.bl() != 0x00 || rom_.pmTable == 0) {
        r.setAx(kVbeFailed);
        return;
    }
    r.es = kRomSegment;
    r.setDi(rom_.pmTable);
    r.setCx(rom_.pmTableLength);
    r.setAx(kVbeOk);
}

} // namespace pcemu::model
