#pragma once
// TAboutBox: the program's picture, name, version and a comment.
#include <QDialog>

class QLabel;
class QPushButton;

namespace mapedit::ui {

inline constexpr const char* kProductName = "Zorv";

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* owner);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Comments;
    QPushButton* OKButton;
};

} // namespace mapedit::ui
