#include "mapedit/ui/infobox.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>

namespace mapedit::ui {

TInfoBox::TInfoBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint) {
    setObjectName("InfoBox");
    setWindowTitle("Working");
    setFixedSize(314, 217);

    WhatDoing = new QGroupBox("Action", this);
    WhatDoing->setObjectName("WhatDoing");
    WhatDoing->setGeometry(8, 6, 298, 140);
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(WhatDoing);
        label->setObjectName(QString("Label%1").arg(i + 1));
        label->setGeometry(12, 18 + 24 * i, 274, 18);
        Labels[size_t(i)] = label;
    }
    GroupBox2 = new QGroupBox("Currently", this);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(8, 152, 298, 56);
    CurrentString = new QLabel("CurrentString", GroupBox2);
    CurrentString->setObjectName("CurrentString");
    CurrentString->setGeometry(12, 22, 274, 20);
    show();
}

void TInfoBox::SetText(ProgressLine line, const QString& text) {
    switch (line) {
    case ProgressLine::CurrentString:
        CurrentString->setText(text);
        break;
    case ProgressLine::Label1:
    case ProgressLine::Label2:
    case ProgressLine::Label3:
    case ProgressLine::Label4:
    case ProgressLine::Label5:
        Labels[size_t(int(line) - int(ProgressLine::Label1))]->setText(text);
        break;
    }
}

TInfoProgress::TInfoProgress(QWidget* owner, const std::string& whatDoing)
    : Box(new TInfoBox(owner)) {
    Box->WhatDoing->setTitle(QString::fromStdString(whatDoing));
}

TInfoProgress::~TInfoProgress() {
    Box->hide();
    delete Box;
}

void TInfoProgress::SetText(ProgressLine line, const std::string& text) {
    Box->SetText(line, QString::fromStdString(text));
}

} // namespace mapedit::ui
