#include "mapedit/ui/aboutbox.h"

#include "mapedit/ui/glyphs.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace mapedit::ui {

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
    setObjectName("AboutBox");
    setWindowTitle("About");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(298, 241);
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(grey);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setGeometry(8, 8, 282, 185);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setGeometry(8, 8, 97, 97);
    ProgramIcon->setPixmap(ProgramIconPicture(97));
    ProgramIcon->setScaledContents(true);

    ProductName = new QLabel(kProductName, panel);
    ProductName->setObjectName("ProductName");
    QFont title = ProductName->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 6);
    ProductName->setFont(title);
    ProductName->setGeometry(120, 16, 150, 32);

    Version = new QLabel("Version 1.0", panel);
    Version->setObjectName("Version");
    Version->setGeometry(120, 56, 150, 20);

    Comments = new QLabel("It needs work", panel);
    Comments->setObjectName("Comments");
    Comments->setWordWrap(true);
    Comments->setGeometry(8, 116, 266, 60);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    OKButton = new QPushButton("Boogy on down", this);
    OKButton->setObjectName("OKButton");
    OKButton->setGeometry(94, 204, 110, 29);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace mapedit::ui
