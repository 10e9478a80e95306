#include "fake_ui.h"
#include "formats/text.h"
#include "mapedit/core/editor.h"
#include "mapedit/core/errors.h"

#include <gtest/gtest.h>

using namespace mapedit;
using mapedit::testing::FakeUi;

TEST(Document, StartsEmptyAndClearsInPlace) {
    FakeUi ui;
    TEditor ed(ui);
    EXPECT_TRUE(ui.caption.empty()); // nothing reaches the window before Start
    ui.undoEnabled = ui.redoEnabled = true;
    ed.Start();
    EXPECT_EQ(ed.Doc.W(), 64);
    EXPECT_EQ(ed.Doc.H(), 64);
    for (const auto& plane : ed.Doc.Planes) {
        ASSERT_EQ(plane.size(), 4096u);
        EXPECT_TRUE(std::all_of(plane.begin(), plane.end(), [](uint16_t v) { return v == 0; }));
    }
    EXPECT_EQ(ui.caption, "Untitled");
    EXPECT_FALSE(ui.undoEnabled);
    EXPECT_FALSE(ui.redoEnabled);
    EXPECT_EQ(ed.CurrentLayer, 0);
    EXPECT_EQ(ed.AttrBank, 1);
    EXPECT_EQ(ed.CurrentAttr, &ed.Attrs.BlankAttr);
    EXPECT_EQ(ed.Doc.LayerFlags, 0x2F);
    EXPECT_TRUE(ed.CellSurface.ShadeMode);

    ed.ResizePlanes(100, 20);
    for (int layer = 0; layer < kLayerCount; ++layer)
        ed.Doc.SetCell(layer, 99, 19, 5);
    ed.Doc.Modified = true;
    ed.SetDocName("/somewhere/else.map");
    ed.ClearDocument();
    EXPECT_EQ(ed.Doc.W(), 100);
    EXPECT_EQ(ed.Doc.H(), 20);
    EXPECT_EQ(ed.Doc.Cell(5, 99, 19), 0);
    EXPECT_TRUE(ed.Doc.Modified);
    EXPECT_EQ(ed.Doc.DocName, "Untitled");
}

TEST(Document, ResizeKeepsColumnsAndRowsAndRefusesBadSizes) {
    TMapDocument doc;
    doc.SetCell(0, 5, 3, 7);
    doc.SetCell(4, 63, 63, 8);
    doc.ResizePlanes(100, 20);
    EXPECT_EQ(doc.Planes[0][3 * 100 + 5], 7);
    for (int y = 0; y < 20; ++y)
        for (int x = 64; x < 100; ++x)
            ASSERT_EQ(doc.Cell(0, x, y), 0);
    doc.ResizePlanes(64, 64);
    EXPECT_EQ(doc.Cell(0, 5, 3), 7);
    EXPECT_EQ(doc.Cell(4, 63, 63), 0); // rows 20 to 63 are gone

    try {
        doc.ResizePlanes(16777217, 1);
        FAIL();
    } catch (const EMapSize& e) {
        EXPECT_NE(std::string(e.what()).find("16777216"), std::string::npos);
    }
    EXPECT_THROW(doc.ResizePlanes(-1, 10), EMapSize);
    EXPECT_THROW(doc.ResizePlanes(65535, 65535), EMapSize);
    // Sides the map file cannot record are refused, whatever the cell count.
    for (auto [w, h] : {std::pair{70000, 10}, std::pair{10, 65536}, std::pair{65536, 0}}) {
        try {
            doc.ResizePlanes(w, h);
            ADD_FAILURE() << w << " x " << h;
        } catch (const EMapSize& e) {
            EXPECT_NE(std::string(e.what()).find("at most 65535 cells wide"), std::string::npos);
        }
    }
    EXPECT_THROW(TMapDocument().SetEmptyMap(0, 70000), EMapSize);
    EXPECT_EQ(doc.W(), 64);
    EXPECT_EQ(doc.Cell(0, 5, 3), 7);
    doc.ResizePlanes(0, 64);
    EXPECT_FALSE(doc.InMap(0, 0));
    doc.ResizePlanes(65535, 10);
    EXPECT_EQ(doc.W(), 65535);
}

TEST(Document, NamesAreShownRelativeToTheProgram) {
    FakeUi ui;
    TEditor ed(ui);
    const std::string inside = formats::ProgramDir() + "/MAPS/LEVEL1.MAP";
    ed.SetDocName(inside);
    EXPECT_EQ(ed.Doc.DocName, "MAPS/LEVEL1.MAP");
    EXPECT_EQ(ui.caption, "MAPS/LEVEL1.MAP");
    EXPECT_EQ(ed.Doc.DocPath, inside); // saving goes where the user chose
    ed.SetDocName("/elsewhere/level.map");
    EXPECT_EQ(ui.caption, "/elsewhere/level.map");
}
