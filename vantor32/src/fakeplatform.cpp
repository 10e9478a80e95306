#include "vantor32/fakeplatform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace vantor32 {

FakePlatform::FakePlatform() {
    ops_.context = this;
    ops_.createFullscreenWindow = [](void* c, const char* className, const char* title, int x,
                                     int y, int w, int h) -> VTWindow {
        auto& self = Self(c);
        auto window = std::make_unique<WindowState>();
        window->className = className;
        window->title = title;
        window->x = x;
        window->y = y;
        window->width = w;
        window->height = h;
        self.windows_.push_back(std::move(window));
        return self.windows_.back().get();
    };
    ops_.destroyWindow = [](void* c, VTWindow window) {
        auto& self = Self(c);
        WindowState* state = self.Find(window);
        if (!state) return;
        state->destroyed = true;
        state->visible = false;
        self.queue_.DropWindow(window);
        std::erase_if(self.timers_, [&](const auto& timer) { return timer.first.first == window; });
        if (self.active_ == window) self.active_ = nullptr;
        if (self.focus_ == window) self.focus_ = nullptr;
    };
    ops_.showWindow = [](void* c, VTWindow window, ShowCommand command) {
        WindowState* state = Self(c).Find(window);
        if (!state) return;
        switch (command) {
        case ShowCommand::Show:
            state->visible = true;
            break;
        case ShowCommand::Hide:
            state->visible = false;
            break;
        case ShowCommand::Minimize:
            state->visible = true;
            state->minimized = true;
            break;
        case ShowCommand::Restore:
            state->visible = true;
            state->minimized = false;
            break;
        }
    };
    ops_.enableWindow = [](void* c, VTWindow window, bool enable) {
        if (WindowState* state = Self(c).Find(window)) state->enabled = enable;
    };
    ops_.makeTopmost = [](void* c, VTWindow window) {
        if (WindowState* state = Self(c).Find(window)) state->topmost = true;
    };
    ops_.setFocus = [](void* c, VTWindow window) {
        auto& self = Self(c);
        if (!self.Find(window)) return;
        self.focus_ = window;
        self.active_ = window;
    };
    ops_.activateWindow = [](void* c, VTWindow window) {
        auto& self = Self(c);
        if (self.Find(window)) self.active_ = window;
    };
    ops_.takeMessage = [](void* c, Message* out, std::optional<MessageKind> only) {
        return Self(c).queue_.Take(out, only);
    };
    ops_.postMessage = [](void* c, const Message& message) { Self(c).Post(message); };
    ops_.pump = [](void* c) { Self(c).Pump(); };
    ops_.defaultAction = [](void* c, const Message& message) {
        Self(c).defaultHandled_.push_back(message);
    };
    ops_.desktopSize = [](void* c) { return Self(c).desktop_; };
    ops_.repaintDesktop = [](void* c, bool) { ++Self(c).repaints_; };
    ops_.showCursor = [](void* c, bool show) { Self(c).cursorCount_ += show ? 1 : -1; };
    ops_.setCursorShape = [](void* c, CursorShape shape) { Self(c).cursorShape_ = shape; };
    ops_.setCursorPos = [](void* c, int x, int y) { Self(c).cursorPos_ = {x, y}; };
    ops_.messageBox = [](void* c, const char* text, const char* caption, std::uint32_t flags) {
        auto& self = Self(c);
        self.boxes_.push_back({text, caption, flags});
        return self.answerMessageBox ? self.answerMessageBox(self.boxes_.back()) : IDOK;
    };
    ops_.setTimer = [](void* c, VTWindow window, std::uint32_t id, std::uint32_t periodMs) {
        auto& self = Self(c);
        if (!self.Find(window)) return;
        self.timers_[{window, id}] = {periodMs, self.clock_ + periodMs};
    };
    ops_.killTimer = [](void* c, VTWindow window, std::uint32_t id) {
        Self(c).timers_.erase({window, id});
    };
    ops_.timeMs = [](void* c) { return Self(c).time_; };
}

VTWindow FakePlatform::AddProgramWindow(const std::string& title) {
    auto window = std::make_unique<WindowState>();
    window->title = title;
    window->visible = true;
    windows_.push_back(std::move(window));
    return windows_.back().get();
}

void FakePlatform::UserActivates(VTWindow window) {
    WindowState* state = Find(window);
    if (!state) return;
    state->minimized = false;
    state->visible = true;
    active_ = window;
    Message activate;
    activate.window = window;
    activate.kind = MessageKind::Activate;
    activate.time = time_;
    Post(activate);
}

void FakePlatform::AdvanceTime(std::uint32_t ms) {
    time_ += ms;
    clock_ += ms;
    for (auto& [key, timer] : timers_) {
        if (timer.due > clock_) continue;
        const std::uint64_t period = std::max<std::uint32_t>(timer.period, 1);
        timer.due += (clock_ - timer.due) / period * period + period;
        if (queue_.TimerPending(key.first, key.second)) continue;
        Message tick;
        tick.window = key.first;
        tick.kind = MessageKind::Timer;
        tick.timerId = key.second;
        tick.time = time_;
        Post(tick);
    }
}

const FakePlatform::WindowState* FakePlatform::State(VTWindow window) const {
    for (const auto& state : windows_)
        if (state.get() == window) return state.get();
    return nullptr;
}

// A window the operations may still act on.
FakePlatform::WindowState* FakePlatform::Find(VTWindow window) {
    auto* state = const_cast<WindowState*>(std::as_const(*this).State(window));
    return state && !state->destroyed ? state : nullptr;
}

std::optional<std::uint32_t> FakePlatform::TimerPeriod(VTWindow window, std::uint32_t id) const {
    const auto it = timers_.find({window, id});
    if (it == timers_.end()) return std::nullopt;
    return it->second.period;
}

void FakePlatform::Pump() {
    ++pumps_;
    if (pumpLimit && pumps_ > pumpLimit) {
        std::fprintf(stderr, "FakePlatform: more than %llu pumps; the script never ends a wait\n",
                     static_cast<unsigned long long>(pumpLimit));
        std::abort();
    }
    if (onPump) onPump(*this);
}

} // namespace vantor32
