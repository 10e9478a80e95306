#include "qtplatform.h"

#include "messagebox.h"
#include "vantor32window.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <chrono>

namespace vantor32qt {

using vantor32::CursorShape;
using vantor32::Message;
using vantor32::MessageKind;
using vantor32::ShowCommand;

namespace {

QRect ScreenGeometry() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QWidget* Widget(VTWindow window) {
    return static_cast<QWidget*>(window);
}

} // namespace

QtPlatform::QtPlatform() {
    ops_.context = this;
    ops_.createFullscreenWindow = [](void* c, const char*, const char* title, int x, int y, int w,
                                     int h) -> VTWindow {
        auto& self = Self(c);
        self.windows_.push_back(
            std::make_unique<Vantor32Window>(self, QString::fromUtf8(title), QRect(x, y, w, h)));
        self.ApplyCursor();
        return self.windows_.back().get();
    };
    ops_.destroyWindow = [](void* c, VTWindow window) { Self(c).Destroy(window); };
    ops_.showWindow = [](void* c, VTWindow window, ShowCommand command) {
        Self(c).Show(window, command);
    };
    ops_.enableWindow = [](void*, VTWindow window, bool enable) {
        if (window) Widget(window)->setEnabled(enable);
    };
    ops_.makeTopmost = [](void* c, VTWindow window) {
        if (!window) return;
        if (Widget(window)->isMinimized()) Self(c).Show(window, ShowCommand::Restore);
        Widget(window)->raise();
    };
    ops_.setFocus = [](void*, VTWindow window) {
        if (!window) return;
        Widget(window)->activateWindow();
        Widget(window)->setFocus(Qt::ActiveWindowFocusReason);
    };
    ops_.activateWindow = [](void*, VTWindow window) {
        if (!window) return;
        Widget(window)->raise();
        Widget(window)->activateWindow();
    };
    ops_.takeMessage = [](void* c, Message* out, std::optional<MessageKind> only) {
        return Self(c).queue_.Take(out, only);
    };
    ops_.postMessage = [](void* c, const Message& message) { Self(c).queue_.Post(message); };
    ops_.pump = [](void*) { QCoreApplication::processEvents(); };
    ops_.defaultAction = [](void*, const Message&) {}; // Qt has already done its part
    ops_.desktopSize = [](void*) {
        const QRect screen = ScreenGeometry();
        return vantor32::DesktopSize{screen.width(), screen.height()};
    };
    ops_.repaintDesktop = [](void*, bool immediately) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (!widget->isVisible() || qobject_cast<Vantor32Window*>(widget)) continue;
            if (immediately)
                widget->repaint();
            else
                widget->update();
        }
    };
    ops_.showCursor = [](void* c, bool show) {
        Self(c).cursorCount_ += show ? 1 : -1;
        Self(c).ApplyCursor();
    };
    ops_.setCursorShape = [](void* c, CursorShape shape) {
        Self(c).cursorShape_ = shape;
        Self(c).ApplyCursor();
    };
    ops_.setCursorPos = [](void*, int x, int y) { QCursor::setPos(x, y); };
    ops_.messageBox = [](void*, const char* text, const char* caption, std::uint32_t flags) {
        return ShowMessageBox(text, caption, flags);
    };
    ops_.setTimer = [](void* c, VTWindow window, std::uint32_t id, std::uint32_t periodMs) {
        Self(c).SetTimer(window, id, periodMs);
    };
    ops_.killTimer = [](void* c, VTWindow window, std::uint32_t id) {
        Self(c).timers_.erase({window, id});
    };
    ops_.timeMs = [](void* c) { return Self(c).Now(); };
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::PostInput(Message message) {
    message.time = Now();
    queue_.Post(message);
}

std::uint32_t QtPlatform::Now() const {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void QtPlatform::SetScreenSource(ScreenSource source) {
    source_ = std::move(source);
    for (const auto& window : windows_)
        window->SourceChanged();
}

Vantor32Window* QtPlatform::Fullscreen(VTWindow window) const {
    for (const auto& own : windows_)
        if (own.get() == window) return own.get();
    return nullptr;
}

void QtPlatform::Show(VTWindow window, ShowCommand command) {
    if (!window) return;
    QWidget* widget = Widget(window);
    const bool fullscreen = Fullscreen(window) != nullptr;
    switch (command) {
    case ShowCommand::Show:
    case ShowCommand::Restore:
        if (fullscreen) {
            // Without a window manager showFullScreen keeps the old size.
            widget->setGeometry(ScreenGeometry());
            widget->showFullScreen();
        } else if (command == ShowCommand::Restore) {
            widget->showNormal();
        } else {
            widget->show();
        }
        break;
    case ShowCommand::Hide:
        widget->hide();
        break;
    case ShowCommand::Minimize:
        widget->showMinimized();
        break;
    }
}

void QtPlatform::Destroy(VTWindow window) {
    std::erase_if(timers_, [&](const auto& timer) { return timer.first.first == window; });
    queue_.DropWindow(window);
    std::erase_if(windows_, [&](const auto& own) { return own.get() == window; });
}

void QtPlatform::SetTimer(VTWindow window, std::uint32_t id, std::uint32_t periodMs) {
    auto timer = std::make_unique<QTimer>();
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(static_cast<int>(std::min<std::uint32_t>(periodMs, 0x7FFFFFFF)));
    QObject::connect(timer.get(), &QTimer::timeout, [this, window, id] {
        // Like a system timer: at most one tick of a timer waits in the queue.
        if (queue_.TimerPending(window, id)) return;
        Message tick;
        tick.window = window;
        tick.kind = MessageKind::Timer;
        tick.timerId = id;
        PostInput(tick);
    });
    timer->start();
    timers_[{window, id}] = std::move(timer);
}

void QtPlatform::ApplyCursor() {
    for (const auto& window : windows_)
        window->ApplyCursor(cursorCount_ >= 0, cursorShape_);
}

} // namespace vantor32qt
