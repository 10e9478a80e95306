#pragma once
// PC set-1 scan codes of Qt key events.
#include <cstdint>
#include <optional>

namespace vantor32qt {

struct ScanCode {
    std::uint8_t code = 0;
    bool extended = false; // sent with the E0 prefix
};

// From a native X keycode (evdev code + 8), as X11 and Wayland report them.
std::optional<ScanCode> ScanCodeFromNative(std::uint32_t nativeScanCode);
// From a Qt key (Qt::Key) when no native code is known; `keypad` for keys of
// the numeric keypad.
std::optional<ScanCode> ScanCodeFromQtKey(int key, bool keypad);

} // namespace vantor32qt
