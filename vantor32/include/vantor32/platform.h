#pragma once
// The window system as the fullscreen library sees it: a table of operations
// that a backend fills in (a Qt backend, a scripted fake for tests and headless
// runs). Input reaches the library as small message records.
#include "vantor32/vantor32.h"

#include <cstdint>
#include <optional>

namespace vantor32 {

enum class MessageKind : std::uint8_t {
    KeyDown,
    KeyUp,
    SysKeyDown, // with Alt held
    SysKeyUp,
    Char,    // character of a key, made by translating a key down
    SysChar, // the same with Alt held
    MouseMove,
    LeftButtonDown,
    LeftButtonUp,
    LeftButtonDoubleClick,
    RightButtonDown,
    RightButtonUp,
    RightButtonDoubleClick,
    Timer,
    Activate, // the window became the active one
    Deactivate,
    User, // posted by the library to itself
};

// Button and modifier-key bits of Message::keys.
enum : std::uint32_t {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
};

struct Message {
    VTWindow window = nullptr;
    MessageKind kind = MessageKind::User;
    std::uint8_t scanCode = 0;     // PC set-1 make code, without the E0 prefix
    bool extended = false;         // the key's code has the E0 prefix
    std::uint16_t repeatCount = 1; // key messages
    bool alt = false;              // Alt held
    bool previousDown = false;     // the key was already down (auto-repeat)
    std::uint32_t character = 0;   // key down: the character it types (0 = none); Char
    std::int32_t x = 0, y = 0;     // mouse: desktop pixels
    std::uint32_t keys = 0;        // MK_* held at the time of the message
    std::uint32_t time = 0;        // milliseconds, the platform's clock
    std::uint32_t timerId = 0;     // Timer
};

enum class ShowCommand { Show, Hide, Minimize, Restore };
enum class CursorShape { Arrow, Wait };

struct DesktopSize {
    std::int32_t width = 0, height = 0;
};

// Name and title of the fullscreen window.
inline constexpr const char* kWindowClassName = "Vantor32Window";
inline constexpr const char* kWindowTitle = "Vantor Fullscreen Application";

// Every operation is required. `context` is passed back to each of them.
struct Platform {
    void* context = nullptr;

    // The fullscreen window: a frameless popup at (x, y) of size w x h.
    VTWindow (*createFullscreenWindow)(void* context, const char* className, const char* title,
                                       int x, int y, int w, int h) = nullptr;
    // Destroys the window with its timers and drops its pending messages.
    void (*destroyWindow)(void* context, VTWindow window) = nullptr;
    // Also used on the program's main window.
    void (*showWindow)(void* context, VTWindow window, ShowCommand command) = nullptr;
    void (*enableWindow)(void* context, VTWindow window, bool enable) = nullptr;
    // Above all other windows, shown normally if it was minimized.
    void (*makeTopmost)(void* context, VTWindow window) = nullptr;
    void (*setFocus)(void* context, VTWindow window) = nullptr;
    void (*activateWindow)(void* context, VTWindow window) = nullptr;

    // Takes the oldest pending message (of one kind only when `only` is set)
    // without waiting; false when there is none.
    bool (*takeMessage)(void* context, Message* out, std::optional<MessageKind> only) = nullptr;
    void (*postMessage)(void* context, const Message& message) = nullptr;
    // Does pending window-system work (painting, turning input into messages).
    void (*pump)(void* context) = nullptr;
    // What the window system does with a message the library does not use.
    void (*defaultAction)(void* context, const Message& message) = nullptr;

    DesktopSize (*desktopSize)(void* context) = nullptr;
    // Repaints the desktop's windows: at once, or when the system gets to it.
    void (*repaintDesktop)(void* context, bool immediately) = nullptr;
    // Counted like a display count: visible while shows outnumber hides or equal them.
    void (*showCursor)(void* context, bool show) = nullptr;
    void (*setCursorShape)(void* context, CursorShape shape) = nullptr;
    void (*setCursorPos)(void* context, int x, int y) = nullptr;

    // A modal box with MB_* flags; returns ID* (0 if it could not be shown).
    int (*messageBox)(void* context, const char* text, const char* caption,
                      std::uint32_t flags) = nullptr;
    // A periodic Timer message for `window`; setting an existing id replaces it.
    void (*setTimer)(void* context, VTWindow window, std::uint32_t id,
                     std::uint32_t periodMs) = nullptr;
    void (*killTimer)(void* context, VTWindow window, std::uint32_t id) = nullptr;
    std::uint32_t (*timeMs)(void* context) = nullptr;
};

// Makes `platform` the window system of the library; it must outlive its use.
// nullptr selects the built-in scripted fake, which is also the default.
void InstallPlatform(const Platform* platform);
const Platform& CurrentPlatform();

// Whether the companion currently lets the desktop draw to the screen; true
// when no companion is bound.
bool CompanionDesktopOutputOn();

} // namespace vantor32
