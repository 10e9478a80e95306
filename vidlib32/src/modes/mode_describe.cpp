// Describing a mode to the caller: SV_getModeInfo's record and
// SV_getModeName's text.
#include "modes/mode_record.h"
#include "state.h"
#include "vbe/records.h"
#include "vbeaf/accel_modes.h"
#include "vidlib32/vidlib32.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace vidlib32;

namespace {

constexpr int32_t kModeNumberMask = 0x1FF;
// Every name fits this, terminating zero included.
constexpr size_t kNameRoom = 70;

uint16_t AttributesOf(const ModeInfoBlock& info) {
    uint16_t attributes = SV_ATTR_VBE;
    if (info.NumberOfImagePages > 0) attributes |= SV_ATTR_MULTIBUFFER | SV_ATTR_VIRTUALSCROLL;
    if (!(info.ModeAttributes & kModeNoWindows)) attributes |= SV_ATTR_BANKED;
    if (info.ModeAttributes & kModeLinear) attributes |= SV_ATTR_LINEAR;
    if (info.ModeAttributes & kModeNotVga) attributes |= SV_ATTR_NONVGA;
    return attributes;
}

} // namespace

extern "C" {

int32_t SV_getModeInfo(int32_t mode, SV_ModeInfo* modeInfo) {
    const int32_t number = mode & kModeNumberMask;
    if (number < 0x100 || !modeInfo) return 0;
    if (gDevice.accelDriver) return vbeaf::DriverModeInfo(number, modeInfo);
    ModeInfoBlock info = {};
    if (!VBE_getModeInfo(number, &info) || !(info.ModeAttributes & kModeGraphics)) return 0;
    *modeInfo = ModeInfoFrom(info, number, AttributesOf(info),
                             static_cast<uint16_t>(info.NumberOfImagePages + 1));
    return 1;
}

// The text is cut to 70 bytes with its terminating zero, the room callers
// give it.
int32_t SV_getModeName(char* buffer, const SV_ModeInfo* modeInfo, int32_t mode, int32_t useLinear) {
    if (!buffer || !modeInfo) return 0;
    const uint16_t attributes = modeInfo->attributes;
    const bool banked = attributes & SV_ATTR_BANKED;
    const bool linear = attributes & SV_ATTR_LINEAR;
    if (!banked && !useLinear) return 0;

    const char* access = ", Banked Only";
    if (useLinear && linear) access = banked ? ", Banked+Linear" : ", Linear Only";
    if (useLinear && linear) mode += SV_MODE_LINEAR;
    char text[128];
    std::snprintf(text, sizeof text, "%4d x %4d %d bit (%2d page%s%s%s",
                  static_cast<uint16_t>(modeInfo->xRes), static_cast<uint16_t>(modeInfo->yRes),
                  static_cast<uint16_t>(modeInfo->pixelBits), modeInfo->pages, access,
                  (attributes & SV_ATTR_ACCELERATED) ? ", Accelerated" : "",
                  (attributes & SV_ATTR_NONVGA) ? ", NonVGA)" : ")");
    const size_t length = std::min(std::strlen(text), kNameRoom - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = 0;
    return mode & 0xFFFF;
}

} // extern "C"
