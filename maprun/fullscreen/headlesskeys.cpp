#include "maprun/fullscreen/headlesskeys.h"

#include <stdexcept>

namespace maprun {

namespace {

using vantor32::Message;
using vantor32::MessageKind;

// Set-1 make codes of the letter rows of a US keyboard.
constexpr std::string_view kLetterRows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
constexpr uint8_t kLetterRowStart[] = {16, 30, 44};

uint8_t LetterScanCode(char letter) {
    for (int row = 0; row < 3; ++row)
        if (size_t at = kLetterRows[row].find(letter); at != std::string_view::npos)
            return static_cast<uint8_t>(kLetterRowStart[row] + at);
    return 0;
}

Message Key(MessageKind kind, uint8_t scan, uint32_t character = 0) {
    Message m;
    m.kind = kind;
    m.scanCode = scan;
    m.character = character;
    m.alt = kind == MessageKind::SysKeyDown || kind == MessageKind::SysKeyUp;
    return m;
}

std::vector<Message> PressAndRelease(uint8_t scan, uint32_t character) {
    return {Key(MessageKind::KeyDown, scan, character), Key(MessageKind::KeyUp, scan)};
}

Message Mouse(MessageKind kind, int x, int y, uint32_t keys) {
    Message m;
    m.kind = kind;
    m.x = x;
    m.y = y;
    m.keys = keys;
    return m;
}

} // namespace

std::vector<Message> KeyMessages(std::string_view name, int desktopWidth, int desktopHeight) {
    if (name == "esc") return PressAndRelease(1, 0x1B);
    if (name == "1") return PressAndRelease(2, '1');
    if (name == "space") return PressAndRelease(57, ' ');
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z')
        return PressAndRelease(LetterScanCode(name[0]), static_cast<uint8_t>(name[0]));
    if (name == "alt+tab")
        return {Key(MessageKind::SysKeyDown, 15, '\t'), Key(MessageKind::SysKeyUp, 15)};
    const int x = desktopWidth / 2, y = desktopHeight / 2;
    if (name == "click")
        return {Mouse(MessageKind::LeftButtonDown, x, y, vantor32::MK_LBUTTON),
                Mouse(MessageKind::LeftButtonUp, x, y, 0)};
    if (name == "move") return {Mouse(MessageKind::MouseMove, x / 2, y / 2, 0)};
    return {};
}

void CheckKeyNames(const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (KeyMessages(name, 640, 480).empty())
            throw std::invalid_argument("unknown key \"" + name +
                                        "\" (keys: esc, 1, a-z, space, alt+tab, click, move)");
}

} // namespace maprun
