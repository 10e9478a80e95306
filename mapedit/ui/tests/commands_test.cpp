// Menu commands through their actions, with the dialogs answered by the test;
// the close question; undo keys whatever has the focus; the attribute tools.
#include "fixture.h"

#include "formats/mapfile.h"
#include "formats/stream.h"
#include "formats/tilepalette.h"
#include "mapedit/ui/commandline.h"
#include "mapedit/ui/infobox.h"
#include "mapedit/ui/layoutdialog.h"
#include "mapedit/ui/mapview.h"
#include "mapedit/ui/palettegrid.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>

namespace mapedit::ui::testing {
namespace {

namespace fs = std::filesystem;

formats::MapData ReadMap(const std::string& file) {
    formats::FileStream stream{fs::path(file)};
    return formats::ReadMapData(stream, formats::MapReader::Editor);
}

int CountTiles(const TEditor& ed) {
    int n = 0;
    for (int slot = 1; slot < 1023; ++slot)
        n += ed.Tiles.Id(slot) != 0;
    return n;
}

class CommandTest : public WindowTest {
protected:
    void Trigger(const char* action) {
        QAction* a = window->Action(action);
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
        QCoreApplication::processEvents();
    }
    // Paints tile `id` into cell (x, y) of layer 0 with a left click.
    void Paint(int x, int y) {
        Ed().Selection = CellRect{0, 0, 0, 0};
        Ed().Doc.SetCell(0, x, y, 9);
        ClickCell(x, y); // slot 0 is empty: a single empty cell paints 0
    }
};

TEST_F(CommandTest, ClearAsksFirstAndEmptiesTheMapOnYes) {
    Ed().Doc.SetCell(1, 5, 5, 7);
    Ed().Doc.Modified = true;
    Trigger("New1");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "This will nuke everything.\nYou're sure it's what you want?");
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(Ed().Doc.Cell(1, 5, 5), 7); // answered No

    dialogs.answers.push_back(MessageResult::Yes);
    Trigger("New1");
    EXPECT_EQ(Ed().Doc.Cell(1, 5, 5), 0);
    EXPECT_EQ(Ed().Doc.W(), 64);
    EXPECT_TRUE(Ed().Doc.Modified);
    EXPECT_EQ(window->windowTitle(), "Untitled");
}

TEST_F(CommandTest, OpenLoadsTheMapAndItsTileSetShowingProgress) {
    // A timer that fires while the load lets the window handle its events.
    QStringList progress;
    bool closedWhileLoading = false;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        for (TInfoBox* box : window->findChildren<TInfoBox*>())
            if (box->isVisible() && !progress.contains(box->WhatDoing->title()))
                progress << box->WhatDoing->title();
        // Closing the window while the map is half read is refused.
        if (!progress.isEmpty() && !closedWhileLoading) {
            Ed().Doc.Modified = true;
            closedWhileLoading = true;
            window->close();
            EXPECT_TRUE(window->isVisible());
        }
    });
    probe.start();
    dialogs.files.push_back(DemoFile("demo.map"));
    Trigger("Open1");
    probe.stop();

    ASSERT_EQ(dialogs.fileDialogs, std::vector<FileDialogKind>{FileDialogKind::OpenMap});
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Ed().Doc.W(), 80);
    EXPECT_EQ(Ed().Doc.H(), 50);
    EXPECT_EQ(window->DrawGrid1->ColCount(), 80);
    EXPECT_EQ(window->windowTitle().toStdString(), Ed().Doc.DocName);
    EXPECT_EQ(Ed().Doc.DocName, DemoFile("demo.map")); // not below the program's folder
    EXPECT_EQ(fs::path(Ed().Tiles.FileName).filename(), "DEMO.TIL");
    EXPECT_GT(CountTiles(Ed()), 20);
    EXPECT_FALSE(Ed().Doc.Modified);
    EXPECT_FALSE(window->Action("Undo1")->isEnabled());
    EXPECT_TRUE(progress.contains("Loading Map"));
    EXPECT_TRUE(progress.contains("Loading TileSet"));
    EXPECT_TRUE(closedWhileLoading);
    // The boxes are gone once the load is over.
    for (TInfoBox* box : window->findChildren<TInfoBox*>())
        EXPECT_FALSE(box->isVisible());

    // A cancelled dialog changes nothing.
    Trigger("Open1");
    EXPECT_EQ(Ed().Doc.W(), 80);
}

