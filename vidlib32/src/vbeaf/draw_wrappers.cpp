// The wrappers of the driver's drawing entries: mix, pattern, stipple and
// clip state, scans, rectangles, lines, the polygon and image entries, and
// the blits. Blocks are the wrapper's arguments after the registers, in
// their order, as 32-bit values in guest memory.
#include "vbeaf/entry_call.h"
#include "vidlib32/vidlib32.h"

using namespace vidlib32::vbeaf;
using H = AF_DriverHeader;

namespace {

int32_t S(uint32_t value) {
    return static_cast<int32_t>(value);
}

// An entry taking a block in ESI besides the registers in `regs`.
template <size_t N>
int32_t CallWithBlock(H* driver, EntryField field, const int32_t (&values)[N],
                      pcemu::CpuRegs regs = {}) {
    regs.esi = PutBlock(values);
    if (regs.esi == 0) return kEntryFailed;
    return CallEntry(driver, field, regs);
}

// The polygon and image entries: the caller's values, unread.
int32_t CallWithValues(H* driver, EntryField field, const int32_t* values, int32_t count,
                       pcemu::CpuRegs regs) {
    if (count < 0) return kEntryFailed;
    GuestView block(values, 4 * static_cast<size_t>(count));
    if (!block.ok()) return kEntryFailed;
    regs.esi = block.address();
    return CallEntry(driver, field, regs);
}

} // namespace

extern "C" {

int32_t AF_setMix(H* driver, int32_t foregroundMix, int32_t backgroundMix) {
    return CallEntry(driver, &H::SetMix, {.eax = Reg(foregroundMix), .ecx = Reg(backgroundMix)});
}

int32_t AF_set8x8MonoPattern(H* driver, const uint8_t pattern[8]) {
    GuestView rows(pattern, 8);
    if (!rows.ok()) return kEntryFailed;
    return CallEntry(driver, &H::Set8x8MonoPattern, {.esi = rows.address()});
}

int32_t AF_setLineStipple(H* driver, uint16_t stipple) {
    return CallEntry(driver, &H::SetLineStipple, {.eax = stipple});
}

int32_t AF_setClipRect(H* driver, int32_t minX, int32_t minY, int32_t maxX, int32_t maxY) {
    return CallWithBlock(driver, &H::SetClipRect, {minX, minY, maxX, maxY});
}

int32_t AF_drawScan(H* driver, uint32_t colour, int32_t y, int32_t x1, int32_t x2) {
    return CallEntry(driver, &H::DrawScan,
                     {.eax = Reg(y), .ecx = Reg(x1), .edx = Reg(x2), .esi = colour});
}

int32_t AF_drawPattScan(H* driver, uint32_t foreground, uint32_t background, int32_t y, int32_t x1,
                        int32_t x2) {
    return CallEntry(
        driver, &H::DrawPattScan,
        {.eax = Reg(y), .ecx = Reg(x1), .edx = Reg(x2), .esi = foreground, .edi = background});
}

int32_t AF_drawScanList(H* driver, uint32_t colour, int32_t y, int32_t length,
                        const AF_Scan* scans) {
    if (length < 0) return kEntryFailed;
    GuestView list(scans, sizeof(AF_Scan) * static_cast<size_t>(length));
    if (!list.ok()) return kEntryFailed;
    return CallEntry(driver, &H::DrawScanList,
                     {.eax = Reg(y), .ecx = Reg(length), .edx = colour, .esi = list.address()});
}

int32_t AF_drawRect(H* driver, uint32_t colour, int32_t left, int32_t top, int32_t width,
                    int32_t height) {
    return CallWithBlock(driver, &H::DrawRect, {left, top, width, height}, {.eax = colour});
}

int32_t AF_drawPattRect(H* driver, uint32_t foreground, uint32_t background, int32_t left,
                        int32_t top, int32_t width, int32_t height) {
    return CallWithBlock(driver, &H::DrawPattRect, {left, top, width, height},
                         {.eax = foreground, .ecx = background});
}

int32_t AF_drawLine(H* driver, uint32_t colour, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return CallWithBlock(driver, &H::DrawLine, {x1, y1, x2, y2}, {.eax = colour});
}

int32_t AF_drawStippleLine(H* driver, uint32_t foreground, uint32_t background, int32_t x1,
                           int32_t y1, int32_t x2, int32_t y2) {
    return CallWithBlock(driver, &H::DrawStippleLine, {x1, y1, x2, y2},
                         {.eax = foreground, .ecx = background});
}

int32_t AF_drawTrap(H* driver, uint32_t colour, const int32_t* values, int32_t count) {
    return CallWithValues(driver, &H::DrawTrap, values, count, {.eax = colour});
}

int32_t AF_drawTri(H* driver, uint32_t colour, const int32_t* values, int32_t count) {
    return CallWithValues(driver, &H::DrawTri, values, count, {.eax = colour});
}

int32_t AF_drawQuad(H* driver, uint32_t colour, const int32_t* values, int32_t count) {
    return CallWithValues(driver, &H::DrawQuad, values, count, {.eax = colour});
}

int32_t AF_putMonoImage(H* driver, uint32_t foreground, uint32_t background, const int32_t* values,
                        int32_t count) {
    return CallWithValues(driver, &H::PutMonoImage, values, count,
                          {.eax = foreground, .ecx = background});
}

int32_t AF_bitBlt(H* driver, int32_t left, int32_t top, int32_t width, int32_t height,
                  int32_t dstLeft, int32_t dstTop, int32_t mix) {
    return CallWithBlock(driver, &H::BitBlt, {left, top, width, height, dstLeft, dstTop, mix});
}

int32_t AF_bitBltLin(H* driver, int32_t srcOffset, int32_t dstLeft, int32_t dstTop, int32_t width,
                     int32_t height, int32_t mix) {
    return CallWithBlock(driver, &H::BitBltLin, {srcOffset, dstLeft, dstTop, width, height, mix});
}

int32_t AF_srcTransBlt(H* driver, int32_t left, int32_t top, int32_t width, int32_t height,
                       int32_t dstLeft, int32_t dstTop, int32_t mix, uint32_t transparent) {
    return CallWithBlock(driver, &H::SrcTransBlt,
                         {left, top, width, height, dstLeft, dstTop, mix, S(transparent)});
}

int32_t AF_srcTransBltLin(H* driver, int32_t srcOffset, int32_t dstLeft, int32_t dstTop,
                          int32_t width, int32_t height, int32_t mix, uint32_t transparent) {
    return CallWithBlock(driver, &H::SrcTransBltLin,
                         {srcOffset, dstLeft, dstTop, width, height, mix, S(transparent)});
}

int32_t AF_dstTransBlt(H* driver, int32_t left, int32_t top, int32_t width, int32_t height,
                       int32_t dstLeft, int32_t dstTop, int32_t mix, uint32_t transparent) {
    return CallWithBlock(driver, &H::DstTransBlt,
                         {left, top, width, height, dstLeft, dstTop, mix, S(transparent)});
}

int32_t AF_dstTransBltLin(H* driver, int32_t srcOffset, int32_t dstLeft, int32_t dstTop,
                          int32_t width, int32_t height, int32_t mix, uint32_t transparent) {
    return CallWithBlock(driver, &H::DstTransBltLin,
                         {srcOffset, dstLeft, dstTop, width, height, mix, S(transparent)});
}

} // extern "C"
