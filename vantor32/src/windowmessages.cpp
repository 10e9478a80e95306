#include "windowmessages.h"

namespace vantor32 {

void TranslateMessage(const Message& message) {
    if (message.character == 0) return;
    if (message.kind != MessageKind::KeyDown && message.kind != MessageKind::SysKeyDown) return;
    Message character = message;
    character.kind =
        message.kind == MessageKind::SysKeyDown ? MessageKind::SysChar : MessageKind::Char;
    const Platform& platform = CurrentPlatform();
    platform.postMessage(platform.context, character);
}

void DispatchMessage(const Message& message) {
    switch (message.kind) {
    case MessageKind::Activate:
        VT_winProc(message.window, VT_WM_ACTIVATE, 1, 0);
        return;
    case MessageKind::Deactivate:
        VT_winProc(message.window, VT_WM_ACTIVATE, 0, 0);
        return;
    case MessageKind::User:
        VT_winProc(message.window, VT_WM_USER, 0, 0);
        return;
    default: {
        const Platform& platform = CurrentPlatform();
        platform.defaultAction(platform.context, message);
    }
    }
}

void PumpMessages() {
    const Platform& platform = CurrentPlatform();
    platform.pump(platform.context);
    Message message;
    while (platform.takeMessage(platform.context, &message, std::nullopt)) {
        TranslateMessage(message);
        DispatchMessage(message);
    }
}

} // namespace vantor32
