#include "qtinput.h"

#include "keyscancodes.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

namespace vantor32qt {

using vantor32::Message;
using vantor32::MessageKind;

namespace {

std::uint32_t HeldKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    std::uint32_t keys = 0;
    if (buttons & Qt::LeftButton) keys |= vantor32::MK_LBUTTON;
    if (buttons & Qt::RightButton) keys |= vantor32::MK_RBUTTON;
    if (modifiers & Qt::ShiftModifier) keys |= vantor32::MK_SHIFT;
    if (modifiers & Qt::ControlModifier) keys |= vantor32::MK_CONTROL;
    return keys;
}

// The 8-bit character a key press types, 0 for none.
std::uint32_t Character(const QKeyEvent& event) {
    const QString text = event.text();
    if (!text.isEmpty() && text.at(0).unicode() < 0x100) return text.at(0).unicode();
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0x09;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Backspace:
        return 0x08;
    default:
        break;
    }
    if ((event.modifiers() & Qt::ControlModifier) && event.key() >= Qt::Key_A &&
        event.key() <= Qt::Key_Z)
        return static_cast<std::uint32_t>(event.key() - Qt::Key_A + 1);
    return 0;
}

} // namespace

std::optional<Message> KeyMessage(const QKeyEvent& event, bool press) {
    if (!press && event.isAutoRepeat()) return std::nullopt;
    auto scan = ScanCodeFromNative(event.nativeScanCode());
    if (!scan) scan = ScanCodeFromQtKey(event.key(), event.modifiers() & Qt::KeypadModifier);

    Message message;
    if (scan) {
        message.scanCode = scan->code;
        message.extended = scan->extended;
    }
    message.alt = (event.modifiers() & Qt::AltModifier) || event.key() == Qt::Key_Alt;
    // Alt combinations are system keys unless Ctrl is held too.
    const bool system = message.alt && !(event.modifiers() & Qt::ControlModifier);
    if (press)
        message.kind = system ? MessageKind::SysKeyDown : MessageKind::KeyDown;
    else
        message.kind = system ? MessageKind::SysKeyUp : MessageKind::KeyUp;
    message.previousDown = press && event.isAutoRepeat();
    message.character = press ? Character(event) : 0;
    message.keys = HeldKeys(Qt::NoButton, event.modifiers());
    return message;
}

std::optional<Message> MouseMessage(const QMouseEvent& event) {
    const bool left = event.button() == Qt::LeftButton;
    const bool right = event.button() == Qt::RightButton;
    Message message;
    switch (event.type()) {
    case QEvent::MouseMove:
        message.kind = MessageKind::MouseMove;
        break;
    case QEvent::MouseButtonPress:
        if (!left && !right) return std::nullopt;
        message.kind = left ? MessageKind::LeftButtonDown : MessageKind::RightButtonDown;
        break;
    case QEvent::MouseButtonRelease:
        if (!left && !right) return std::nullopt;
        message.kind = left ? MessageKind::LeftButtonUp : MessageKind::RightButtonUp;
        break;
    case QEvent::MouseButtonDblClick:
        if (!left && !right) return std::nullopt;
        message.kind =
            left ? MessageKind::LeftButtonDoubleClick : MessageKind::RightButtonDoubleClick;
        break;
    default:
        return std::nullopt;
    }
    const QPointF desktop = event.globalPosition();
    message.x = static_cast<std::int32_t>(std::floor(desktop.x()));
    message.y = static_cast<std::int32_t>(std::floor(desktop.y()));
    message.keys = HeldKeys(event.buttons(), event.modifiers());
    return message;
}

} // namespace vantor32qt
