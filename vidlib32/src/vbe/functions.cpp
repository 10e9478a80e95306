// The BIOS layer's plain calls: the transfer buffer, modes, windows, scan
// line length, display start, DAC width and palette.
#include "frame/fatal.h"
#include "state.h"
#include "vbe/bios_call.h"
#include "vbe/messages.h"
#include "vbe/records.h"
#include "vidlib32/vidlib32.h"

#include <cstring>
#include <vector>

using namespace vidlib32;

namespace {

constexpr int32_t kMinimumBufferBytes = 512;

RealRegs Function(uint8_t function) {
    RealRegs r = {};
    r.x.ax = static_cast<uint16_t>(0x4F00 | function);
    return r;
}

int32_t Status(const RealRegs& r) {
    return r.x.ax == kVbeOk ? 1 : 0;
}

// Function 06h: BX, CX and DX go to the outputs whatever the outcome.
int32_t ScanLine(uint8_t subfunction, int32_t value, int32_t* bytesPerLine, int32_t* pixelsPerLine,
                 int32_t* maxScanLines) {
    RealRegs r = Function(0x06);
    r.h.bl = subfunction;
    r.x.cx = static_cast<uint16_t>(value);
    CallVbe(r);
    if (bytesPerLine) *bytesPerLine = r.x.bx;
    if (pixelsPerLine) *pixelsPerLine = r.x.cx;
    if (maxScanLines) *maxScanLines = r.x.dx;
    return Status(r);
}

} // namespace

extern "C" {

void VBE_init(int32_t size, uint32_t selector, uint32_t offset, uint32_t realSegment,
              uint32_t realOffset) {
    if (size < kMinimumBufferBytes) FatalError(kFatalCaption, kSmallBufferMessage);
    gVbe.bufferSize = size;
    gVbe.bufferSelector = selector;
    gVbe.bufferOffset = offset;
    gVbe.bufferSegment = realSegment;
    gVbe.bufferRealOffset = realOffset;
}

int32_t VBE_setVideoMode(int32_t mode) {
    RealRegs r = {};
    if (gVbe.version >= 0x0200 || mode >= 0x100) {
        r = Function(0x02);
        r.x.bx = static_cast<uint16_t>(mode);
        CallVbe(r);
        return Status(r);
    }
    r.h.al = static_cast<uint8_t>(mode); // AH = 0: the standard mode set
    CallVbe(r);
    return 1;
}

int32_t VBE_getVideoMode(void) {
    RealRegs r = Function(0x03);
    CallVbe(r);
    return Status(r) ? r.x.bx : -1;
}

int32_t VBE_setBank(int32_t window, int32_t bank) {
    RealRegs r = Function(0x05);
    r.h.bh = 0;
    r.h.bl = static_cast<uint8_t>(window);
    r.x.dx = static_cast<uint16_t>(bank);
    CallVbe(r);
    return Status(r);
}

int32_t VBE_getBank(int32_t window) {
    RealRegs r = Function(0x05);
    r.h.bh = 1;
    r.h.bl = static_cast<uint8_t>(window);
    CallVbe(r);
    return Status(r) ? r.x.dx : -1;
}

int32_t VBE_setPixelsPerLine(int32_t pixels, int32_t* bytesPerLine, int32_t* pixelsPerLine,
                             int32_t* maxScanLines) {
    return ScanLine(0x00, pixels, bytesPerLine, pixelsPerLine, maxScanLines);
}

int32_t VBE_setBytesPerLine(int32_t bytes, int32_t* bytesPerLine, int32_t* pixelsPerLine,
                            int32_t* maxScanLines) {
    return ScanLine(0x02, bytes, bytesPerLine, pixelsPerLine, maxScanLines);
}

int32_t VBE_getScanlineLength(int32_t* bytesPerLine, int32_t* pixelsPerLine,
                              int32_t* maxScanLines) {
    return ScanLine(0x01, 0, bytesPerLine, pixelsPerLine, maxScanLines);
}

int32_t VBE_getMaxScanlineLength(int32_t* maxBytes, int32_t* maxPixels) {
    RealRegs r = Function(0x06);
    r.h.bl = 0x03;
    CallVbe(r);
    if (!Status(r)) return 0;
    if (maxBytes) *maxBytes = r.x.bx;
    if (maxPixels) *maxPixels = r.x.cx;
    return 1;
}

int32_t VBE_setDisplayStart(int32_t x, int32_t y, int32_t waitForRetrace) {
    RealRegs r = Function(0x07);
    r.x.bx = waitForRetrace ? 0x80 : 0x00;
    r.x.cx = static_cast<uint16_t>(x);
    r.x.dx = static_cast<uint16_t>(y);
    CallVbe(r);
    return Status(r);
}

int32_t VBE_getDisplayStart(int32_t* x, int32_t* y) {
    RealRegs r = Function(0x07);
    r.x.bx = 0x01;
    CallVbe(r);
    if (!Status(r)) return 0;
    if (x) *x = r.x.cx;
    if (y) *y = r.x.dx;
    return 1;
}

int32_t VBE_setDACWidth(int32_t bits) {
    RealRegs r = Function(0x08);
    r.h.bl = 0x00;
    r.h.bh = static_cast<uint8_t>(bits);
    CallVbe(r);
    return Status(r);
}

int32_t VBE_getDACWidth(void) {
    RealRegs r = Function(0x08);
    r.h.bl = 0x01;
    CallVbe(r);
    return Status(r) ? r.h.bh : -1;
}

// The entries go through the transfer buffer, so a block larger than the
// buffer is refused. The caller's block is read only: the call works on a copy.
int32_t VBE_setPalette(int32_t start, int32_t count, const void* palette, int32_t waitForRetrace) {
    RequireTransferBuffer();
    if (count < 0 || !palette || count > gVbe.bufferSize / 4) return 0;
    std::vector<uint8_t> block(static_cast<size_t>(count) * 4);
    if (!block.empty()) std::memcpy(block.data(), palette, block.size());
    RealRegs r = Function(0x09);
    r.h.bl = waitForRetrace ? 0x80 : 0x00;
    r.x.cx = static_cast<uint16_t>(count);
    r.x.dx = static_cast<uint16_t>(start);
    if (!CallVbeWithBuffer(r, block.data(), static_cast<uint32_t>(block.size()))) return 0;
    return Status(r);
}

} // extern "C"
