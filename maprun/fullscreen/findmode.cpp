#include "maprun/fullscreen/findmode.h"

namespace maprun {

uint16_t FindMode640x400(const uint16_t* modes, TModeInfoQuery query) {
    uint16_t found = 0;
    if (!modes) return found;
    for (int i = 0; i < kMaxModeListLength && modes[i] != 0xFFFF; ++i) {
        SV_ModeInfo info{};
        if (query(modes[i], &info) && info.xRes == 640 && info.yRes == 400 &&
            info.lineBytes == 640 && info.pixelBits == 8)
            found = modes[i];
    }
    return found;
}

} // namespace maprun