TEST_F(CommandTest, OpeningWhatIsNotAMapReportsItAndLeavesAnEmptyDocument) {
    OpenDemo();
    const std::string junk = TempDir() + "/junk.map";
    std::ofstream(junk) << "this is no map";
    dialogs.files.push_back(junk);
    Trigger("Open1");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Not an IFF File\n" + junk); // the file on a line of its own
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(Ed().Doc.DocName, "Untitled");
    EXPECT_EQ(window->windowTitle(), "Untitled");
    for (const auto& plane : Ed().Doc.Planes)
        for (uint16_t cell : plane)
            ASSERT_EQ(cell, 0);

    // A file that does not exist (named on the command line) is reported too.
    dialogs.messages.clear();
    EXPECT_FALSE(Commands().Guarded([this] { Commands().OpenMap(TempDir() + "/none.map"); }));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(CommandTest, ErrorsNameTheFileTheyConcern) {
    const std::string dir = TempDir();
    auto write = [](const std::string& file, const std::vector<uint8_t>& bytes, size_t keep) {
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(keep));
    };
    auto expectNamed = [&](const std::string& file) {
        ASSERT_FALSE(dialogs.messages.empty());
        const std::string& text = dialogs.messages.back().text;
        const size_t newline = text.find('\n');
        ASSERT_NE(newline, std::string::npos) << text;
        EXPECT_GT(newline, 0u);
        EXPECT_EQ(text.substr(newline + 1), file);
        dialogs.messages.clear();
    };

    // A map cut short, beside its tile set.
    const std::vector<uint8_t> map = formats::ReadWholeFile(DemoFile("demo.map"));
    const std::string cutMap = DemoDir() + "/cut_for_message.map";
    write(cutMap, map, 200);
    dialogs.files.push_back(cutMap);
    Trigger("Open1");
    expectNamed(cutMap);

    // A tile picture cut short, within a tile set.
    const std::vector<uint8_t> picture = formats::ReadWholeFile(DemoFile("testpbm.lbm"));
    write(dir + "/BAD.LBM", picture, 30);
    std::ofstream(dir + "/BAD.TIL", std::ios::binary) << "BLOKTEXT\r\nTILE 5 BAD.LBM\r\n";
    dialogs.files.push_back(dir + "/BAD.TIL");
    Trigger("OpenTileSet1");
    expectNamed(dir + "/BAD.LBM");

    // A tile palette cut short.
    const std::vector<uint8_t> palette = formats::ReadWholeFile(DemoFile("DEMO.TPL"));
    write(dir + "/cut.tpl", palette, 40);
    dialogs.files.push_back(dir + "/cut.tpl");
    Trigger("OpenTilePalette1");
    expectNamed(dir + "/cut.tpl");
}

TEST_F(CommandTest, AMapNamedOnTheCommandLineKeepsTheBytesOfItsName) {
    const std::string odd = DemoDir() + "/odd\xFF.map";
    fs::copy_file(DemoFile("demo.map"), odd, fs::copy_options::overwrite_existing);
    char program[] = "mapedit";
    std::string argument = odd;
    char* argv[] = {program, argument.data(), nullptr};
    const std::string name = CommandLineMap(2, argv);
    EXPECT_EQ(name, odd);
    Commands().OpenMap(name);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Ed().Doc.W(), 80);
    EXPECT_EQ(Ed().Doc.DocName, odd);
    char* none[] = {program, nullptr};
    EXPECT_EQ(CommandLineMap(1, none), "");
    fs::remove(odd); // the demo folder's own clean-up cannot name it
}

