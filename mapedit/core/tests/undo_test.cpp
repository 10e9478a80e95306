#include "fake_ui.h"
#include "mapedit/core/editor.h"

#include <gtest/gtest.h>

using namespace mapedit;
using mapedit::testing::FakeUi;

namespace {

struct UndoFixture : ::testing::Test {
    FakeUi ui;
    TEditor ed{ui};
    UndoFixture() { ed.Selection = {0, 0, 0, 0}; }

    // One press painting tile `id` at (x, y) on the current layer.
    void Press(int x, int y, int32_t id) {
        ed.Tiles.SetId(0, id);
        ed.MapMouseDown(MouseButton::Left, {x, y});
    }
    uint16_t At(int layer, int x, int y) const { return ed.Doc.Cell(layer, x, y); }
};

} // namespace

TEST_F(UndoFixture, FiftyOnePressesAndFiftyUndos) {
    for (int k = 1; k <= 51; ++k)
        Press(k % 8, k / 8, k);
    EXPECT_EQ(ed.History.Count(), 50u);
    for (int k = 0; k < 50; ++k)
        ed.Undo1Click();
    EXPECT_FALSE(ui.undoEnabled);
    EXPECT_TRUE(ui.redoEnabled);
    for (int k = 2; k <= 51; ++k)
        EXPECT_EQ(At(0, k % 8, k / 8), 0) << k;
    EXPECT_EQ(At(0, 1, 0), 1); // the first press can no longer be undone
    ed.Undo1Click();
    EXPECT_EQ(At(0, 1, 0), 1);

    for (int k = 0; k < 50; ++k)
        ed.Redo1Click();
    for (int k = 1; k <= 51; ++k)
        EXPECT_EQ(At(0, k % 8, k / 8), k) << k;
    EXPECT_TRUE(ui.undoEnabled);
    EXPECT_FALSE(ui.redoEnabled);
    ed.Redo1Click(); // nothing left to redo
    EXPECT_EQ(ed.History.UndoIndex(), 49);
}

TEST_F(UndoFixture, ANewPressDropsTheUndoneSteps) {
    ed.Undo1Click(); // empty history: nothing happens
    ed.Redo1Click();
    EXPECT_EQ(ed.History.UndoIndex(), -1);

    Press(0, 0, 1);
    Press(0, 0, 2);
    ed.Undo1Click();
    EXPECT_TRUE(ui.redoEnabled);
    Press(1, 0, 3);
    EXPECT_FALSE(ui.redoEnabled);
    EXPECT_EQ(ed.History.Count(), 2u);
    ed.Redo1Click();
    EXPECT_EQ(At(0, 0, 0), 1);
    ed.Undo1Click();
    ed.Undo1Click();
    EXPECT_EQ(At(0, 0, 0), 0);
    EXPECT_EQ(At(0, 1, 0), 0);

    // Undo everything, then press: the whole history goes.
    Press(2, 0, 4);
    EXPECT_EQ(ed.History.Count(), 1u);

    // Keys: "u" undoes and "R" redoes; others are left alone.
    EXPECT_TRUE(ed.FormKeyPress('u'));
    EXPECT_EQ(At(0, 2, 0), 0);
    EXPECT_TRUE(ed.FormKeyPress('R'));
    EXPECT_EQ(At(0, 2, 0), 4);
    EXPECT_TRUE(ed.FormKeyPress('<'));
    EXPECT_TRUE(ed.FormKeyPress('>'));
    EXPECT_FALSE(ed.FormKeyPress('x'));
    EXPECT_EQ(At(0, 2, 0), 4);

    // Clearing the document empties the history.
    ed.ClearDocument();
    EXPECT_EQ(ed.History.Count(), 0u);
    EXPECT_FALSE(ui.undoEnabled);
    EXPECT_FALSE(ui.redoEnabled);
}

