#include "fixture.h"

#include "mapedit/ui/mapview.h"
#include "mapedit/ui/palettegrid.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace mapedit::ui::testing {

namespace {

std::vector<std::unique_ptr<QTemporaryDir>>& TempDirs() {
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    return dirs;
}

} // namespace

std::string TempDir() {
    TempDirs().push_back(std::make_unique<QTemporaryDir>());
    return QFile::encodeName(TempDirs().back()->path()).toStdString();
}

const std::string& DemoDir() {
    static const std::string dir = [] {
        const std::string out = TempDir();
        QProcess demogen;
        demogen.start(DEMOGEN_PATH, {QString::fromStdString(out)});
        if (!demogen.waitForFinished(60000) || demogen.exitCode() != 0)
            ADD_FAILURE() << "demogen failed: " << demogen.readAllStandardError().toStdString();
        return out;
    }();
    return dir;
}

std::string DemoFile(const char* name) {
    return DemoDir() + "/" + name;
}

MessageResult ScriptedDialogs::Message(MessageKind kind, const std::string& text,
                                       MessageButtons buttons) {
    messages.push_back({kind, text, buttons});
    if (!answers.empty()) {
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
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

std::optional<std::string> ScriptedDialogs::ChooseFile(FileDialogKind kind) {
    fileDialogs.push_back(kind);
    if (files.empty()) return std::nullopt;
    std::optional<std::string> answer = files.front();
    files.pop_front();
    return answer;
}

std::optional<uint32_t> ScriptedDialogs::ChooseColour(uint32_t initial) {
    colourStarts.push_back(initial);
    if (colours.empty()) return std::nullopt;
    std::optional<uint32_t> answer = colours.front();
    colours.pop_front();
    return answer;
}

bool ScriptedDialogs::Asked(const std::string& text) const {
    for (const ShownMessage& m : messages)
        if (m.text == text) return true;
    return false;
}

int ScriptedDialogs::Exec(QDialog& dialog) {
    ++execs;
    if (!onExec) return QDialog::Rejected;
    dialog.show();
    QCoreApplication::processEvents();
    const int result = onExec(dialog);
    dialog.hide();
    return result;
}

void WindowTest::SetUp() {
    window = std::make_unique<TMedit>(&dialogs);
    window->Commands().QuitApplication = [this] { quitRequested = true; };
    window->resize(1280, 900);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();
}

void WindowTest::TearDown() {
    // Nothing may ask questions while the window goes away.
    window->Editor().Doc.Modified = false;
    window.reset();
}

void WindowTest::OpenDemo() {
    ASSERT_TRUE(Commands().Guarded([this] { Commands().OpenMap(DemoFile("demo.map")); }));
    QCoreApplication::processEvents();
}

QPoint WindowTest::CellCentre(int x, int y) const {
    const QRect r = window->DrawGrid1->CellRect(x, y);
    EXPECT_FALSE(r.isEmpty()) << "cell " << x << "," << y << " is out of view";
    return r.center();
}

void WindowTest::ClickCell(int x, int y, Qt::MouseButton button) {
    QTest::mouseClick(window->DrawGrid1->viewport(), button, Qt::NoModifier, CellCentre(x, y));
}

void WindowTest::HoverCell(int x, int y) {
    // A move to where the mouse already is does not arrive; step aside first.
    QTest::mouseMove(window->DrawGrid1->viewport(), CellCentre(x, y) + QPoint(1, 1));
    QTest::mouseMove(window->DrawGrid1->viewport(), CellCentre(x, y));
    QCoreApplication::processEvents();
}

QPoint WindowTest::PaletteCentre(int column, int row) const {
    return window->PaletteGrid->CellRect(column, row).center();
}

QString WindowTest::Status(StatusPanel panel) const {
    return window->StatusPanels[size_t(panel)]->text();
}

QRgb WindowTest::ViewPixel(int x, int y) {
    return window->DrawGrid1->Frame().pixel(x, y);
}

void WindowTest::Wait(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qSleep(5);
    }
}

} // namespace mapedit::ui::testing
