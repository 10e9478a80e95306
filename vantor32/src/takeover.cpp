// Taking the screen from the desktop and giving it back, the application
// switch and message boxes shown while the screen is taken.
#include "takeover.h"

#include "librarystate.h"
#include "windowmessages.h"

using namespace vantor32;

namespace {

int32_t AskSuspendCallback(int32_t flag) {
    const VTSuspendAppCallback callback = State().suspendCallback;
    return callback ? callback(flag) : 1;
}

void TellSuspendCallback(int32_t flag) {
    if (const VTSuspendAppCallback callback = State().suspendCallback) callback(flag);
}

// Waits, spinning on the message queue, until VT_winProc sees the fullscreen
// window activated again.
void WaitForActivation() {
    LibraryState& state = State();
    const Platform& platform = CurrentPlatform();
    state.waitingForActivation = true;
    Message message;
    while (state.waitingForActivation) {
        if (!platform.takeMessage(platform.context, &message, std::nullopt)) {
            platform.pump(platform.context);
            continue;
        }
        TranslateMessage(message);
        DispatchMessage(message);
    }
}

} // namespace

namespace vantor32 {

void SwitchAway(const Message* trigger) {
    LibraryState& state = State();
    const Platform& platform = CurrentPlatform();
    // A request that arrives after the screen was given back has nothing to switch.
    if (!state.fullscreenActive || !state.fullscreenWindow || state.suspending) return;
    if (AskSuspendCallback(VT_SUSPEND_ASK) == 0) {
        platform.activateWindow(platform.context, state.fullscreenWindow);
        return;
    }
    state.suspending = true;
    VT_restoreGDI();
    platform.showWindow(platform.context, state.fullscreenWindow, ShowCommand::Minimize);
    PumpMessages();
    if (trigger) DispatchMessage(*trigger);
    WaitForActivation();
    VT_startFullScreen(state.mainWindow, state.modeWidth, state.modeHeight);
    PumpMessages();
    TellSuspendCallback(VT_SUSPEND_RESUMED);
    state.suspending = false;
}

} // namespace vantor32

extern "C" {

void __ShutdownGDI(void) {
    const Platform& platform = CurrentPlatform();
    platform.showCursor(platform.context, false);
    __Death();
}

void __RestoreGDI(void) {
    const Platform& platform = CurrentPlatform();
    __Resurrection();
    platform.repaintDesktop(platform.context, true);
    platform.setCursorShape(platform.context, CursorShape::Wait);
    platform.setCursorShape(platform.context, CursorShape::Arrow);
    platform.showCursor(platform.context, true);
    platform.repaintDesktop(platform.context, false);
}

VTWindow VT_startFullScreen(VTWindow mainWindow, int32_t modeWidth, int32_t modeHeight) {
    LibraryState& state = State();
    const Platform& platform = CurrentPlatform();
    const DesktopSize desktop = platform.desktopSize(platform.context);
    state.desktopWidth = desktop.width;
    state.desktopHeight = desktop.height;
    state.modeWidth = modeWidth;
    state.modeHeight = modeHeight;
    state.mainWindow = mainWindow;
    if (!state.suspending) {
        if (mainWindow) {
            platform.showWindow(platform.context, mainWindow, ShowCommand::Hide);
            platform.enableWindow(platform.context, mainWindow, false);
        }
        state.EmptyQueue();
        // Taking the screen again without giving it back replaces the old window.
        if (state.fullscreenWindow) {
            platform.destroyWindow(platform.context, state.fullscreenWindow);
            state.fullscreenWindow = nullptr;
        }
        state.fullscreenWindow = platform.createFullscreenWindow(
            platform.context, kWindowClassName, kWindowTitle, 0, 0, desktop.width, desktop.height);
        if (state.fullscreenWindow)
            platform.showWindow(platform.context, state.fullscreenWindow, ShowCommand::Show);
    }
    if (state.fullscreenWindow) {
        platform.makeTopmost(platform.context, state.fullscreenWindow);
        platform.setFocus(platform.context, state.fullscreenWindow);
    }
    PumpMessages();
    // Twice shut down (taken again without giving back) would hide the cursor for good.
    if (!state.fullscreenActive) __ShutdownGDI();
    state.fullscreenActive = true;
    PumpMessages();
    return state.fullscreenWindow;
}

void VT_restoreGDI(void) {
    LibraryState& state = State();
    const Platform& platform = CurrentPlatform();
    // Giving back a screen that was not taken would show the cursor once too often.
    if (state.fullscreenActive) {
        state.fullscreenActive = false;
        __RestoreGDI();
    }
    if (!state.suspending) {
        if (state.fullscreenWindow)
            platform.destroyWindow(platform.context, state.fullscreenWindow);
        state.fullscreenWindow = nullptr;
        if (state.mainWindow) {
            platform.enableWindow(platform.context, state.mainWindow, true);
            platform.showWindow(platform.context, state.mainWindow, ShowCommand::Show);
        }
    }
    platform.setCursorShape(platform.context, CursorShape::Arrow);
    PumpMessages();
}

int32_t VT_inFullScreen(void) {
    return State().fullscreenActive ? 1 : 0;
}

void VT_setSuspendAppCallback(VTSuspendAppCallback callback) {
    State().suspendCallback = callback;
}

int32_t VT_messageBox(const char* text, const char* caption, uint32_t flags) {
    LibraryState& state = State();
    const Platform& platform = CurrentPlatform();
    text = text ? text : "";
    caption = caption ? caption : "";
    // Outside fullscreen (or inside a switch) the desktop is there to show the box.
    if (!state.fullscreenActive || !state.fullscreenWindow || state.suspending)
        return platform.messageBox(platform.context, text, caption, flags);
    if (AskSuspendCallback(VT_SUSPEND_ASK) == 0) return 0;
    state.suspending = true;
    VT_restoreGDI();
    platform.showWindow(platform.context, state.fullscreenWindow, ShowCommand::Minimize);
    platform.enableWindow(platform.context, state.fullscreenWindow, false);
    PumpMessages();
    const int32_t result = platform.messageBox(platform.context, text, caption, flags);
    platform.enableWindow(platform.context, state.fullscreenWindow, true);
    platform.showWindow(platform.context, state.fullscreenWindow, ShowCommand::Restore);
    PumpMessages();
    VT_startFullScreen(state.mainWindow, state.modeWidth, state.modeHeight);
    TellSuspendCallback(VT_SUSPEND_RESUMED);
    state.suspending = false;
    return result;
}

intptr_t VT_winProc(VTWindow, uint32_t message, uintptr_t wParam, intptr_t) {
    LibraryState& state = State();
    const Platform& platform = CurrentPlatform();
    switch (message) {
    case VT_WM_ACTIVATE:
        if (state.waitingForActivation && wParam != 0) {
            state.waitingForActivation = false;
        } else if (state.suspendCallback && state.fullscreenActive && wParam == 0 &&
                   state.fullscreenWindow) {
            Message user;
            user.window = state.fullscreenWindow;
            user.kind = MessageKind::User;
            user.time = platform.timeMs(platform.context);
            platform.postMessage(platform.context, user);
        }
        return 0;
    case VT_WM_USER:
        SwitchAway(nullptr);
        return 0;
    default:
        return 0;
    }
}
}
