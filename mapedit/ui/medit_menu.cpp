// The main menu: File, Edit, Options and Help with their items and handlers.
#include "mapedit/ui/handlebox.h"
#include "mapedit/ui/medit.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace mapedit::ui {

namespace {

QAction* AddItem(QMenu* menu, const char* caption, const char* name = nullptr) {
    QAction* action = menu->addAction(caption);
    if (name) action->setObjectName(name);
    return action;
}

} // namespace

void TMedit::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    // Every command runs guarded: what it raises is shown and the program goes on.
    auto wire = [this](QAction* action, void (TEditorCommands::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { Guard([this, handler] { (Commands_.get()->*handler)(); }); });
    };

    QMenu* file = bar->addMenu("&File");
    wire(AddItem(file, "&Clear", "New1"), &TEditorCommands::New1Click);
    wire(AddItem(file, "&Layout...", "Layout1"), &TEditorCommands::Layout1Click);
    wire(AddItem(file, "&Open...", "Open1"), &TEditorCommands::Open1Click);
    wire(AddItem(file, "&Save", "Save1"), &TEditorCommands::Save1Click);
    wire(AddItem(file, "Save &As...", "SaveAs1"), &TEditorCommands::SaveAs1Click);
    file->addSeparator();
    wire(AddItem(file, "Open Tile &Palette...", "OpenTilePalette1"),
         &TEditorCommands::OpenTilePalette1Click);
    wire(AddItem(file, "Save Tile Palette", "SaveTilePalette1"),
         &TEditorCommands::SaveTilePalette1Click);
    wire(AddItem(file, "Save Tile Palette As...", "SaveTilePaletteAs1"),
         &TEditorCommands::SaveTilePaletteAs1Click);
    wire(AddItem(file, "Open &TileSet", "OpenTileSet1"), &TEditorCommands::OpenTileSet1Click);
    file->addSeparator();
    wire(AddItem(file, "E&xit", "Exit1"), &TEditorCommands::Exit1Click);

    QMenu* edit = bar->addMenu("&Edit");
    QAction* undo = AddItem(edit, "&Undo", "Undo1");
    connect(undo, &QAction::triggered, this, [this] { Editor_->Undo1Click(); });
    QAction* redo = AddItem(edit, "&Redo", "Redo1");
    connect(redo, &QAction::triggered, this, [this] { Editor_->Redo1Click(); });
    undo->setEnabled(false);
    redo->setEnabled(false);

    QMenu* options = bar->addMenu("&Options");
    QMenu* colours = options->addMenu("&Colors");
    colours->setObjectName("Colors1");
    wire(AddItem(colours, "Slab", "Slab1"), &TEditorCommands::Slab1Click);
    wire(AddItem(colours, "Attributes A", "Attributes1"), &TEditorCommands::Attributes1Click);
    wire(AddItem(colours, "Flags", "Flags1"), &TEditorCommands::Flags1Click);
    wire(AddItem(colours, "Attributes B", "AttributesB"), &TEditorCommands::AttributesBClick);
    wire(AddItem(colours, "BackGround", "background"), &TEditorCommands::backgroundClick);

    QAction* handle = AddItem(options, "Handle Position...", "HandlePosition");
    handle->setCheckable(true);
    connect(handle, &QAction::triggered, this,
            [this](bool checked) { HandleBox->setVisible(checked); });

    QAction* outline = AddItem(options, "Slab Outline", "SlabOutline1");
    outline->setCheckable(true);
    outline->setChecked(Editor_->SlabOutline);
    connect(outline, &QAction::triggered, this,
            [this](bool checked) { Editor_->SetSlabOutline(checked); });
    QAction* tiles = AddItem(options, "Slab Tiles", "SlabTiles1");
    tiles->setCheckable(true);
    tiles->setChecked(Editor_->SlabTiles);
    connect(tiles, &QAction::triggered, this,
            [this](bool checked) { Editor_->SetSlabTiles(checked); });
    QAction* shadows = AddItem(options, "Real Shadows", "RealShadows1");
    shadows->setCheckable(true);
    shadows->setChecked(Editor_->CellSurface.ShadeMode);
    connect(shadows, &QAction::triggered, this,
            [this](bool checked) { Commands_->RealShadows1Click(checked); });

    QMenu* brightness = options->addMenu("Tile Brightness");
    brightness->setObjectName("TileBrightness1");
    auto* levels = new QActionGroup(this);
    levels->setExclusive(true);
    for (int tag : {50, 75, 100, 125, 150, 175}) {
        QAction* level = AddItem(brightness, QString("%1%").arg(tag).toUtf8().constData(),
                                 QString("N%1").arg(tag).toUtf8().constData());
        level->setCheckable(true);
        level->setChecked(tag == 100);
        level->setData(tag);
        levels->addAction(level);
        connect(level, &QAction::triggered, this, [this, tag] { Commands_->N501Click(tag); });
    }

    QMenu* help = bar->addMenu("&Help");
    AddItem(help, "&Search for Help On...");
    AddItem(help, "&Contents");
    AddItem(help, "&How to Use Help");
    wire(AddItem(help, "&About...", "About1"), &TEditorCommands::About1Click);
}

} // namespace mapedit::ui
