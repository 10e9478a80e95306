// 16 colours: four planes, one bit per pixel in each, a byte covers 8
// pixels. The stores go through the emulated adapter's memory model and
// Graphics Controller (ports 3CEh/3CFh), whose latches and write modes
// combine the planes; host pointers into the window would bypass them.
// Each routine leaves the Graphics Controller in its default state.
#include "draw/line_walk.h"
#include "draw/page_access.h"

#include "pcemu/layout.h"
#include "pcemu/machine.h"

namespace vidlib32::draw {
namespace {

enum GcIndex : uint8_t {
    kSetReset = 0,
    kEnableSetReset = 1,
    kDataRotate = 3,
    kMode = 5,
    kColourDontCare = 7,
    kBitMask = 8,
};
constexpr uint8_t kWriteMode2 = 0x02;
constexpr uint8_t kWriteMode3ReadMode1 = 0x0B;

pcemu::Machine& Pc() {
    return pcemu::TheMachine();
}

void Gc(uint8_t index, uint8_t value) {
    Pc().ports().out16(0x3CE, static_cast<uint16_t>(index | (value << 8)));
}

// Guest address of the bank window.
uint32_t GuestWindow() {
    return Pc().linearOf(gDevice.frameMemory).value_or(pcemu::kVgaWindow);
}

// Reads the byte (loading the latches), then writes `value` to it.
void LatchAndWrite(pcemu::MemoryBus& memory, uint32_t at, uint8_t value) {
    memory.read8(at);
    memory.write8(at, value);
}

// Gathers the pixels of one byte and stores them at once (write mode 3:
// the byte written selects the pixels that take the Set/Reset colour).
struct PlanarCursor {
    pcemu::MemoryBus& memory;
    uint32_t window;
    uint32_t position;
    uint32_t rowStep;
    uint8_t bit;
    uint8_t pending = 0;
    void plot() { pending |= bit; }
    void right() {
        bit >>= 1;
        if (bit == 0) {
            flush();
            bit = 0x80;
            ++position;
        }
    }
    void row() {
        flush();
        position += rowStep;
    }
    void finish() { flush(); }
    void flush() {
        if (pending == 0) return;
        SelectBankOf(position);
        LatchAndWrite(memory, window + (position & 0xFFFFu), pending);
        pending = 0;
    }
};

} // namespace
} // namespace vidlib32::draw

using namespace vidlib32::draw;

extern "C" {

void _SV_clear16(uint32_t colour) {
    Gc(kSetReset, static_cast<uint8_t>(colour & 0x0F));
    Gc(kEnableSetReset, 0x0F);
    pcemu::MemoryBus& memory = Pc().memory();
    const uint32_t window = GuestWindow();
    ForEachPageBank([&](uint32_t offset, uint32_t bytes) {
        uint32_t at = window + offset;
        uint32_t end = at + bytes;
        for (; at + 4 <= end; at += 4)
            memory.write32(at, 0xFFFFFFFFu);
        for (; at < end; ++at)
            memory.write8(at, 0xFF);
    });
    Gc(kSetReset, 0);
    Gc(kEnableSetReset, 0);
}

void _SV_putPixel16(int32_t x, int32_t y, uint32_t colour) {
    uint32_t position = BankedPosition(y, static_cast<uint32_t>(x) >> 3);
    SelectBankOf(position);
    Gc(kBitMask, static_cast<uint8_t>(0x80u >> (x & 7)));
    Gc(kMode, kWriteMode2);
    Gc(kDataRotate, 0);
    LatchAndWrite(Pc().memory(), GuestWindow() + (position & 0xFFFFu),
                  static_cast<uint8_t>(colour));
    Gc(kBitMask, 0xFF);
    Gc(kMode, 0);
    Gc(kDataRotate, 0);
}

void _SV_line16(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    Gc(kMode, kWriteMode3ReadMode1);
    Gc(kDataRotate, 0);
    Gc(kColourDontCare, 0);
    Gc(kEnableSetReset, 0x0F);
    Gc(kBitMask, 0xFF);
    Gc(kSetReset, static_cast<uint8_t>(colour & 0x0F));
    LineShape shape = ShapeOf(x1, y1, x2, y2);
    PlanarCursor cursor{Pc().memory(), GuestWindow(),
                        BankedPosition(shape.y, static_cast<uint32_t>(shape.x) >> 3),
                        static_cast<uint32_t>(RowStep(shape, vidlib32::gDevice.lineBytes)),
                        static_cast<uint8_t>(0x80u >> (shape.x & 7))};
    WalkLine(shape, cursor);
    Gc(kSetReset, 0);
    Gc(kEnableSetReset, 0);
    Gc(kDataRotate, 0);
    Gc(kMode, 0);
    Gc(kColourDontCare, 0x0F);
    Gc(kBitMask, 0xFF);
}

} // extern "C"
