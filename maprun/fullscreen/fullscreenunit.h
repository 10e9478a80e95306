#pragma once
// What the fullscreen support keeps for the whole program: the VGA window,
// the display's device record and the control object whose run is in
// progress. Set up once at program start.
#include "vidlib32/vidlib32.h"

#include <cstdint>

namespace maprun {

class TVantorControlObject;

struct TFullscreenUnit {
    // The object whose Run is in progress, or nullptr.
    TVantorControlObject* ActiveControlObject = nullptr;
    // The 64 KB window at physical A0000h, nullptr until started (or when it
    // could not be mapped).
    uint8_t* VideoWindow = nullptr;
    // The record SV_init returned; nullptr when no VBE hardware was found.
    const SV_DeviceInfo* DeviceInfo = nullptr;
    bool Started = false;
};

TFullscreenUnit& FullscreenUnit();

// Maps the VGA window, detects the display with SV_init(1) (an accelerator
// driver when one is found) and registers SV_exit for the end of the
// program. Only the first call does anything.
void StartFullscreenSupport();

} // namespace maprun
