#pragma once
// The test window's fullscreen support over the graphics libraries: the
// device facts SV_init found, and runs of TVantorControlObject.
#include "maprun/fullscreen/vantorcontrol.h"
#include "maprun/window/displayhardware.h"

#include "vidlib32/vidlib32.h"

#include <optional>

namespace maprun {

class TVantorFullscreen : public FullscreenSupport {
public:
    // Starts the fullscreen support (StartFullscreenSupport) and reads the
    // device record it found.
    TVantorFullscreen();

    const VbeDeviceSummary* DeviceInfo() const override;
    // True when VBE hardware was found and the VGA window is mapped.
    bool CanRunFullscreen() const override;
    // One run of a new control object; its EVantorError and the game's
    // errors pass to the caller, with the desktop given back.
    void RunFullscreen(TZorvGame& game) override;

private:
    std::optional<VbeDeviceSummary> summary_;
};

// The device record's facts the window shows; the OEM name is read up to
// its end or its 80th byte.
VbeDeviceSummary SummarizeDevice(const SV_DeviceInfo& info);

} // namespace maprun