TEST_F(CommandTest, FileNamesLongerThan255CharactersAreRefused) {
    OpenDemo();
    const std::string name = DemoDir() + "/" + std::string(260, 'm') + ".map";
    dialogs.files.push_back(name);
    Trigger("Open1");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("255"), std::string::npos);
    EXPECT_EQ(Ed().Doc.W(), 80); // the document was not touched
    EXPECT_EQ(Ed().Doc.DocName, DemoFile("demo.map"));

    dialogs.files.push_back(name);
    Trigger("SaveAs1");
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(Ed().Doc.DocName, DemoFile("demo.map"));

    Commands().OpenMap(name);
    EXPECT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(Ed().Doc.W(), 80);
}

TEST_F(CommandTest, SaveAsksForANameOnlyForAnUntitledDocument) {
    const std::string dir = TempDir();
    Trigger("Save1"); // dialog cancelled
    EXPECT_EQ(dialogs.fileDialogs, std::vector<FileDialogKind>{FileDialogKind::SaveMap});
    EXPECT_EQ(Ed().Doc.DocName, "Untitled");
    EXPECT_TRUE(fs::is_empty(dir));

    Ed().Doc.SetCell(0, 2, 3, 77);
    Ed().Doc.Modified = true;
    dialogs.files.push_back(dir + "/first.map");
    Trigger("SaveAs1");
    EXPECT_EQ(window->windowTitle().toStdString(), dir + "/first.map");
    formats::MapData saved = ReadMap(dir + "/first.map");
    EXPECT_EQ(saved.width, 64);
    EXPECT_EQ(saved.cells[3 * 64 + 2].back, 77);
    EXPECT_TRUE(Ed().Doc.Modified); // saving leaves it

    // A named document saves without a dialog.
    Ed().Doc.SetCell(0, 2, 3, 78);
    Trigger("Save1");
    EXPECT_EQ(dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(ReadMap(dir + "/first.map").cells[3 * 64 + 2].back, 78);

    // A save that fails is reported; the document keeps its new name.
    dialogs.files.push_back(dir + "/no/such/folder/x.map");
    Trigger("SaveAs1");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(Ed().Doc.DocPath, dir + "/no/such/folder/x.map");
}

TEST_F(CommandTest, LayoutChangesSizeAndFlagsOnlyOnOk) {
    Ed().Doc.SetCell(0, 5, 3, 7);
    Ed().Doc.SetCell(0, 50, 3, 8);
    std::vector<LayoutValues> shown;
    dialogs.onExec = [&](QDialog& d) {
        auto* layout = dynamic_cast<TLayoutDialog*>(&d);
        EXPECT_NE(layout, nullptr);
        if (!layout) return int(QDialog::Rejected);
        EXPECT_EQ(layout->windowTitle(), "Map Settings");
        shown.push_back(layout->Values());
        layout->WidthEdit->setValue(40);
        layout->Attributes->setChecked(false);
        return int(shown.size() == 1 ? QDialog::Rejected : QDialog::Accepted);
    };
    Trigger("Layout1");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].width, 64);
    EXPECT_EQ(shown[0].height, 64);
    EXPECT_TRUE(shown[0].attributes);
    EXPECT_EQ(Ed().Doc.W(), 64); // cancelled

    Trigger("Layout1");
    EXPECT_EQ(Ed().Doc.W(), 40);
    EXPECT_EQ(Ed().Doc.H(), 64);
    EXPECT_EQ(window->DrawGrid1->ColCount(), 40);
    EXPECT_EQ(Ed().Doc.Cell(0, 5, 3), 7);
    Ed().ResizePlanes(64, 64);
    EXPECT_EQ(Ed().Doc.Cell(0, 50, 3), 0);       // columns 40 to 63 were lost
    EXPECT_EQ(Ed().Doc.LayerFlags & 0x20, 0x20); // a cleared box clears nothing
}

