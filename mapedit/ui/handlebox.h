#pragma once
// THandleBox, "Handle": nine toggle buttons that choose which point of the
// stamp sits under the mouse. It stays on top of the editor and has no close
// button; the Options menu shows and hides it.
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

class QToolButton;

namespace mapedit::ui {

class THandleBox : public QWidget {
    Q_OBJECT
public:
    explicit THandleBox(QWidget* owner);

    uint8_t HandleX = 1; // 0 left, 1 centre, 2 right
    uint8_t HandleY = 1; // 0 top, 1 middle, 2 bottom
    // Called after a button changed the handle.
    std::function<void(uint8_t, uint8_t)> OnHandleChanged;

    // SpeedButton1 to SpeedButton9.
    std::array<QToolButton*, 9> SpeedButtons{};

    void SpeedButtonClick(int tag);
};

} // namespace mapedit::ui
