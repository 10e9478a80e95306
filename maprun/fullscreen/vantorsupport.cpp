#include "maprun/fullscreen/vantorsupport.h"

#include "maprun/fullscreen/fullscreenunit.h"

#include <cstring>

namespace maprun {

namespace {

// The library's copy of the OEM name holds at most this many bytes with its end.
constexpr size_t kOemNameCapacity = 80;

} // namespace

VbeDeviceSummary SummarizeDevice(const SV_DeviceInfo& info) {
    VbeDeviceSummary summary;
    summary.version = info.version;
    if (info.oemName) summary.oem.assign(info.oemName, strnlen(info.oemName, kOemNameCapacity));
    summary.memoryKB = info.memoryKB;
    return summary;
}

TVantorFullscreen::TVantorFullscreen() {
    StartFullscreenSupport();
    if (const SV_DeviceInfo* info = FullscreenUnit().DeviceInfo) summary_ = SummarizeDevice(*info);
}

const VbeDeviceSummary* TVantorFullscreen::DeviceInfo() const {
    return summary_ ? &*summary_ : nullptr;
}

bool TVantorFullscreen::CanRunFullscreen() const {
    return summary_.has_value() && FullscreenUnit().VideoWindow != nullptr;
}

void TVantorFullscreen::RunFullscreen(TZorvGame& game) {
    TVantorControlObject control;
    control.Run(game);
}

} // namespace maprun
