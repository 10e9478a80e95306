// The event exports: taking, peeking, posting and waiting for events, the
// timer tick and the mouse position.
#include "librarystate.h"
#include "translation.h"
#include "vantor32/platform.h"

#include <algorithm>

using namespace vantor32;

namespace {

constexpr std::uint32_t kTimerId = 1;

// Finds the oldest matching event after collecting input; -1 if none.
int CollectAndFind(VTEventRecord* record, std::uint32_t mask) {
    Collect();
    if (record) record->Kind = 0;
    return State().queue.FindFirst(mask);
}

// ticks x 54.925 ms truncated, held within the largest period a timer takes.
std::uint32_t TimerPeriodMs(std::int32_t ticks) {
    const std::int64_t ms = static_cast<std::int64_t>(ticks) * 54925 / 1000;
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(ms, 1, 0x7FFFFFFF));
}

} // namespace

extern "C" {

int32_t VT_getEvent(VTEventRecord* record, uint32_t mask) {
    LibraryState& state = State();
    const int slot = CollectAndFind(record, mask);
    if (slot < 0) return 0;
    const VTEventRecord event = state.queue.Remove(slot);
    if (record) *record = event;
    if (event.Kind == VT_EV_MOUSEMOVE) state.lastMoveSlot = -1;
    return 1;
}

int32_t VT_peekEvent(VTEventRecord* record, uint32_t mask) {
    const int slot = CollectAndFind(record, mask);
    if (slot < 0) return 0;
    if (record) *record = State().queue.At(slot);
    return 1;
}

int32_t VT_postEvent(uint32_t kind, uint32_t code, uint32_t modifiers) {
    LibraryState& state = State();
    if (state.queue.Full()) return 0;
    const Platform& platform = CurrentPlatform();
    VTEventRecord event{};
    event.Kind = kind;
    event.Time = platform.timeMs(platform.context);
    event.Code = code;
    event.Modifiers = modifiers;
    return state.queue.Append(event) >= 0 ? 1 : 0;
}

void VT_flushEvent(uint32_t mask) {
    VTEventRecord event;
    while (VT_getEvent(&event, mask)) {
    }
}

void VT_haltEvent(VTEventRecord* record, uint32_t mask) {
    VTEventRecord event{};
    do {
        VT_getEvent(&event, VT_EV_ALL);
    } while ((event.Kind & mask) == 0);
    if (record) *record = event;
}

int32_t VT_setTimerTick(int32_t ticks) {
    LibraryState& state = State();
    const Platform& platform = CurrentPlatform();
    const std::int32_t previous = state.timerTicks;
    state.timerTicks = ticks;
    // A timer belongs to the fullscreen window; without one only the setting is kept.
    if (state.fullscreenWindow) {
        platform.killTimer(platform.context, state.fullscreenWindow, kTimerId);
        if (ticks > 0)
            platform.setTimer(platform.context, state.fullscreenWindow, kTimerId,
                              TimerPeriodMs(ticks));
    }
    return previous;
}

void VT_getMousePos(int32_t* x, int32_t* y) {
    const LibraryState& state = State();
    if (x) *x = state.mouseX;
    if (y) *y = state.mouseY;
}

void VT_setMousePos(int32_t x, int32_t y) {
    LibraryState& state = State();
    state.mouseX = x;
    state.mouseY = y;
    if (state.mouseCallback) state.mouseCallback(x, y);
    const Platform& platform = CurrentPlatform();
    platform.setCursorPos(platform.context, Rescale(x, state.desktopWidth, state.modeWidth),
                          Rescale(y, state.desktopHeight, state.modeHeight));
}

void VT_setMouseCallback(VTMouseCallback callback) {
    State().mouseCallback = callback;
}
}
