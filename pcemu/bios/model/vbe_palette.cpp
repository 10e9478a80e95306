// VBE functions 08h (DAC palette width) and 09h (palette data).
#include "bios/model/video_bios.h"
#include "pcemu/adapter.h"
#include "pcemu/machine.h"
#include "pcemu/vga_ports.h"

#include <vector>

namespace pcemu::model {

using vga::kDacData;
using vga::kDacReadIndex;
using vga::kDacWriteIndex;

// BL = 00h: BH = bits per primary wanted (8 for 7 and up, else 6); 01h:
// BH = bits in effect. Eight bits need the capability and an SVGA mode (the
// switch is a bit of the Bochs interface).
void VideoBios::dacWidth(CpuRegs& r) {
    uint16_t enable = io_.bochs(kBochsEnable);
    bool wide = (enable & kBochsEnabled) && (enable & kBochs8BitDac);
    if (r.bl() == 0x01) {
        r.setBh(wide ? 8 : 6);
        r.setAx(kVbeOk);
        return;
    }
    if (r.bl() != 0x00) {
        r.setAx(kVbeFailed);
        return;
    }
    bool wantWide = r.bh() >= 7;
    if (wantWide && !p_.wideDac) {
        r.setBh(6);
        r.setAx(kVbeFailed);
        return;
    }
    if (wantWide && !svgaMode()) {
        r.setBh(6);
        r.setAx(invalidInMode());
        return;
    }
    if (svgaMode()) {
        enable = wantWide ? (enable | kBochs8BitDac) : (enable & ~kBochs8BitDac);
        io_.setBochs(kBochsEnable, enable | kBochsNoClear);
    }
    r.setBh(wantWide ? 8 : 6);
    r.setAx(kVbeOk);
}

// BL = 00h set, 80h set at the next vertical retrace, 01h read the primary
// palette; 02h/03h (secondary palette) are not supported. CX entries from
// index DX, at ES:DI as blue, green, red, pad.
void VideoBios::paletteData(CpuRegs& r) {
    uint8_t bl = r.bl();
    if (bl == 0x02 || bl == 0x03) {
        r.setAx(kVbeNotSupported);
        return;
    }
    unsigned first = r.dx(), count = r.cx();
    if ((bl != 0x00 && bl != 0x01 && bl != 0x80) || first + count > 256) {
        r.setAx(kVbeFailed);
        return;
    }
    MemoryBus& m = machine_.memory();
    PortBus& ports = machine_.ports();
    uint32_t table = Linear(r.es, r.di());
    std::vector<uint8_t> entries(count * 4);
    if (bl == 0x01) {
        ports.out8(kDacReadIndex, static_cast<uint8_t>(first));
        for (unsigned i = 0; i < count; ++i) {
            entries[4 * i + 2] = ports.in8(kDacData);
            entries[4 * i + 1] = ports.in8(kDacData);
            entries[4 * i] = ports.in8(kDacData);
        }
        m.writeBlock(table, entries.data(), entries.size());
    } else {
        m.readBlock(table, entries.data(), entries.size());
        if (bl == 0x80) io_.waitForRetrace();
        ports.out8(kDacWriteIndex, static_cast<uint8_t>(first));
        for (unsigned i = 0; i < count; ++i) {
            ports.out8(kDacData, entries[4 * i + 2]);
            ports.out8(kDacData, entries[4 * i + 1]);
            ports.out8(kDacData, entries[4 * i]);
        }
    }
    r.setAx(kVbeOk);
}

} // namespace pcemu::model
