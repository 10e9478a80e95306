#pragma once
// The library's one set of state per process. Single-threaded: every export
// runs on the thread that took the screen.
#include "eventqueue.h"
#include "vantor32/vantor32.h"

#include <cstdint>

namespace vantor32 {

struct LibraryState {
    // Events
    EventQueue queue;
    int lastMoveSlot = -1; // queued move that may still absorb later moves
    std::int32_t mouseX = 0, mouseY = 0;
    VTMouseCallback mouseCallback = nullptr;
    std::int32_t timerTicks = 0;

    // Screen takeover
    std::int32_t desktopWidth = 0, desktopHeight = 0;
    std::int32_t modeWidth = 0, modeHeight = 0;
    VTWindow fullscreenWindow = nullptr;
    VTWindow mainWindow = nullptr;
    bool fullscreenActive = false;
    bool suspending = false;
    bool waitingForActivation = false;
    VTSuspendAppCallback suspendCallback = nullptr;

    void EmptyQueue() {
        queue.Clear();
        lastMoveSlot = -1;
    }
};

LibraryState& State();

// value * to / from, truncating, through 64 bits; the value itself while
// either size is still unknown (0).
std::int32_t Rescale(std::int32_t value, std::int32_t to, std::int32_t from);

} // namespace vantor32
