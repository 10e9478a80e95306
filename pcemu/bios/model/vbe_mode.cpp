// VBE functions 02h (set mode) and 03h (current mode).
#include "bios/model/mode_offer.h"
#include "bios/model/video_bios.h"

namespace pcemu::model {
namespace {

constexpr uint16_t kModeNumber = 0x01FF;
constexpr uint16_t kUserCrtc = 0x0800; // CRTC values at ES:DI: not offered
constexpr uint16_t kLinearFlag = 0x4000;
constexpr uint16_t kKeepMemoryFlag = 0x8000;

} // namespace

// BX = mode: bits 0-8 the number (VGA modes below 100h), bit 14 the linear
// buffer, bit 15 keep video memory. Reserved bits 9-13 are ignored.
void VideoBios::setVbeMode(CpuRegs& r) {
    uint16_t bx = r.bx();
    bool linear = (bx & kLinearFlag) != 0;
    const ModeSpec* mode = FindMode(bx & kModeNumber);
    bool usable = mode && Supports(p_, *mode, vramBytes_) && !(bx & kUserCrtc);
    if (usable && linear) usable = p_.linearBuffer && !mode->vga;
    if (usable && !linear) usable = !mode->linearOnly;
    if (!usable || !setMode(*mode, linear, (bx & kKeepMemoryFlag) != 0)) {
        r.setAx(kVbeFailed);
        return;
    }
    r.setAx(kVbeOk);
}

void VideoBios::currentVbeMode(CpuRegs& r) {
    uint16_t bx = mode().number;
    if (linear_) bx |= kLinearFlag;
    if (keptMemory_) bx |= kKeepMemoryFlag;
    r.setBx(bx);
    r.setAx(kVbeOk);
}

} // namespace pcemu::model
