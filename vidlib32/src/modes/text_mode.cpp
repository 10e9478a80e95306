// The text mode before and after graphics: 25 or 50 lines.
#include "modes/text_mode.h"

#include "state.h"
#include "tobrin32/tobrin32.h"
#include "vidlib32/vidlib32.h"

namespace vidlib32 {
namespace {

constexpr int32_t kTextMode = 3;
constexpr int32_t kModeNumber = 0x3FFF; // without the linear and keep-memory bits
constexpr uint8_t kFiftyLinesLastRow = 49;

// Font information (function 1130h): DL = rows - 1.
bool ShowsFiftyLines() {
    RealRegs r = {};
    r.x.ax = 0x1130;
    r.h.bh = 0;
    TB_int86(0x10, &r, &r);
    return r.h.dl == kFiftyLinesLastRow;
}

} // namespace

void NoteTextModeLeft(int32_t requested, int32_t currentMode) {
    if (currentMode < 0) return;
    const int32_t mode = currentMode & kModeNumber;
    if (mode == requested || mode > kTextMode) return;
    gMode.restore50Lines = mode == kTextMode && ShowsFiftyLines();
}

} // namespace vidlib32

using namespace vidlib32;

extern "C" {

void SV_restoreMode(void) {
    VF_exit();
    VBE_freePMCode();
    if (gDevice.accelDriver)
        AF_restoreTextMode(AccelDriver());
    else
        VBE_setVideoMode(kTextMode);
    if (gMode.restore50Lines) {
        // The 8 x 8 font into block 0, with the rows following it.
        RealRegs r = {};
        r.x.ax = 0x1112;
        r.h.bl = 0;
        TB_int86(0x10, &r, &r);
    }
}

} // extern "C"
