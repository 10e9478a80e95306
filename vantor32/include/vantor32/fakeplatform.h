#pragma once
// A scripted window system: tests and headless runs feed it messages, answer
// its message boxes and move its clock, and read back what the library did to
// windows, cursor and timers. It reacts to nothing by itself: activation
// messages arrive only when the script posts them.
#include "vantor32/messagequeue.h"
#include "vantor32/platform.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vantor32 {

class FakePlatform {
public:
    struct WindowState {
        std::string className, title;
        int x = 0, y = 0, width = 0, height = 0;
        bool visible = false, minimized = false, enabled = true, topmost = false;
        bool destroyed = false;
    };
    struct MessageBoxCall {
        std::string text, caption;
        std::uint32_t flags = 0;
    };

    FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // The operations table bound to this object, for InstallPlatform.
    const Platform& Ops() const { return ops_; }

    // --- Script ---
    // A window of the program itself (for example its main window).
    VTWindow AddProgramWindow(const std::string& title);
    void Post(const Message& message) { queue_.Post(message); }
    void SetDesktopSize(int width, int height) { desktop_ = {width, height}; }
    void SetTime(std::uint32_t ms) { time_ = ms; }
    // Moves the clock; each running timer that falls due posts one Timer
    // message unless one of its own is still pending.
    void AdvanceTime(std::uint32_t ms);
    void SetActiveWindow(VTWindow window) { active_ = window; }
    // The user brings `window` back: it is restored, becomes active and gets
    // an Activate message.
    void UserActivates(VTWindow window);
    // Called at the start of every pump: the place for scripted reactions.
    std::function<void(FakePlatform&)> onPump;
    // Answers message boxes; without it every box answers IDOK.
    std::function<int(const MessageBoxCall&)> answerMessageBox;
    // Aborts the process after this many pumps (0 = never), so that a script
    // that never lets a wait end fails instead of hanging.
    std::uint64_t pumpLimit = 0;

    // --- Observation ---
    const WindowState* State(VTWindow window) const;
    VTWindow ActiveWindow() const { return active_; }
    VTWindow FocusWindow() const { return focus_; }
    bool CursorVisible() const { return cursorCount_ >= 0; }
    int CursorCount() const { return cursorCount_; }
    CursorShape Cursor() const { return cursorShape_; }
    std::pair<int, int> CursorPos() const { return cursorPos_; }
    // Period of a running timer, or nothing.
    std::optional<std::uint32_t> TimerPeriod(VTWindow window, std::uint32_t id) const;
    const std::vector<MessageBoxCall>& MessageBoxes() const { return boxes_; }
    // Messages handed to the system's default handling, in order.
    const std::vector<Message>& DefaultHandled() const { return defaultHandled_; }
    int DesktopRepaints() const { return repaints_; }
    std::size_t PendingMessages() const { return queue_.Size(); }
    std::uint32_t Now() const { return time_; }

private:
    static FakePlatform& Self(void* context) { return *static_cast<FakePlatform*>(context); }
    WindowState* Find(VTWindow window);
    void Pump();

    Platform ops_;
    std::deque<std::unique_ptr<WindowState>> windows_;
    MessageQueue queue_;
    DesktopSize desktop_{640, 480};
    std::uint32_t time_ = 0;
    VTWindow active_ = nullptr, focus_ = nullptr;
    int cursorCount_ = 0;
    CursorShape cursorShape_ = CursorShape::Arrow;
    std::pair<int, int> cursorPos_{0, 0};
    struct Timer {
        std::uint32_t period = 0;
        std::uint64_t due = 0;
    };
    std::map<std::pair<VTWindow, std::uint32_t>, Timer> timers_;
    std::uint64_t clock_ = 0; // time_ without wrap-around, for timer deadlines
    std::vector<MessageBoxCall> boxes_;
    std::vector<Message> defaultHandled_;
    int repaints_ = 0;
    std::uint64_t pumps_ = 0;
};

} // namespace vantor32
