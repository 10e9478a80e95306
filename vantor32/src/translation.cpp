#include "translation.h"

#include "librarystate.h"
#include "takeover.h"
#include "windowmessages.h"

namespace vantor32 {

namespace {

constexpr std::uint32_t kCharTab = 0x09, kCharEsc = 0x1B;

std::uint32_t EventKind(const Message& message) {
    switch (message.kind) {
    case MessageKind::KeyDown:
    case MessageKind::SysKeyDown:
        return message.previousDown ? VT_EV_KEYREPEAT : VT_EV_KEYDOWN;
    case MessageKind::KeyUp:
    case MessageKind::SysKeyUp:
        return VT_EV_KEYUP;
    case MessageKind::LeftButtonDown:
    case MessageKind::LeftButtonDoubleClick:
    case MessageKind::RightButtonDown:
    case MessageKind::RightButtonDoubleClick:
        return VT_EV_MOUSEDOWN;
    case MessageKind::LeftButtonUp:
    case MessageKind::RightButtonUp:
        return VT_EV_MOUSEUP;
    case MessageKind::MouseMove:
        return VT_EV_MOUSEMOVE;
    case MessageKind::Timer:
        return VT_EV_TIMERTICK;
    default:
        return 0;
    }
}

std::uint32_t ButtonCode(MessageKind kind) {
    switch (kind) {
    case MessageKind::LeftButtonDown:
    case MessageKind::LeftButtonUp:
    case MessageKind::LeftButtonDoubleClick:
        return VT_BUTTON_LEFT;
    case MessageKind::RightButtonDown:
    case MessageKind::RightButtonUp:
    case MessageKind::RightButtonDoubleClick:
        return VT_BUTTON_RIGHT;
    default:
        return 0;
    }
}

std::uint32_t MouseModifiers(const Message& message) {
    std::uint32_t modifiers = 0;
    if (message.keys & MK_LBUTTON) modifiers |= VT_MOD_LEFTBUTTON;
    if (message.keys & MK_RBUTTON) modifiers |= VT_MOD_RIGHTBUTTON;
    if (message.keys & MK_SHIFT) modifiers |= VT_MOD_SHIFT;
    if (message.keys & MK_CONTROL) modifiers |= VT_MOD_CTRL;
    if (message.kind == MessageKind::LeftButtonDoubleClick ||
        message.kind == MessageKind::RightButtonDoubleClick)
        modifiers |= VT_MOD_DOUBLECLICK;
    return modifiers;
}

// Fills the mouse part of `event`; false when the move merged into the queued
// one and the translation ends for this call.
bool TranslateMouse(const Message& message, VTEventRecord& event) {
    LibraryState& state = State();
    event.X = Rescale(message.x, state.modeWidth, state.desktopWidth);
    event.Y = Rescale(message.y, state.modeHeight, state.desktopHeight);
    event.Modifiers = MouseModifiers(message);
    if (event.Kind != VT_EV_MOUSEMOVE) {
        event.Code = ButtonCode(message.kind);
        state.lastMoveSlot = -1;
        return true;
    }
    if (event.X != state.mouseX || event.Y != state.mouseY) {
        state.mouseX = event.X;
        state.mouseY = event.Y;
        if (state.mouseCallback) state.mouseCallback(state.mouseX, state.mouseY);
    }
    if (state.lastMoveSlot < 0) return true;
    VTEventRecord& queued = state.queue.At(state.lastMoveSlot);
    queued.X = state.mouseX;
    queued.Y = state.mouseY;
    return false;
}

// Fills the key part of `event`; false when Alt+Tab or Alt+Esc ran the
// application switch and the translation ends for this call.
bool TranslateKey(const Message& message, VTEventRecord& event) {
    LibraryState& state = State();
    const Platform& platform = CurrentPlatform();
    TranslateMessage(message);
    Message character;
    if (platform.takeMessage(platform.context, &character, MessageKind::Char))
        event.Code = character.character;
    if (platform.takeMessage(platform.context, &character, MessageKind::SysChar))
        event.Code = character.character;
    event.Code |= static_cast<std::uint32_t>(message.scanCode) << 8;
    if (event.Kind == VT_EV_KEYREPEAT)
        event.Code |= static_cast<std::uint32_t>(message.repeatCount) << 16;
    if (message.alt) event.Modifiers |= VT_MOD_ALT;
    if (message.keys & MK_SHIFT) event.Modifiers |= VT_MOD_SHIFT;
    if (message.keys & MK_CONTROL) event.Modifiers |= VT_MOD_CTRL;
    state.lastMoveSlot = -1;

    const std::uint32_t typed = event.Code & 0xFF;
    if (state.suspendCallback && state.fullscreenActive && event.Kind == VT_EV_KEYDOWN &&
        message.alt && (typed == kCharTab || typed == kCharEsc)) {
        SwitchAway(&message);
        return false;
    }
    return true;
}

} // namespace

void Collect() {
    LibraryState& state = State();
    const Platform& platform = CurrentPlatform();
    platform.pump(platform.context);
    Message message;
    while (platform.takeMessage(platform.context, &message, std::nullopt)) {
        VTEventRecord event{};
        event.Kind = EventKind(message);
        if (event.Kind == 0) {
            DispatchMessage(message);
            continue;
        }
        if (event.Kind & (VT_EV_MOUSEDOWN | VT_EV_MOUSEUP | VT_EV_MOUSEMOVE)) {
            if (!TranslateMouse(message, event)) return;
        } else if (event.Kind & (VT_EV_KEYDOWN | VT_EV_KEYREPEAT | VT_EV_KEYUP)) {
            if (!TranslateKey(message, event)) return;
        }
        event.Time = message.time;
        const int slot = state.queue.Append(event);
        if (event.Kind == VT_EV_MOUSEMOVE && slot >= 0) state.lastMoveSlot = slot;
    }
}

} // namespace vantor32
