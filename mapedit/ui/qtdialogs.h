#pragma once
// The real dialogs: QMessageBox, QFileDialog, QColorDialog and the editor's own
// Map Settings and About boxes. Every modal run goes through Exec, which tests
// replace to answer the real dialogs themselves.
#include "mapedit/ui/dialogs.h"

#include <QString>
#include <memory>

class QColorDialog;
class QDialog;
class QFileDialog;
class QMessageBox;
class QWidget;

namespace mapedit::ui {

class QtDialogs : public Dialogs {
public:
    // Dialogs open over `parent` (the main window; may be set later).
    explicit QtDialogs(QWidget* parent = nullptr) : Parent(parent) {}

    MessageResult Message(MessageKind kind, const std::string& text,
                          MessageButtons buttons) override;
    std::optional<std::string> ChooseFile(FileDialogKind kind) override;
    std::optional<uint32_t> ChooseColour(uint32_t initial) override;
    bool RunLayout(LayoutValues& values) override;
    void ShowAbout() override;

    // The dialogs as they are shown (also for screenshots).
    std::unique_ptr<QMessageBox> MakeMessageBox(MessageKind kind, const std::string& text,
                                                MessageButtons buttons) const;
    std::unique_ptr<QFileDialog> MakeFileDialog(FileDialogKind kind) const;
    std::unique_ptr<QColorDialog> MakeColourDialog(uint32_t initial) const;

    QWidget* Parent;

protected:
    // Runs a dialog modally; returns its result code.
    virtual int Exec(QDialog& dialog);

private:
    QString LastDirectory;
};

// The Qt filter string for a filter in the "description|pattern|..." form;
// patterns match regardless of letter case.
QString QtFilterList(const char* filter);

} // namespace mapedit::ui
