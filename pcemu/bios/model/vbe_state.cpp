// VBE function 04h: save and restore the video state. CX selects the parts:
// bit 0 the VGA registers, bit 1 the BIOS data, bit 2 the DAC, bit 3 the
// SVGA (Bochs interface) registers. The buffer holds a 16-byte header with
// the mask saved, then the parts in that order, each of a fixed size.
#include "bios/model/bios_data.h"
#include "bios/model/video_bios.h"
#include "pcemu/adapter.h"
#include "pcemu/machine.h"

#include <array>
#include <vector>

namespace pcemu::model {
namespace {

constexpr uint16_t kAllParts = 0x000F;
constexpr size_t kHeaderSize = 0x10;
constexpr std::array<size_t, 4> kPartSize = {0x50, 0x30, 0x310, 0x20};

size_t PartOffset(uint16_t savedMask, unsigned part) {
    size_t at = kHeaderSize;
    for (unsigned i = 0; i < part; ++i)
        if (savedMask & (1u << i)) at += kPartSize[i];
    return at;
}

size_t BufferSize(uint16_t mask) {
    return PartOffset(mask, 4);
}

// Bytes of one part, written and read in order.
class Cursor {
public:
    explicit Cursor(uint8_t* at) : at_(at) {}
    void put(uint8_t v) { *at_++ = v; }
    void put16(uint16_t v) {
        put(static_cast<uint8_t>(v));
        put(static_cast<uint8_t>(v >> 8));
    }
    uint8_t get() { return *at_++; }
    uint16_t get16() {
        uint16_t lo = get();
        return static_cast<uint16_t>(lo | (get() << 8));
    }

private:
    uint8_t* at_;
};

constexpr uint8_t kSeqCount = 5, kGcCount = 9, kCrtcCount = 25, kAttrCount = 21;
static_assert(6 + kSeqCount + kGcCount + kCrtcCount + kAttrCount <= kPartSize[0]);
static_assert(bda::kVideoFieldsSize + bda::kEgaFieldsSize + 3 <= kPartSize[1]);
static_assert(2 + 768 <= kPartSize[2]);

void SaveVga(AdapterIo& io, Cursor c) {
    PortBus& ports = io.ports();
    c.put(io.misc());
    c.put(ports.in8(0x3CA)); // feature control
    c.put(ports.in8(0x3C4));
    c.put(ports.in8(0x3CE));
    c.put(ports.in8(0x3D4));
    ports.in8(0x3DA);
    c.put(ports.in8(0x3C0));
    for (uint8_t i = 0; i < kSeqCount; ++i)
        c.put(io.seq(i));
    for (uint8_t i = 0; i < kGcCount; ++i)
        c.put(io.gc(i));
    for (uint8_t i = 0; i < kCrtcCount; ++i)
        c.put(io.crtc(i));
    for (uint8_t i = 0; i < kAttrCount; ++i)
        c.put(io.attr(i));
}

void RestoreVga(AdapterIo& io, Cursor c) {
    PortBus& ports = io.ports();
    uint8_t misc = c.get(), feature = c.get();
    uint8_t seqIndex = c.get(), gcIndex = c.get(), crtcIndex = c.get(), attrIndex = c.get();
    uint8_t seq[kSeqCount];
    for (uint8_t& v : seq)
        v = c.get();
    io.setSeq(0, 0x01);
    io.setMisc(misc);
    for (uint8_t i = 1; i < kSeqCount; ++i)
        io.setSeq(i, seq[i]);
    io.setSeq(0, seq[0]);
    for (uint8_t i = 0; i < kGcCount; ++i)
        io.setGc(i, c.get());
    uint8_t crtc[kCrtcCount];
    for (uint8_t& v : crtc)
        v = c.get();
    io.setCrtc(0x11, crtc[0x11] & 0x7F); // lift the protection, set it last
    for (uint8_t i = 0; i < kCrtcCount; ++i)
        if (i != 0x11) io.setCrtc(i, crtc[i]);
    io.setCrtc(0x11, crtc[0x11]);
    for (uint8_t i = 0; i < kAttrCount; ++i)
        io.setAttr(i, c.get());
    ports.out8(0x3DA, feature);
    ports.out8(0x3C4, seqIndex);
    ports.out8(0x3CE, gcIndex);
    ports.out8(0x3D4, crtcIndex);
    ports.in8(0x3DA);
    ports.out8(0x3C0, attrIndex);
}

void SaveDac(PortBus& ports, Cursor c) {
    c.put(ports.in8(0x3C6));
    c.put(ports.in8(0x3C8));
    ports.out8(0x3C7, 0);
    for (unsigned i = 0; i < 768; ++i)
        c.put(ports.in8(0x3C9));
}

void RestoreDac(PortBus& ports, Cursor c) {
    uint8_t mask = c.get(), writeIndex = c.get();
    ports.out8(0x3C8, 0);
    for (unsigned i = 0; i < 768; ++i)
        ports.out8(0x3C9, c.get());
    ports.out8(0x3C6, mask);
    ports.out8(0x3C8, writeIndex);
}

constexpr std::array<uint16_t, 9> kSvgaRegisters = {
    kBochsBankGranularity, kBochsXRes,    kBochsYRes,    kBochsBpp,     kBochsEnable,
    kBochsVirtWidth,       kBochsXOffset, kBochsYOffset, kBochsReadBank};

static_assert(2 * (kSvgaRegisters.size() + 1) <= kPartSize[3]);

void SaveSvga(AdapterIo& io, Cursor c) {
    for (uint16_t reg : kSvgaRegisters)
        c.put16(io.bochs(reg));
    c.put16(io.bochs(kBochsBank)); // the write bank
}

void RestoreSvga(AdapterIo& io, Cursor c) {
    uint16_t v[kSvgaRegisters.size()];
    for (uint16_t& x : v)
        x = c.get16();
    uint16_t writeBank = c.get16();
    io.setBochs(kBochsEnable, 0);
    for (size_t i = 0; i < 4; ++i) // granularity, resolution, depth
        io.setBochs(kSvgaRegisters[i], v[i]);
    uint16_t enable = v[4];
    if (!(enable & kBochsEnabled)) return;
    io.setBochs(kBochsEnable, enable | kBochsNoClear);
    for (size_t i = 5; i < 8; ++i) // virtual width, display start
        io.setBochs(kSvgaRegisters[i], v[i]);
    uint16_t readBank = v[8];
    if (readBank == writeBank) {
        io.setBochs(kBochsBank, writeBank);
    } else {
        io.setBochs(kBochsBank, readBank | 0x8000);
        io.setBochs(kBochsBank, writeBank | 0x4000);
    }
}

} // namespace

// DL = 00h: BX = buffer size in 64-byte blocks; 01h: save into ES:BX;
// 02h: restore from ES:BX the parts CX names (they must have been saved).
void VideoBios::saveRestoreState(CpuRegs& r) {
    uint16_t mask = r.cx();
    if (mask & ~kAllParts) {
        r.setAx(kVbeFailed);
        return;
    }
    uint8_t function = r.dl();
    if (function == 0x00) {
        r.setBx(static_cast<uint16_t>((BufferSize(mask) + 63) / 64));
        r.setAx(kVbeOk);
        return;
    }
    if (function != 0x01 && function != 0x02) {
        r.setAx(kVbeFailed);
        return;
    }
    MemoryBus& m = machine_.memory();
    uint32_t at = Linear(r.es, r.bx());
    std::vector<uint8_t> buffer(BufferSize(kAllParts), 0);

    if (function == 0x01) {
        buffer[0] = static_cast<uint8_t>(mask);
        if (mask & 1) SaveVga(io_, Cursor(&buffer[PartOffset(mask, 0)]));
        if (mask & 2) {
            Cursor c(&buffer[PartOffset(mask, 1)]);
            for (uint32_t i = 0; i < bda::kVideoFieldsSize; ++i)
                c.put(m.read8(bda::kVideoFields + i));
            for (uint32_t i = 0; i < bda::kEgaFieldsSize; ++i)
                c.put(m.read8(bda::kEgaFields + i));
            c.put16(mode().number);
            c.put(static_cast<uint8_t>((linear_ ? 1 : 0) | (keptMemory_ ? 2 : 0)));
        }
        if (mask & 4) SaveDac(machine_.ports(), Cursor(&buffer[PartOffset(mask, 2)]));
        if (mask & 8) SaveSvga(io_, Cursor(&buffer[PartOffset(mask, 3)]));
        m.writeBlock(at, buffer.data(), BufferSize(mask));
        r.setAx(kVbeOk);
        return;
    }

    m.readBlock(at, buffer.data(), kHeaderSize);
    uint16_t saved = buffer[0];
    if ((saved & ~kAllParts) || (mask & ~saved)) {
        r.setAx(kVbeFailed);
        return;
    }
    m.readBlock(at, buffer.data(), BufferSize(saved));
    if (mask & 8) RestoreSvga(io_, Cursor(&buffer[PartOffset(saved, 3)]));
    if (mask & 1) RestoreVga(io_, Cursor(&buffer[PartOffset(saved, 0)]));
    if (mask & 4) RestoreDac(machine_.ports(), Cursor(&buffer[PartOffset(saved, 2)]));
    if (mask & 2) {
        Cursor c(&buffer[PartOffset(saved, 1)]);
        for (uint32_t i = 0; i < bda::kVideoFieldsSize; ++i)
            m.write8(bda::kVideoFields + i, c.get());
        for (uint32_t i = 0; i < bda::kEgaFieldsSize; ++i)
            m.write8(bda::kEgaFields + i, c.get());
        if (const ModeSpec* savedMode = FindMode(c.get16())) mode_ = savedMode;
        uint8_t flags = c.get();
        linear_ = (flags & 1) != 0;
        keptMemory_ = (flags & 2) != 0;
    }
    r.setAx(kVbeOk);
}

} // namespace pcemu::model
