#pragma once
// The library's window-system operations carried out with Qt Widgets. A
// program's own window is passed to the library as its QWidget*.
#include "vantor32/messagequeue.h"
#include "vantor32/platform.h"
#include "vantor32qt/qtbackend.h"

#include <QTimer>

#include <map>
#include <memory>
#include <utility>
#include <vector>

class QWidget;

namespace vantor32qt {

class Vantor32Window;

class QtPlatform {
public:
    QtPlatform();
    ~QtPlatform();
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    const vantor32::Platform& Ops() const { return ops_; }
    // Queues input from one of the windows, stamped with the current time.
    void PostInput(vantor32::Message message);
    std::uint32_t Now() const;
    const ScreenSource& Source() const { return source_; }
    void SetScreenSource(ScreenSource source);

private:
    static QtPlatform& Self(void* context) { return *static_cast<QtPlatform*>(context); }
    Vantor32Window* Fullscreen(VTWindow window) const;
    void Show(VTWindow window, vantor32::ShowCommand command);
    void Destroy(VTWindow window);
    void SetTimer(VTWindow window, std::uint32_t id, std::uint32_t periodMs);
    void ApplyCursor();

    vantor32::Platform ops_;
    vantor32::MessageQueue queue_;
    std::vector<std::unique_ptr<Vantor32Window>> windows_;
    std::map<std::pair<VTWindow, std::uint32_t>, std::unique_ptr<QTimer>> timers_;
    int cursorCount_ = 0;
    vantor32::CursorShape cursorShape_ = vantor32::CursorShape::Arrow;
    ScreenSource source_;
};

} // namespace vantor32qt
