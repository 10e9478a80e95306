// The exported drawing entries: each calls the routine the mode set put in
// the device record's slot of the same name, without tests.
#include "state.h"

using vidlib32::gDevice;

extern "C" {

void SV_putPixel(int32_t x, int32_t y, uint32_t colour) {
    gDevice.putPixel(x, y, colour);
}
void SV_beginPixel(void) {
    gDevice.beginPixel();
}
void SV_putPixelFast(int32_t x, int32_t y, uint32_t colour) {
    gDevice.putPixelFast(x, y, colour);
}
void SV_endPixel(void) {
    gDevice.endPixel();
}
void SV_clear(uint32_t colour) {
    gDevice.clear(colour);
}
void SV_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    gDevice.line(x1, y1, x2, y2, colour);
}
void SV_beginLine(void) {
    gDevice.beginLine();
}
void SV_lineFast(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    gDevice.lineFast(x1, y1, x2, y2, colour);
}
void SV_endLine(void) {
    gDevice.endLine();
}
void SV_beginDirectAccess(void) {
    gDevice.beginDirectAccess();
}
void SV_endDirectAccess(void) {
    gDevice.endDirectAccess();
}

} // extern "C"