TEST_F(UndoFixture, StepsCoverOnlyTheMapAndBothAttributePlanes) {
    // A 3 x 3 stamp with its handle at the top left on the last column.
    ed.Selection = {0, 0, 2, 2};
    ed.HandleX = 0, ed.HandleY = 0;
    ed.MapMouseDown(MouseButton::Middle, {63, 10});
    EXPECT_EQ(ed.History.Step(0).Area(), (CellRect{63, 10, 63, 12}));
    ed.MapMouseDown(MouseButton::Middle, {63, 63});
    EXPECT_EQ(ed.History.Step(1).Area(), (CellRect{63, 63, 63, 63}));

    // Layer 5: "Wall" 4 over "Floor" 9, undo, redo.
    ed.Selection = {0, 0, 0, 0};
    ed.Tiles.SetId(0, 1);
    ed.Doc.SetCell(kAttributeLayer, 2, 2, 0x1601); // A: Floor, B: Damage Zone
    ed.Doc.SetCell(kArgumentLayer, 2, 2, 0x0509);
    ed.AttrPresetClick(5);
    ed.MaskEdit1Change("4");
    ed.MapMouseDown(MouseButton::Left, {2, 2});
    EXPECT_EQ(At(kAttributeLayer, 2, 2), 0x1614);
    EXPECT_EQ(At(kArgumentLayer, 2, 2), 0x0504);
    ed.CurrentLayer = 0; // undo follows the step's layer, not the current one
    ed.Undo1Click();
    EXPECT_EQ(At(kAttributeLayer, 2, 2), 0x1601);
    EXPECT_EQ(At(kArgumentLayer, 2, 2), 0x0509);
    ed.Redo1Click();
    EXPECT_EQ(At(kAttributeLayer, 2, 2), 0x1614);
    EXPECT_EQ(At(kArgumentLayer, 2, 2), 0x0504);

    // An area outside the map, or on no layer, covers no cell.
    EXPECT_TRUE(TUndo(CellRect{70, 0, 72, 2}, 0, ed.Doc).Empty());
    EXPECT_TRUE(TUndo(CellRect{-5, -5, -1, -1}, 0, ed.Doc).Empty());
    EXPECT_TRUE(TUndo(CellRect{0, 0, 1, 1}, 6, ed.Doc).Empty());
    EXPECT_EQ(TUndo(CellRect{-2, 62, 1, 70}, 0, ed.Doc).Area(), (CellRect{0, 62, 1, 63}));
}

TEST_F(UndoFixture, UndoAfterTheMapShrankSkipsCellsOutsideIt) {
    // A 3 x 1 stamp over columns 38 to 40 of a 64-wide map.
    for (int c = 0; c < 3; ++c)
        ed.Tiles.SetId(c, 7);
    ed.Selection = {0, 0, 2, 0};
    ed.HandleX = 0, ed.HandleY = 0;
    ed.Doc.SetCell(0, 39, 5, 1);
    ed.Doc.SetCell(0, 40, 5, 2);
    ed.MapMouseDown(MouseButton::Left, {38, 5});
    ed.ResizePlanes(40, 64);
    EXPECT_EQ(ui.sizes.back(), (std::pair<int32_t, int32_t>{40, 64}));
    ASSERT_EQ(ed.Doc.Planes[0].size(), 40u * 64u);

    ui.redrawn.clear();
    ed.Undo1Click();
    EXPECT_EQ(At(0, 38, 5), 0);
    EXPECT_EQ(At(0, 39, 5), 1);
    EXPECT_EQ(ui.redrawn, (std::vector<CellPos>{{38, 5}, {39, 5}}));

    // Grown back, column 40 is new; redo leaves it alone since undo never reached it.
    ed.ResizePlanes(64, 64);
    ed.Doc.SetCell(0, 40, 5, 9);
    ed.Redo1Click();
    EXPECT_EQ(At(0, 38, 5), 7);
    EXPECT_EQ(At(0, 39, 5), 7);
    EXPECT_EQ(At(0, 40, 5), 9);

    // Shrunk below the whole step: undo and redo touch nothing.
    ed.ResizePlanes(10, 3);
    ed.Undo1Click();
    ed.Redo1Click();
    EXPECT_EQ(ed.Doc.Planes[0].size(), 30u);
}