TEST_F(CommandTest, ClosingWithUnsavedChangesAsks) {
    Paint(2, 2);
    ASSERT_TRUE(Ed().Doc.Modified);
    window->close();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Save Changes to Map Untitled?");
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Warning);
    EXPECT_TRUE(window->isVisible()); // Cancel keeps the window

    // Yes with a save that fails keeps it open, so nothing is lost.
    dialogs.answers.push_back(MessageResult::Yes);
    dialogs.files.push_back(TempDir() + "/missing/dir/x.map");
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs.messages.back().kind, MessageKind::Error);

    // Yes with the save dialog cancelled writes nothing and keeps the window.
    dialogs.answers.push_back(MessageResult::Yes);
    Ed().SetDocName("Untitled");
    const size_t fileDialogsBefore = dialogs.fileDialogs.size();
    window->close();
    EXPECT_EQ(dialogs.fileDialogs.size(), fileDialogsBefore + 1); // the Save As dialog ran
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Ed().Doc.Cell(0, 2, 2), 0); // the painting is still there
    EXPECT_TRUE(Ed().Doc.Modified);

    // So does a name that saves nothing.
    dialogs.answers.push_back(MessageResult::Yes);
    dialogs.files.push_back(std::string("Untitled"));
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs.messages.back().text, "Save Changes to Map Untitled?"); // no error

    // Yes with a save that writes the map closes.
    const std::string saved = TempDir() + "/closing.map";
    Ed().Doc.SetCell(1, 3, 3, 42);
    dialogs.answers.push_back(MessageResult::Yes);
    dialogs.files.push_back(saved);
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ReadMap(saved).cells.at(3 * 64 + 3).middle, 42);

    window->show();
    dialogs.answers.push_back(MessageResult::No);
    window->close();
    EXPECT_FALSE(window->isVisible());

    // Without changes nothing is asked.
    window->show();
    Ed().Doc.Modified = false;
    const size_t asked = dialogs.messages.size();
    window->close();
    EXPECT_EQ(dialogs.messages.size(), asked);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(CommandTest, ExitQuitsWithoutAQuestion) {
    Paint(2, 2);
    Trigger("Exit1");
    EXPECT_TRUE(quitRequested);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CommandTest, UndoKeysReachTheWindowWhateverHasTheFocus) {
    Paint(4, 4);
    ASSERT_EQ(Ed().Doc.Cell(0, 4, 4), 0);
    window->activateWindow();
    window->MaskEdit1->setFocus();
    QTest::keyClick(window->MaskEdit1, 'u');
    EXPECT_EQ(Ed().Doc.Cell(0, 4, 4), 9);
    EXPECT_EQ(window->MaskEdit1->text(), "   0");
    EXPECT_TRUE(window->Action("Redo1")->isEnabled());
    EXPECT_FALSE(window->Action("Undo1")->isEnabled());
    QTest::keyClick(window->PaletteGrid, 'R');
    EXPECT_EQ(Ed().Doc.Cell(0, 4, 4), 0);
    QTest::keyClick(window->MaskEdit1, ',');
    EXPECT_EQ(Ed().Doc.Cell(0, 4, 4), 9);
    QTest::keyClick(window->ShowBoxes[2], '>');
    EXPECT_EQ(Ed().Doc.Cell(0, 4, 4), 0);
    QTest::keyClick(window->DrawGrid1, '<');
    QTest::keyClick(window.get(), '.');
    EXPECT_EQ(Ed().Doc.Cell(0, 4, 4), 0);
    // Other keys still reach the field.
    window->MaskEdit1->selectAll();
    QTest::keyClicks(window->MaskEdit1, "12");
    EXPECT_EQ(window->MaskEdit1->text(), "  12");

    // The menu items do the same.
    Trigger("Undo1");
    EXPECT_EQ(Ed().Doc.Cell(0, 4, 4), 9);
    Trigger("Redo1");
    EXPECT_EQ(Ed().Doc.Cell(0, 4, 4), 0);
}

