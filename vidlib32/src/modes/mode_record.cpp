// The record's pixel format and the software routines of its depth, as both
// mode-setting paths fill them in.
#include "modes/mode_record.h"

#include "state.h"
#include "vidlib32/vidlib32.h"

namespace vidlib32 {
namespace {

struct Component {
    uint8_t mask;
    int32_t position, loss;
};

Component ComponentOf(uint8_t size, uint8_t position) {
    const int32_t loss = size < 8 ? 8 - size : 0;
    return {static_cast<uint8_t>(255u >> loss), position, loss};
}

} // namespace

void SetPixelFormat(const std::optional<DirectColour>& direct) {
    Component red{7, 5, 5}, green{7, 2, 5}, blue{3, 0, 6};
    if (direct) {
        red = ComponentOf(direct->redSize, direct->redPosition);
        green = ComponentOf(direct->greenSize, direct->greenPosition);
        blue = ComponentOf(direct->blueSize, direct->bluePosition);
    }
    gDevice.redMask = red.mask;
    gDevice.redPosition = red.position;
    gDevice.redLoss = red.loss;
    gDevice.greenMask = green.mask;
    gDevice.greenPosition = green.position;
    gDevice.greenLoss = green.loss;
    gDevice.blueMask = blue.mask;
    gDevice.bluePosition = blue.position;
    gDevice.blueLoss = blue.loss;
}

void SetRoutines(bool linear) {
    const int32_t bits = gDevice.pixelBits;
    const DepthRoutines* routines = linear && bits != 4 ? LinearRoutines(bits) : nullptr;
    if (!routines) routines = BankedRoutines(bits);
    gDevice.clear = routines->clear;
    gDevice.putPixel = routines->putPixel;
    gDevice.line = routines->line;
    switch (bits) {
    case 4:
        gDevice.colorMax = gDevice.colorDefault = 15;
        gDevice.pixelBytes = 1;
        break;
    case 8:
        gDevice.colorMax = 255;
        gDevice.colorDefault = 15;
        gDevice.pixelBytes = 1;
        break;
    default:
        gDevice.colorMax = gDevice.colorDefault = static_cast<int32_t>(SV_rgbColor(255, 255, 255));
        gDevice.pixelBytes = bits == 24 ? 3 : bits == 32 ? 4 : 2;
        break;
    }
    gDevice.beginPixel = gDevice.endPixel = DoNothing;
    gDevice.beginLine = gDevice.endLine = DoNothing;
    gDevice.beginDirectAccess = gDevice.endDirectAccess = DoNothing;
    gDevice.putPixelFast = gDevice.putPixel;
    gDevice.lineFast = gDevice.line;
}

} // namespace vidlib32
