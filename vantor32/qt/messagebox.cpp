#include "messagebox.h"

#include "vantor32/vantor32.h"

#include <QMessageBox>

#include <utility>
#include <vector>

namespace vantor32qt {

namespace {

constexpr std::uint32_t kDefaultButtonShift = 8, kDefaultButtonMask = 0x0F00;

// Buttons of each MB_ type, left to right, with the result each gives.
std::vector<std::pair<QMessageBox::StandardButton, int>> Buttons(std::uint32_t type) {
    switch (type) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT},
                {QMessageBox::Retry, IDRETRY},
                {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon Icon(std::uint32_t flags) {
    switch (flags & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int ShowMessageBox(const char* text, const char* caption, std::uint32_t flags) {
    const auto buttons = Buttons(flags & MB_TYPEMASK);
    QMessageBox box(Icon(flags), QString::fromLocal8Bit(caption), QString::fromLocal8Bit(text));
    QMessageBox::StandardButtons standard;
    for (const auto& [button, result] : buttons)
        standard |= button;
    box.setStandardButtons(standard);
    const std::size_t defaultIndex = (flags & kDefaultButtonMask) >> kDefaultButtonShift;
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0].first);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& [button, result] : buttons)
        if (button == clicked) return result;
    // Closed without a button: the box's way out, as Escape would take it.
    for (const auto& [button, result] : buttons)
        if (button == QMessageBox::Cancel) return result;
    return buttons.size() == 1 ? buttons.front().second : 0;
}

} // namespace vantor32qt