TEST_F(CommandTest, TilePalettesAreSavedApartFromTheTileSet) {
    OpenDemo();
    const std::string dir = TempDir();
    const std::string tileSet = Ed().Tiles.FileName;
    const auto tileSetSize = fs::file_size(tileSet);

    // No palette name yet: "Save Tile Palette" asks for one.
    dialogs.files.push_back(dir + "/mine.tpl");
    Trigger("SaveTilePalette1");
    EXPECT_EQ(dialogs.fileDialogs, std::vector<FileDialogKind>{FileDialogKind::SavePalette});
    EXPECT_EQ(fs::file_size(dir + "/mine.tpl"), 2060u);
    EXPECT_EQ(Ed().Tiles.FileName, tileSet); // saved maps still name the tile set
    Trigger("SaveTilePalette1");
    EXPECT_EQ(dialogs.fileDialogs.size(), 1u);

    // Never over the tile set file.
    dialogs.files.push_back(tileSet);
    Trigger("SaveTilePaletteAs1");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, kPaletteOverTileSet);
    EXPECT_EQ(fs::file_size(tileSet), tileSetSize);

    // Opening the demo palette rearranges the slots by its IDs.
    dialogs.files.push_back(DemoFile("DEMO.TPL"));
    Trigger("OpenTilePalette1");
    const formats::TilePaletteIds ids = formats::ReadTilePalette(fs::path(DemoFile("DEMO.TPL")));
    for (int slot = 0; slot < 1023; ++slot)
        ASSERT_EQ(Ed().Tiles.Id(slot), ids[size_t(slot)]) << slot;

    // A tile set chosen by mistake empties the arrangement with a message.
    dialogs.files.push_back(tileSet);
    Trigger("OpenTilePalette1");
    EXPECT_EQ(dialogs.messages.back().text, "Not a Tile Palette File");
    EXPECT_EQ(CountTiles(Ed()), 0);

    // "Open &TileSet" brings the tiles back, and forgets the palette's name:
    // the next "Save Tile Palette" asks again instead of writing over the
    // palette of the set loaded before.
    dialogs.files.push_back(tileSet);
    Trigger("OpenTileSet1");
    EXPECT_EQ(dialogs.fileDialogs.back(), FileDialogKind::OpenTileSet);
    EXPECT_GT(CountTiles(Ed()), 20);
    const auto saved = formats::ReadWholeFile(dir + "/mine.tpl");
    Trigger("SaveTilePalette1"); // dialog cancelled
    EXPECT_EQ(dialogs.fileDialogs.back(), FileDialogKind::SavePalette);
    EXPECT_EQ(formats::ReadWholeFile(dir + "/mine.tpl"), saved);
}

TEST_F(CommandTest, ColourItemsStartFromTheRightColour) {
    dialogs.colours.push_back(0x00123456);
    Trigger("AttributesB");
    EXPECT_EQ(dialogs.colourStarts.back(), kInitialAttrBColor);
    EXPECT_EQ(Ed().AttrBColor, 0x00123456u);
    Trigger("Slab1"); // cancelled
    EXPECT_EQ(dialogs.colourStarts.back(), 0x00123456u);
    EXPECT_EQ(Ed().SlabColor, kInitialSlabColor);
    Trigger("Flags1");
    EXPECT_EQ(dialogs.colourStarts.back(), kInitialFlagsColor);
    dialogs.colours.push_back(0x00332211);
    Trigger("background");
    EXPECT_EQ(Ed().Colours.DisplayColours()[0], (RgbQuad{0x33, 0x22, 0x11, 0}));
    EXPECT_EQ(window->DrawGrid1->Frame().pixel(5, 5), 0xFF112233u); // an empty cell

    // Brightness items are one radio group.
    Trigger("N175");
    EXPECT_TRUE(window->Action("N175")->isChecked());
    EXPECT_FALSE(window->Action("N100")->isChecked());
    EXPECT_EQ(Ed().Colours.TileBrightness(), 1.75);
    // "Real Shadows" switches the cell surface's shading.
    Trigger("RealShadows1");
    EXPECT_FALSE(Ed().CellSurface.ShadeMode);
}

