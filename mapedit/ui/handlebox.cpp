#include "mapedit/ui/handlebox.h"

#include "mapedit/ui/dialogrules.h"
#include "mapedit/ui/glyphs.h"

#include <QButtonGroup>
#include <QFrame>
#include <QToolButton>

namespace mapedit::ui {

namespace {

constexpr int kClientSize = 116;
constexpr int kButtonSize = 32;

} // namespace

THandleBox::THandleBox(QWidget* owner)
    : QWidget(owner,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("HandleBox");
    setWindowTitle("Handle");
    setFixedSize(kClientSize, kClientSize);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(4, 4, kClientSize - 8, kClientSize - 8);

    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int tag = 1; tag <= 9; ++tag) {
        auto* button = new QToolButton(panel);
        button->setObjectName(QString("SpeedButton%1").arg(tag));
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setStyleSheet(kToggleButtonStyle);
        const int column = (tag - 1) % 3, row = (tag - 1) / 3;
        button->setGeometry(4 + column * (kButtonSize + 2), 4 + row * (kButtonSize + 2),
                            kButtonSize, kButtonSize);
        button->setIcon(QIcon(HandleGlyph(tag, 28)));
        button->setIconSize(QSize(28, 28));
        group->addButton(button, tag);
        SpeedButtons[size_t(tag - 1)] = button;
        connect(button, &QToolButton::clicked, this, [this, tag] { SpeedButtonClick(tag); });
    }
    // FormCreate: the centre, matching the button that is down at start.
    SpeedButtons[4]->setChecked(true);
    HandleX = 1;
    HandleY = 1;
}

void THandleBox::SpeedButtonClick(int tag) {
    const HandlePosition position = HandleFromTag(tag);
    HandleX = position.x;
    HandleY = position.y;
    if (OnHandleChanged) OnHandleChanged(HandleX, HandleY);
}

} // namespace mapedit::ui
