// mapedit_screenshots DEMO_DIR OUT_DIR: renders the main window with the demo
// map loaded, each dialog, the menus and the handle window into PNG files, on
// a 1920 x 1080 offscreen screen, for review.
#include "mapedit/ui/aboutbox.h"
#include "mapedit/ui/commands.h"
#include "mapedit/ui/handlebox.h"
#include "mapedit/ui/infobox.h"
#include "mapedit/ui/layoutdialog.h"
#include "mapedit/ui/mapview.h"
#include "mapedit/ui/medit.h"
#include "mapedit/ui/palettegrid.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>

using namespace mapedit;
using namespace mapedit::ui;

namespace {

QString OutDir;
int Failures = 0;

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

void Save(QWidget& widget, const char* name) {
    widget.show();
    Settle();
    const QString file = OutDir + "/" + name;
    if (!widget.grab().save(file)) {
        std::fprintf(stderr, "mapedit_screenshots: cannot write %s\n", qPrintable(file));
        ++Failures;
        return;
    }
    std::printf("%s\n", qPrintable(file));
}

void SavePart(QWidget& window, QWidget* widget, const QRect& rect, const char* name) {
    window.show();
    Settle();
    const QString file = OutDir + "/" + name;
    if (!widget->grab(rect).save(file)) {
        std::fprintf(stderr, "mapedit_screenshots: cannot write %s\n", qPrintable(file));
        ++Failures;
        return;
    }
    std::printf("%s\n", qPrintable(file));
}

// The offscreen platform's screen is 800 x 800 unless a configuration names another.
void UseLargeScreen(const QTemporaryDir& dir) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && platform != "offscreen") return;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":1920,"height":1080,)"
               R"("logicalDpi":96,"logicalWidth":1920,"logicalHeight":1080}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
}

void SaveMenu(TMedit& window, const char* title, const char* name) {
    for (QAction* action : window.menuBar()->actions()) {
        if (action->text() != title || !action->menu()) continue;
        QMenu* menu = action->menu();
        menu->popup(window.mapToGlobal(QPoint(10, 20)));
        Settle();
        Save(*menu, name);
        menu->hide();
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mapedit_screenshots DEMO_DIR OUT_DIR\n");
        return 2;
    }
    QTemporaryDir scratch;
    UseLargeScreen(scratch);
    QApplication app(argc, argv);
    const QString demoDir = QString::fromLocal8Bit(argv[1]);
    OutDir = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(OutDir);

    QtDialogs dialogs;
    TMedit window(&dialogs);
    window.showMaximized();
    Settle();
    TEditor& ed = window.Editor();
    const std::string map = QFile::encodeName(demoDir + "/demo.map").toStdString();
    if (!window.Commands().Guarded([&] { window.Commands().OpenMap(map); })) ++Failures;
    Settle();

    // A 3 x 2 stamp from the palette, hovering over the map, the Damage Zone
    // attribute picked (its argument buttons show), attribute B painted.
    ed.Selection = CellRect{1, 2, 3, 3};
    window.PaletteGrid->RepaintAll();
    ed.RightTile = CellPos{4, 1};
    window.AttrPresetButtons[19]->click();
    window.LayerButtons[size_t(LayerButton::BackGroundButton)]->click();
    window.Action("HandlePosition")->trigger();
    Settle();
    window.DrawGrid1->Frame();
    // The level's ground, and the mouse over it (Timer1 removes the outline
    // when the mouse is not over the view).
    window.DrawGrid1->SetTopLeft(10, 32);
    Settle();
    const QPoint hover = window.DrawGrid1->CellRect(24, 40).center();
    window.CursorPos = [&window, hover] {
        return window.DrawGrid1->viewport()->mapToGlobal(hover);
    };
    ed.MapMouseMove(CellPos{24, 40});
    Save(window, "main.png");
    SavePart(window, window.centralWidget(),
             QRect(0, window.centralWidget()->height() - 232, 760, 232), "main_controls.png");
    SavePart(window, window.centralWidget(),
             QRect(window.centralWidget()->width() - 200, 0, 200, 420), "main_palette.png");
    const QRect outline = window.DrawGrid1->CellRect(24, 40);
    SavePart(window, window.DrawGrid1->viewport(), outline.adjusted(-160, -120, 160, 120),
             "main_outline.png");

    window.ZoomOutClick();
    Settle();
    ed.UpdateStampOutline(CellRect::None());
    Save(window, "main_zoom16.png");
    window.ZoomInClick();
    window.ZoomInClick();
    Settle();
    Save(window, "main_zoom64.png");
    window.ZoomOutClick();

    Save(*window.HandleBox, "handle.png");
    window.HandleBox->hide();

    SaveMenu(window, "&File", "menu_file.png");
    SaveMenu(window, "&Edit", "menu_edit.png");
    SaveMenu(window, "&Options", "menu_options.png");
    SaveMenu(window, "&Help", "menu_help.png");

    {
        TLayoutDialog layout(&window);
        layout.SetValues(LayoutValues{ed.Doc.W(), ed.Doc.H(), true, true, true, true});
        Save(layout, "layout.png");
    }
    {
        TAboutBox about(&window);
        Save(about, "about.png");
    }
    {
        TInfoBox info(&window);
        info.WhatDoing->setTitle("Loading TileSet");
        info.SetText(ProgressLine::Label1, "File format is BLOCKTEXT");
        info.SetText(ProgressLine::Label2, "Tiles Loaded: 57");
        info.SetText(ProgressLine::Label3, "Tile Width: 32");
        info.SetText(ProgressLine::Label4, "Tile Height: 32");
        info.SetText(ProgressLine::CurrentString, "Loading image TERRAIN.PBM");
        Save(info, "infobox.png");
    }
    {
        auto box =
            dialogs.MakeMessageBox(MessageKind::Warning, kClearQuestion, MessageButtons::YesNo);
        Save(*box, "message_clear.png");
        auto close = dialogs.MakeMessageBox(MessageKind::Warning,
                                            "Save Changes to Map " + ed.Doc.DocName + "?",
                                            MessageButtons::YesNoCancel);
        Save(*close, "message_close.png");
        auto error =
            dialogs.MakeMessageBox(MessageKind::Error, "Not an IFF File", MessageButtons::Ok);
        Save(*error, "message_error.png");
        auto ignore = dialogs.MakeMessageBox(MessageKind::Error, "Error loading GRASS.PBM",
                                             MessageButtons::Ignore);
        Save(*ignore, "message_ignore.png");
    }
    QDir::setCurrent(demoDir);
    for (auto [kind, name] : {std::pair{FileDialogKind::OpenMap, "dialog_open_map.png"},
                              std::pair{FileDialogKind::SaveMap, "dialog_save_map.png"},
                              std::pair{FileDialogKind::OpenTileSet, "dialog_open_tileset.png"},
                              std::pair{FileDialogKind::OpenPalette, "dialog_open_palette.png"},
                              std::pair{FileDialogKind::SavePalette, "dialog_save_palette.png"}}) {
        auto dialog = dialogs.MakeFileDialog(kind);
        dialog->resize(700, 450);
        Save(*dialog, name);
    }
    {
        auto colour = dialogs.MakeColourDialog(ed.SlabColor);
        Save(*colour, "dialog_colour.png");
    }
    window.Commands().QuitApplication = [] {};
    ed.Doc.Modified = false;
    return Failures == 0 ? 0 : 1;
}
