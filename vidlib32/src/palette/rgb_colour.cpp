// Packs 8-bit red, green and blue into the current mode's pixel format.
#include "state.h"

using vidlib32::gDevice;

namespace {

uint32_t Field(uint32_t value, int32_t loss, uint8_t mask, int32_t position) {
    return (((value & 0xFFu) >> loss) & mask) << position;
}

} // namespace

extern "C" uint32_t SV_rgbColor(uint32_t red, uint32_t green, uint32_t blue) {
    return Field(red, gDevice.redLoss, gDevice.redMask, gDevice.redPosition) |
           Field(green, gDevice.greenLoss, gDevice.greenMask, gDevice.greenPosition) |
           Field(blue, gDevice.blueLoss, gDevice.blueMask, gDevice.bluePosition);
}
