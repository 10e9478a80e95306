#pragma once
// What the window tests share: the demo data written by demogen, dialogs that
// the test answers, and a shown main window.
#include "mapedit/ui/medit.h"
#include "mapedit/ui/qtdialogs.h"

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace mapedit::ui::testing {

// The demo files (DEMO.TIL, demo.map, DEMO.TPL, ...) in a folder of their own,
// written once per test program.
const std::string& DemoDir();
std::string DemoFile(const char* name);

// A fresh temporary folder, removed afterwards.
std::string TempDir();

struct ShownMessage {
    MessageKind kind;
    std::string text;
    MessageButtons buttons;
};

// Answers each dialog from a script; a dialog the script does not cover is
// cancelled (messages get their "no" answer). Modal dialogs of the window's own
// (Map Settings, About) are handed to OnExec as they are, shown.
class ScriptedDialogs : public QtDialogs {
public:
    std::vector<ShownMessage> messages;
    std::deque<MessageResult> answers;
    std::vector<FileDialogKind> fileDialogs;
    std::deque<std::optional<std::string>> files;
    std::vector<uint32_t> colourStarts;
    std::deque<std::optional<uint32_t>> colours;
    std::function<int(QDialog&)> onExec;
    int execs = 0;

    MessageResult Message(MessageKind kind, const std::string& text,
                          MessageButtons buttons) override;
    std::optional<std::string> ChooseFile(FileDialogKind kind) override;
    std::optional<uint32_t> ChooseColour(uint32_t initial) override;

    bool Asked(const std::string& text) const;

protected:
    int Exec(QDialog& dialog) override;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the demo map (and with it DEMO.TIL) as "&Open..." would.
    void OpenDemo();
    // The centre of map cell (x, y) in the view's viewport.
    QPoint CellCentre(int x, int y) const;
    void ClickCell(int x, int y, Qt::MouseButton button = Qt::LeftButton);
    void HoverCell(int x, int y);
    // The centre of palette cell (column, row) in the palette's viewport.
    QPoint PaletteCentre(int column, int row) const;
    QString Status(StatusPanel panel) const;
    // The colour of a pixel of the map view as it shows now.
    QRgb ViewPixel(int x, int y);
    // Runs the window's events for a while (timers included).
    static void Wait(int ms);

    TEditor& Ed() { return window->Editor(); }
    TEditorCommands& Commands() { return window->Commands(); }

    ScriptedDialogs dialogs;
    std::unique_ptr<TMedit> window;
    bool quitRequested = false;
};

} // namespace mapedit::ui::testing
