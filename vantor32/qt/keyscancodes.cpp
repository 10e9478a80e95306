#include "keyscancodes.h"

#include <Qt>

#include <algorithm>
#include <array>
#include <utility>

namespace vantor32qt {

namespace {

constexpr std::uint32_t kXKeycodeOffset = 8;
// Up to here evdev codes equal set-1 make codes (Esc 1 ... F12 88).
constexpr std::uint32_t kLastPlainEvdevCode = 88;

struct Mapping {
    int from;
    ScanCode to;
};

// evdev codes of keys whose set-1 codes differ: mostly the E0-prefixed block.
constexpr std::array kEvdevExtended{
    Mapping{96, {0x1C, true}},   Mapping{97, {0x1D, true}},  Mapping{98, {0x35, true}},
    Mapping{99, {0x37, true}},   Mapping{100, {0x38, true}}, Mapping{102, {0x47, true}},
    Mapping{103, {0x48, true}},  Mapping{104, {0x49, true}}, Mapping{105, {0x4B, true}},
    Mapping{106, {0x4D, true}},  Mapping{107, {0x4F, true}}, Mapping{108, {0x50, true}},
    Mapping{109, {0x51, true}},  Mapping{110, {0x52, true}}, Mapping{111, {0x53, true}},
    Mapping{119, {0x45, false}}, Mapping{125, {0x5B, true}}, Mapping{126, {0x5C, true}},
    Mapping{127, {0x5D, true}},
};

// Qt keys of the main block and the keys around it, on a US layout; shifted
// symbols share their key's code.
constexpr std::array kQtKeys{
    Mapping{Qt::Key_Escape, {0x01}},
    Mapping{Qt::Key_1, {0x02}},
    Mapping{Qt::Key_Exclam, {0x02}},
    Mapping{Qt::Key_2, {0x03}},
    Mapping{Qt::Key_At, {0x03}},
    Mapping{Qt::Key_3, {0x04}},
    Mapping{Qt::Key_NumberSign, {0x04}},
    Mapping{Qt::Key_4, {0x05}},
    Mapping{Qt::Key_Dollar, {0x05}},
    Mapping{Qt::Key_5, {0x06}},
    Mapping{Qt::Key_Percent, {0x06}},
    Mapping{Qt::Key_6, {0x07}},
    Mapping{Qt::Key_AsciiCircum, {0x07}},
    Mapping{Qt::Key_7, {0x08}},
    Mapping{Qt::Key_Ampersand, {0x08}},
    Mapping{Qt::Key_8, {0x09}},
    Mapping{Qt::Key_Asterisk, {0x09}},
    Mapping{Qt::Key_9, {0x0A}},
    Mapping{Qt::Key_ParenLeft, {0x0A}},
    Mapping{Qt::Key_0, {0x0B}},
    Mapping{Qt::Key_ParenRight, {0x0B}},
    Mapping{Qt::Key_Minus, {0x0C}},
    Mapping{Qt::Key_Underscore, {0x0C}},
    Mapping{Qt::Key_Equal, {0x0D}},
    Mapping{Qt::Key_Plus, {0x0D}},
    Mapping{Qt::Key_Backspace, {0x0E}},
    Mapping{Qt::Key_Tab, {0x0F}},
    Mapping{Qt::Key_Backtab, {0x0F}},
    Mapping{Qt::Key_Q, {0x10}},
    Mapping{Qt::Key_W, {0x11}},
    Mapping{Qt::Key_E, {0x12}},
    Mapping{Qt::Key_R, {0x13}},
    Mapping{Qt::Key_T, {0x14}},
    Mapping{Qt::Key_Y, {0x15}},
    Mapping{Qt::Key_U, {0x16}},
    Mapping{Qt::Key_I, {0x17}},
    Mapping{Qt::Key_O, {0x18}},
    Mapping{Qt::Key_P, {0x19}},
    Mapping{Qt::Key_BracketLeft, {0x1A}},
    Mapping{Qt::Key_BraceLeft, {0x1A}},
    Mapping{Qt::Key_BracketRight, {0x1B}},
    Mapping{Qt::Key_BraceRight, {0x1B}},
    Mapping{Qt::Key_Return, {0x1C}},
    Mapping{Qt::Key_Control, {0x1D}},
    Mapping{Qt::Key_A, {0x1E}},
    Mapping{Qt::Key_S, {0x1F}},
    Mapping{Qt::Key_D, {0x20}},
    Mapping{Qt::Key_F, {0x21}},
    Mapping{Qt::Key_G, {0x22}},
    Mapping{Qt::Key_H, {0x23}},
    Mapping{Qt::Key_J, {0x24}},
    Mapping{Qt::Key_K, {0x25}},
    Mapping{Qt::Key_L, {0x26}},
    Mapping{Qt::Key_Semicolon, {0x27}},
    Mapping{Qt::Key_Colon, {0x27}},
    Mapping{Qt::Key_Apostrophe, {0x28}},
    Mapping{Qt::Key_QuoteDbl, {0x28}},
    Mapping{Qt::Key_QuoteLeft, {0x29}},
    Mapping{Qt::Key_AsciiTilde, {0x29}},
    Mapping{Qt::Key_Shift, {0x2A}},
    Mapping{Qt::Key_Backslash, {0x2B}},
    Mapping{Qt::Key_Bar, {0x2B}},
    Mapping{Qt::Key_Z, {0x2C}},
    Mapping{Qt::Key_X, {0x2D}},
    Mapping{Qt::Key_C, {0x2E}},
    Mapping{Qt::Key_V, {0x2F}},
    Mapping{Qt::Key_B, {0x30}},
    Mapping{Qt::Key_N, {0x31}},
    Mapping{Qt::Key_M, {0x32}},
    Mapping{Qt::Key_Comma, {0x33}},
    Mapping{Qt::Key_Less, {0x33}},
    Mapping{Qt::Key_Period, {0x34}},
    Mapping{Qt::Key_Greater, {0x34}},
    Mapping{Qt::Key_Slash, {0x35}},
    Mapping{Qt::Key_Question, {0x35}},
    Mapping{Qt::Key_Alt, {0x38}},
    Mapping{Qt::Key_Space, {0x39}},
    Mapping{Qt::Key_CapsLock, {0x3A}},
    Mapping{Qt::Key_F1, {0x3B}},
    Mapping{Qt::Key_F2, {0x3C}},
    Mapping{Qt::Key_F3, {0x3D}},
    Mapping{Qt::Key_F4, {0x3E}},
    Mapping{Qt::Key_F5, {0x3F}},
    Mapping{Qt::Key_F6, {0x40}},
    Mapping{Qt::Key_F7, {0x41}},
    Mapping{Qt::Key_F8, {0x42}},
    Mapping{Qt::Key_F9, {0x43}},
    Mapping{Qt::Key_F10, {0x44}},
    Mapping{Qt::Key_NumLock, {0x45}},
    Mapping{Qt::Key_ScrollLock, {0x46}},
    Mapping{Qt::Key_F11, {0x57}},
    Mapping{Qt::Key_F12, {0x58}},
    Mapping{Qt::Key_Enter, {0x1C, true}},
    Mapping{Qt::Key_Home, {0x47, true}},
    Mapping{Qt::Key_Up, {0x48, true}},
    Mapping{Qt::Key_PageUp, {0x49, true}},
    Mapping{Qt::Key_Left, {0x4B, true}},
    Mapping{Qt::Key_Right, {0x4D, true}},
    Mapping{Qt::Key_End, {0x4F, true}},
    Mapping{Qt::Key_Down, {0x50, true}},
    Mapping{Qt::Key_PageDown, {0x51, true}},
    Mapping{Qt::Key_Insert, {0x52, true}},
    Mapping{Qt::Key_Delete, {0x53, true}},
    Mapping{Qt::Key_Pause, {0x45}},
    Mapping{Qt::Key_Meta, {0x5B, true}},
    Mapping{Qt::Key_Menu, {0x5D, true}},
};

// Keys of the numeric keypad (the navigation keys double as its digits).
constexpr std::array kKeypadKeys{
    Mapping{Qt::Key_7, {0x47}},           Mapping{Qt::Key_Home, {0x47}},
    Mapping{Qt::Key_8, {0x48}},           Mapping{Qt::Key_Up, {0x48}},
    Mapping{Qt::Key_9, {0x49}},           Mapping{Qt::Key_PageUp, {0x49}},
    Mapping{Qt::Key_Minus, {0x4A}},       Mapping{Qt::Key_4, {0x4B}},
    Mapping{Qt::Key_Left, {0x4B}},        Mapping{Qt::Key_5, {0x4C}},
    Mapping{Qt::Key_Clear, {0x4C}},       Mapping{Qt::Key_6, {0x4D}},
    Mapping{Qt::Key_Right, {0x4D}},       Mapping{Qt::Key_Plus, {0x4E}},
    Mapping{Qt::Key_1, {0x4F}},           Mapping{Qt::Key_End, {0x4F}},
    Mapping{Qt::Key_2, {0x50}},           Mapping{Qt::Key_Down, {0x50}},
    Mapping{Qt::Key_3, {0x51}},           Mapping{Qt::Key_PageDown, {0x51}},
    Mapping{Qt::Key_0, {0x52}},           Mapping{Qt::Key_Insert, {0x52}},
    Mapping{Qt::Key_Period, {0x53}},      Mapping{Qt::Key_Delete, {0x53}},
    Mapping{Qt::Key_Asterisk, {0x37}},    Mapping{Qt::Key_Slash, {0x35, true}},
    Mapping{Qt::Key_Enter, {0x1C, true}},
};

template <std::size_t N>
std::optional<ScanCode> Lookup(const std::array<Mapping, N>& table, int from) {
    const auto it = std::find_if(table.begin(), table.end(),
                                 [from](const Mapping& m) { return m.from == from; });
    if (it == table.end()) return std::nullopt;
    return it->to;
}

} // namespace

std::optional<ScanCode> ScanCodeFromNative(std::uint32_t nativeScanCode) {
    if (nativeScanCode <= kXKeycodeOffset) return std::nullopt;
    const std::uint32_t evdev = nativeScanCode - kXKeycodeOffset;
    if (evdev <= kLastPlainEvdevCode) return ScanCode{static_cast<std::uint8_t>(evdev), false};
    return Lookup(kEvdevExtended, static_cast<int>(evdev));
}

std::optional<ScanCode> ScanCodeFromQtKey(int key, bool keypad) {
    if (keypad)
        if (auto code = Lookup(kKeypadKeys, key)) return code;
    return Lookup(kQtKeys, key);
}

} // namespace vantor32qt
