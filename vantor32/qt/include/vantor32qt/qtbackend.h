#pragma once
// The Qt window system for vantor32. A Qt program creates one QtBackend after
// its QApplication; while it lives, the library's fullscreen window is a real
// Qt window and its input, message boxes and timers are Qt's.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vantor32qt {

// What the monitor shows: width x height pixels, 0x00RRGGBB, row by row.
struct ScreenImage {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

// Where the fullscreen window's picture comes from (the emulated adapter's
// scanout). `scanout` fills the image and returns false when there is nothing
// to show; it is asked once per refresh, `refreshHz` times a second.
struct ScreenSource {
    std::function<bool(ScreenImage& image)> scanout;
    double refreshHz = 70.0;
};

class QtPlatform;

class QtBackend {
public:
    // Installs itself as the library's window system.
    QtBackend();
    // Puts the library back on its built-in fake.
    ~QtBackend();
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // Without a source the window is black.
    void SetScreenSource(ScreenSource source);

private:
    std::unique_ptr<QtPlatform> platform_;
};

} // namespace vantor32qt
