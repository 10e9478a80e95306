#include "maprun/fullscreen/fullscreenunit.h"

#include "tobrin32/tobrin32.h"

#include <cstdlib>

namespace maprun {

namespace {

void ExitVideoLibrary() {
    SV_exit();
}

} // namespace

TFullscreenUnit& FullscreenUnit() {
    static TFullscreenUnit unit;
    return unit;
}

void StartFullscreenSupport() {
    TFullscreenUnit& unit = FullscreenUnit();
    if (unit.Started) return;
    unit.Started = true;
    unit.VideoWindow = static_cast<uint8_t*>(TB_mapPhysicalAddr(0xA0000, 0xFFFF));
    unit.DeviceInfo = SV_init(1);
    std::atexit(ExitVideoLibrary);
}

} // namespace maprun
