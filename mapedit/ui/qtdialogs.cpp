#include "mapedit/ui/qtdialogs.h"

#include "mapedit/ui/aboutbox.h"
#include "mapedit/ui/colours.h"
#include "mapedit/ui/layoutdialog.h"

#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace mapedit::ui {

QString QtFilterList(const char* filter) {
    QStringList filters;
    for (const FilterEntry& entry : ParseFilter(filter)) {
        QStringList patterns;
        for (const std::string& pattern : entry.patterns)
            patterns << QString::fromStdString(CaseFreePattern(pattern));
        // Qt reads the patterns from the last parentheses; the description
        // keeps its own, which is all the dialog shows.
        filters << QString::fromStdString(entry.description) + " (" + patterns.join(' ') + ")";
    }
    return filters.join(";;");
}

std::unique_ptr<QMessageBox> QtDialogs::MakeMessageBox(MessageKind kind, const std::string& text,
                                                       MessageButtons buttons) const {
    auto box = std::make_unique<QMessageBox>(Parent);
    box->setObjectName("MessageBox");
    switch (kind) {
    case MessageKind::Information:
        box->setIcon(QMessageBox::Information);
        box->setWindowTitle("Information");
        break;
    case MessageKind::Warning:
        box->setIcon(QMessageBox::Warning);
        box->setWindowTitle("Warning");
        break;
    case MessageKind::Error:
        box->setIcon(QMessageBox::Critical);
        box->setWindowTitle("Error");
        break;
    }
    box->setText(QString::fromStdString(text));
    box->setTextFormat(Qt::PlainText);
    switch (buttons) {
    case MessageButtons::Ok:
        box->setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::Ignore:
        box->setStandardButtons(QMessageBox::Ignore);
        box->setEscapeButton(QMessageBox::Ignore);
        break;
    case MessageButtons::YesNo:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setEscapeButton(QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    }
    return box;
}

MessageResult QtDialogs::Message(MessageKind kind, const std::string& text,
                                 MessageButtons buttons) {
    std::unique_ptr<QMessageBox> box = MakeMessageBox(kind, text, buttons);
    Exec(*box);
    const QAbstractButton* clicked = box->clickedButton();
    switch (clicked ? box->standardButton(const_cast<QAbstractButton*>(clicked))
                    : QMessageBox::NoButton) {
    case QMessageBox::Yes:
        return MessageResult::Yes;
    case QMessageBox::No:
        return MessageResult::No;
    case QMessageBox::Ignore:
        return MessageResult::Ignore;
    case QMessageBox::Ok:
        return MessageResult::Ok;
    default:
        break;
    }
    // Closed some other way: the box's way of saying no.
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageResult::Ok;
    case MessageButtons::Ignore:
        return MessageResult::Ignore;
    case MessageButtons::YesNo:
        return MessageResult::No;
    case MessageButtons::YesNoCancel:
        return MessageResult::Cancel;
    }
    return MessageResult::Cancel;
}

std::unique_ptr<QFileDialog> QtDialogs::MakeFileDialog(FileDialogKind kind) const {
    const FileDialogSpec& spec = DialogSpec(kind);
    auto dialog = std::make_unique<QFileDialog>(Parent, spec.title);
    dialog->setObjectName("FileDialog");
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilter(QtFilterList(spec.filter));
    dialog->setAcceptMode(spec.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(spec.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog->setDefaultSuffix(spec.defaultExt);
    dialog->setDirectory(LastDirectory.isEmpty() ? QDir::currentPath() : LastDirectory);
    dialog->selectFile(QString());
    return dialog;
}

std::optional<std::string> QtDialogs::ChooseFile(FileDialogKind kind) {
    std::unique_ptr<QFileDialog> dialog = MakeFileDialog(kind);
    if (Exec(*dialog) != QDialog::Accepted) return std::nullopt;
    LastDirectory = dialog->directory().absolutePath();
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
    return QFile::encodeName(files.first()).toStdString();
}

std::unique_ptr<QColorDialog> QtDialogs::MakeColourDialog(uint32_t initial) const {
    auto dialog = std::make_unique<QColorDialog>(ToQColor(initial), Parent);
    dialog->setObjectName("ColorDialog");
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    return dialog;
}

std::optional<uint32_t> QtDialogs::ChooseColour(uint32_t initial) {
    std::unique_ptr<QColorDialog> dialog = MakeColourDialog(initial);
    if (Exec(*dialog) != QDialog::Accepted) return std::nullopt;
    return FromQColor(dialog->selectedColor().isValid() ? dialog->selectedColor()
                                                        : dialog->currentColor());
}

bool QtDialogs::RunLayout(LayoutValues& values) {
    TLayoutDialog dialog(Parent);
    dialog.SetValues(values);
    if (Exec(dialog) != QDialog::Accepted) return false;
    values = dialog.Values();
    return true;
}

void QtDialogs::ShowAbout() {
    TAboutBox box(Parent);
    Exec(box);
}

int QtDialogs::Exec(QDialog& dialog) {
    return dialog.exec();
}

} // namespace mapedit::ui
