#include "mapedit/ui/layoutdialog.h"

#include "mapedit/core/document.h"
#include "mapedit/ui/dialogrules.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace mapedit::ui {

namespace {

QSpinBox* MakeSizeEdit(QWidget* parent, const char* name) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(name);
    // Only what a map file can record; the size rule applies when a field is entered.
    edit->setRange(0, kMaxMapSide);
    edit->setValue(64);
    return edit;
}

QCheckBox* MakeFlag(QWidget* parent, const char* name, bool enabled) {
    auto* box = new QCheckBox(name, parent);
    box->setObjectName(name);
    box->setChecked(true);
    box->setEnabled(enabled);
    return box;
}

} // namespace

TLayoutDialog::TLayoutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("LayoutDialog");
    setWindowTitle("Map Settings");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setFixedSize(313, 182);

    auto* group = new QGroupBox(this);
    group->setObjectName("GroupBox1");
    group->setGeometry(8, 8, 208, 166);

    WidthEdit = MakeSizeEdit(group, "WidthEdit");
    WidthEdit->setGeometry(12, 14, 80, 24);
    auto* label1 = new QLabel("Map Width", group);
    label1->setObjectName("Label1");
    label1->setGeometry(12, 40, 90, 16);
    HeightEdit = MakeSizeEdit(group, "HeightEdit");
    HeightEdit->setGeometry(110, 14, 80, 24);
    auto* label2 = new QLabel("Map Height", group);
    label2->setObjectName("Label2");
    label2->setGeometry(110, 40, 90, 16);

    BackGround = MakeFlag(group, "BackGround", false);
    BackGround->setGeometry(12, 70, 110, 20);
    ForeGround = MakeFlag(group, "ForeGround", false);
    ForeGround->setGeometry(12, 92, 110, 20);
    Collision = MakeFlag(group, "Collision", false);
    Collision->setGeometry(12, 114, 110, 20);
    Attributes = MakeFlag(group, "Attributes", true);
    Attributes->setGeometry(12, 136, 110, 20);

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(228, 14, 77, 27);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(228, 48, 77, 27);
    HelpBtn = new QPushButton("&Help", this);
    HelpBtn->setObjectName("HelpBtn");
    HelpBtn->setGeometry(228, 82, 77, 27);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    WidthEdit->installEventFilter(this);
    HeightEdit->installEventFilter(this);
    setTabOrder(WidthEdit, HeightEdit);
    setTabOrder(HeightEdit, Attributes);
    setTabOrder(Attributes, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, HelpBtn);
    // The dialog opens with the focus on OK, so the size rule runs only when
    // the user enters a size field.
    OKBtn->setFocus();
}

void TLayoutDialog::SetValues(const LayoutValues& v) {
    WidthEdit->setValue(v.width);
    HeightEdit->setValue(v.height);
    BackGround->setChecked(v.background);
    ForeGround->setChecked(v.foreground);
    Collision->setChecked(v.collision);
    Attributes->setChecked(v.attributes);
}

LayoutValues TLayoutDialog::Values() const {
    return LayoutValues{WidthEdit->value(),      HeightEdit->value(),    BackGround->isChecked(),
                        ForeGround->isChecked(), Collision->isChecked(), Attributes->isChecked()};
}

bool TLayoutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == WidthEdit) SpinEdit1Change();
        if (watched == HeightEdit) HeightEditChange();
    }
    return QDialog::eventFilter(watched, event);
}

void TLayoutDialog::SpinEdit1Change() {
    WidthEdit->setValue(WidthOnEnter(WidthEdit->value(), HeightEdit->value()));
}

void TLayoutDialog::HeightEditChange() {
    HeightEdit->setValue(HeightOnEnter(WidthEdit->value(), HeightEdit->value()));
}

} // namespace mapedit::ui