TEST_F(CommandTest, AttributePresetsAndArgumentsPaintTheAttributeLayer) {
    QTest::mouseClick(window->AttrPresetButtons[19], Qt::LeftButton); // Damage Zone
    EXPECT_EQ(window->AttrNameLabel->text(), "Damage Zone");
    EXPECT_EQ(window->AttrArgLabel->text(), "Amount of damage done");
    for (QToolButton* preset : window->AttrArgPresets)
        EXPECT_TRUE(preset->isVisibleTo(window.get()));
    EXPECT_EQ(window->AttrArgPresets[0]->property("tag").toInt(), 1);
    EXPECT_EQ(window->AttrArgPresets[5]->property("glyph").toString(), "Smile0");
    EXPECT_EQ(Ed().CurrentLayer, kAttributeLayer);
    EXPECT_TRUE(window->LayerButtons[size_t(LayerButton::AttributesButton)]->isChecked());
    EXPECT_FALSE(window->LayerButtons[size_t(LayerButton::BackGroundButton)]->isChecked());

    QTest::mouseClick(window->AttrArgPresets[7], Qt::LeftButton); // Smile2 = -3
    EXPECT_EQ(window->MaskEdit1->text(), "  -3");
    Ed().Doc.SetCell(kAttributeLayer, 3, 3, 0x0400);
    ClickCell(3, 3);
    EXPECT_EQ(Ed().Doc.Cell(kAttributeLayer, 3, 3), 0x0416);
    EXPECT_EQ(Ed().Doc.Cell(kArgumentLayer, 3, 3) & 0xFF, 253);

    QTest::mouseClick(window->AttrPresetButtons[3], Qt::LeftButton); // Switch
    for (QToolButton* preset : window->AttrArgPresets)
        EXPECT_FALSE(preset->isVisibleTo(window.get()));
    EXPECT_TRUE(window->AttrArgLabel->text().isEmpty());
    window->MaskEdit1->selectAll();
    QTest::keyClicks(window->MaskEdit1, "42");
    EXPECT_EQ(Ed().CurrentAttr->Arg, 42);
    QTest::mouseClick(window->AttrPresetButtons[19], Qt::LeftButton);
    EXPECT_EQ(window->MaskEdit1->text(), "  -3");
    QTest::mouseClick(window->AttrPresetButtons[3], Qt::LeftButton);
    EXPECT_EQ(window->MaskEdit1->text(), "  42");
    // Emptying the field makes the argument 0.
    window->MaskEdit1->selectAll();
    QTest::keyClick(window->MaskEdit1, Qt::Key_Backspace);
    EXPECT_EQ(Ed().CurrentAttr->Arg, 0);

    // A right click erases the bank's attribute and leaves the other, in the
    // shape of the selection's tiles.
    Ed().Tiles.SetId(1, 5);
    Ed().Selection = CellRect{1, 0, 1, 0};
    Ed().Doc.SetCell(kAttributeLayer, 4, 3, 0x1605);
    Ed().Doc.SetCell(kArgumentLayer, 4, 3, 0x0709);
    ClickCell(4, 3, Qt::RightButton);
    EXPECT_EQ(Ed().Doc.Cell(kAttributeLayer, 4, 3), 0x1600);
    EXPECT_EQ(Ed().Doc.Cell(kArgumentLayer, 4, 3), 0x0700);
}

} // namespace
} // namespace mapedit::ui::testing
