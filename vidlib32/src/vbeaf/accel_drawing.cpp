// Drawing on a driver's engine: the brackets that keep software drawing off
// the busy engine, the engine's clear and lines, and software pixels and
// lines inside brackets.
#include "state.h"
#include "vbeaf/accel_routines.h"

namespace vidlib32::vbeaf {
namespace {

constexpr int32_t kFixedOne = 65536; // 16.16 fixed point

// The software routines of the depth, which the bracketed forms run.
void (*softwarePixel)(int32_t x, int32_t y, uint32_t colour) = nullptr;
void (*softwareLine)(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) = nullptr;

int32_t Fixed(int32_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) * kFixedOne);
}

void ClearAF(uint32_t colour) {
    AF_drawRect(AccelDriver(), colour, 0, 0, gDevice.lastX + 1, gDevice.lastY + 1);
}

void PutPixelAF(int32_t x, int32_t y, uint32_t colour) {
    gDevice.beginPixel();
    softwarePixel(x, y, colour);
    gDevice.endPixel();
}

void LineBracketedAF(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    gDevice.beginLine();
    softwareLine(x1, y1, x2, y2, colour);
    gDevice.endLine();
}

} // namespace

void UseAcceleratedRoutines(const AF_DriverHeader& driver) {
    softwarePixel = gDevice.putPixel;
    softwareLine = gDevice.line;
    const bool direct = driver.EnableDirectAccess != 0 && driver.DisableDirectAccess != 0;
    void (*begin)() = direct ? _SV_beginPixelAFSLOW : _SV_beginPixelAF;
    void (*end)() = direct ? _SV_endPixelAFSLOW : _SV_endPixelAF;
    gDevice.beginPixel = begin;
    gDevice.endPixel = end;
    gDevice.beginDirectAccess = direct ? _SV_beginDirectAccessAFSLOW : _SV_beginDirectAccessAF;
    gDevice.endDirectAccess = direct ? _SV_endDirectAccessAFSLOW : _SV_endDirectAccessAF;
    gDevice.clear = ClearAF;
    gDevice.putPixelFast = softwarePixel;
    gDevice.putPixel = PutPixelAF;
    if (driver.DrawLine) {
        gDevice.line = gDevice.lineFast = _SV_lineFastAF;
        gDevice.beginLine = gDevice.endLine = DoNothing;
    } else {
        gDevice.beginLine = direct ? _SV_beginLineAFSLOW : _SV_beginLineAF;
        gDevice.endLine = direct ? _SV_endLineAFSLOW : _SV_endLineAF;
        gDevice.line = LineBracketedAF;
        gDevice.lineFast = softwareLine;
    }
}

} // namespace vidlib32::vbeaf

using vidlib32::AccelDriver;

extern "C" {

// Without direct access: wait until the engine is idle; nothing to undo.
void _SV_beginPixelAF(void) {
    AF_waitTillIdle(AccelDriver());
}
void _SV_endPixelAF(void) {}
void _SV_beginLineAF(void) {
    AF_waitTillIdle(AccelDriver());
}
void _SV_endLineAF(void) {}
void _SV_beginDirectAccessAF(void) {
    AF_waitTillIdle(AccelDriver());
}
void _SV_endDirectAccessAF(void) {}

// With direct access: the driver opens video memory and closes it again.
void _SV_beginPixelAFSLOW(void) {
    AF_enableDirectAccess(AccelDriver());
}
void _SV_endPixelAFSLOW(void) {
    AF_disableDirectAccess(AccelDriver());
}
void _SV_beginLineAFSLOW(void) {
    AF_enableDirectAccess(AccelDriver());
}
void _SV_endLineAFSLOW(void) {
    AF_disableDirectAccess(AccelDriver());
}
void _SV_beginDirectAccessAFSLOW(void) {
    AF_enableDirectAccess(AccelDriver());
}
void _SV_endDirectAccessAFSLOW(void) {
    AF_disableDirectAccess(AccelDriver());
}

void _SV_lineFastAF(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    using vidlib32::vbeaf::Fixed;
    AF_drawLine(AccelDriver(), colour, Fixed(x1), Fixed(y1), Fixed(x2), Fixed(y2));
}

} // extern "C"
