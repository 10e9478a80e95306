#include "fake_ui.h"
#include "mapedit/core/editor.h"

#include <gtest/gtest.h>

using namespace mapedit;
using mapedit::testing::FakeUi;

namespace {

struct EditorFixture : ::testing::Test {
    FakeUi ui;
    TEditor ed{ui};

    // Palette cell (column, row) holds tile `id`.
    void Palette(int column, int row, int32_t id) { ed.Tiles.SetId(row * 10 + column, id); }
    void Select(int left, int top, int right, int bottom) {
        ed.Selection = {left, top, right, bottom};
    }
    uint16_t At(int layer, int x, int y) const { return ed.Doc.Cell(layer, x, y); }
    void Click(int x, int y, MouseButton b = MouseButton::Left) { ed.MapMouseDown(b, {x, y}); }
};

} // namespace

TEST_F(EditorFixture, StampRectForEveryHandle) {
    Select(2, 5, 4, 7); // 3 x 3
    for (int hx = 0; hx < 3; ++hx)
        for (int hy = 0; hy < 3; ++hy) {
            ed.HandleX = uint8_t(hx), ed.HandleY = uint8_t(hy);
            EXPECT_EQ(ed.StampRect({10, 20}), (CellRect{10 - hx, 20 - hy, 12 - hx, 22 - hy}))
                << hx << " " << hy;
        }
    // Even sizes: the centre handle takes (size - 1) div 2 before the cell.
    Select(0, 0, 3, 1); // 4 x 2
    ed.HandleX = 1, ed.HandleY = 1;
    EXPECT_EQ(ed.StampRect({10, 20}), (CellRect{9, 20, 12, 21}));
    ed.HandleX = 2, ed.HandleY = 2;
    EXPECT_EQ(ed.StampRect({0, 0}), (CellRect{-3, -1, 0, 0}));
    // A point over no cell gives no stamp; a reversed selection is put in order.
    EXPECT_TRUE(ed.StampRect({-1, -1}).IsNone());
    Select(3, 1, 0, 0);
    ed.HandleX = 0, ed.HandleY = 0;
    EXPECT_EQ(ed.StampRect({5, 5}), (CellRect{5, 5, 8, 6}));
}

TEST_F(EditorFixture, LeftPressesPaintTheStampWithHoles) {
    Palette(0, 0, 7);
    Select(0, 0, 0, 0);
    Click(3, 4);
    EXPECT_EQ(At(0, 3, 4), 7);
    EXPECT_TRUE(ed.Doc.Modified);
    ASSERT_FALSE(ui.redrawn.empty());
    EXPECT_EQ(ui.redrawn.back(), (CellPos{3, 4}));
    ASSERT_EQ(ed.History.Count(), 1u);
    EXPECT_EQ(ed.History.Step(0).Area(), (CellRect{3, 4, 3, 4}));

    // A hidden layer is not painted, but the press is still recorded.
    ed.Show.DrawBackGround = false;
    ed.Doc.Modified = false;
    Click(5, 5);
    EXPECT_EQ(At(0, 5, 5), 0);
    EXPECT_FALSE(ed.Doc.Modified);
    EXPECT_EQ(ed.History.Count(), 2u);
    ed.Show.DrawBackGround = true;

    // A 3 x 2 stamp whose middle top cell is empty leaves a hole.
    for (int x = 0; x < 3; ++x)
        ed.Doc.SetCell(0, x, 0, 99);
    Palette(0, 0, 1), Palette(1, 0, 0), Palette(2, 0, 3);
    Palette(0, 1, 4), Palette(1, 1, 5), Palette(2, 1, 6);
    Select(0, 0, 2, 1);
    ed.HandleX = 0, ed.HandleY = 0;
    Click(0, 0);
    EXPECT_EQ(At(0, 0, 0), 1);
    EXPECT_EQ(At(0, 1, 0), 99);
    EXPECT_EQ(At(0, 2, 0), 3);
    EXPECT_EQ(At(0, 1, 1), 5);
    EXPECT_EQ(At(0, 2, 1), 6);

    // A single empty palette cell erases.
    Select(1, 0, 1, 0);
    Click(2, 1);
    EXPECT_EQ(At(0, 2, 1), 0);

    // Handle bottom right, 3 x 3 stamp at (1, 1): only the cells inside the map change.
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            Palette(c, r + 5, 50 + c + 3 * r);
    Select(0, 5, 2, 7);
    ed.HandleX = 2, ed.HandleY = 2;
    ed.CurrentLayer = 2;
    ui.redrawn.clear();
    Click(1, 1);
    EXPECT_EQ(At(2, 0, 0), 54);
    EXPECT_EQ(At(2, 1, 1), 58);
    EXPECT_EQ(At(2, 2, 2), 0);
    EXPECT_EQ(ui.redrawn.size(), 4u);
    EXPECT_EQ(ed.History.Step(ed.History.Count() - 1).Area(), (CellRect{0, 0, 1, 1}));
}

TEST_F(EditorFixture, RightAndMiddlePresses) {
    Palette(0, 0, 7), Palette(1, 0, 0), Palette(2, 0, 8);
    Palette(5, 9, 33);
    Select(0, 0, 2, 0);
    ed.HandleX = 0, ed.HandleY = 0;
    ed.CurrentLayer = 1;
    ed.RightTile = {5, 9}; // column 5, row 9
    for (int x = 0; x < 3; ++x)
        ed.Doc.SetCell(1, x, 0, 11);
    Click(0, 0, MouseButton::Right);
    EXPECT_EQ(At(1, 0, 0), 33);
    EXPECT_EQ(At(1, 1, 0), 11); // the right tile takes the shape of the non-empty cells
    EXPECT_EQ(At(1, 2, 0), 33);

    ed.RightTile = {9, 99}; // an empty palette cell paints 0
    Click(0, 0, MouseButton::Right);
    EXPECT_EQ(At(1, 0, 0), 0);

    ed.Doc.SetCell(1, 2, 0, 12);
    const size_t steps = ed.History.Count();
    Click(0, 0, MouseButton::Middle);
    EXPECT_EQ(At(1, 2, 0), 12);
    EXPECT_EQ(ed.History.Count(), steps + 1);
}

TEST_F(EditorFixture, AttributeBanksAndArgumentBytes) {
    Palette(0, 0, 1);
    Select(0, 0, 0, 0);
    ed.AttrPresetClick(5); // "Wall"
    EXPECT_EQ(ed.CurrentLayer, kAttributeLayer);
    ASSERT_EQ(ui.pressedButtons.size(), 1u);
    EXPECT_EQ(ui.pressedButtons[0], LayerButton::AttributesButton);
    ed.MaskEdit1Change(" 300");
    ed.Doc.SetCell(kAttributeLayer, 4, 4, 0x1600);
    ed.Doc.SetCell(kArgumentLayer, 4, 4, 0x0300);
    Click(4, 4);
    EXPECT_EQ(At(kAttributeLayer, 4, 4), 0x1614);
    EXPECT_EQ(At(kArgumentLayer, 4, 4), 0x032C); // 300 keeps its low byte, 44

    // Bank B with -1: the high bytes change, attribute A stays.
    ed.LayerButtonClick(LayerButton::AttributesButton2);
    ed.AttrPresetClick(19); // "Damage Zone"
    ed.AttrArgPresetClick(-1);
    Click(4, 4);
    EXPECT_EQ(At(kAttributeLayer, 4, 4), 0x1614);
    EXPECT_EQ(At(kArgumentLayer, 4, 4), 0xFF2C);
    EXPECT_EQ(ui.pressedButtons.size(), 1u); // already on layer 5: no button pressed

    // Status panels name both attributes with their arguments.
    ed.MapMouseMove({4, 4});
    EXPECT_EQ(ui.status[StatusPanel::CoordsDisp], "4,4");
    EXPECT_EQ(ui.status[StatusPanel::TerrainDisp], "Wall: 44");
    EXPECT_EQ(ui.status[StatusPanel::EffectDisp], "Damage Zone: 255");
    ed.MapMouseMove({5, 4});
    EXPECT_EQ(ui.status[StatusPanel::TerrainDisp], "");

    // Right press on layer 5 erases this bank only.
    Click(4, 4, MouseButton::Right);
    EXPECT_EQ(At(kAttributeLayer, 4, 4), 0x0014);
    EXPECT_EQ(At(kArgumentLayer, 4, 4), 0x002C);

    // Bank B hidden: nothing is painted or erased.
    ed.Show.DrawEffect = false;
    Click(6, 6);
    EXPECT_EQ(At(kAttributeLayer, 6, 6), 0);
    EXPECT_FALSE(ed.LayerEditable(kArgumentLayer));
}

TEST_F(EditorFixture, AttributeToolsRememberArguments) {
    // Before any pick the blank attribute takes the argument: code 0 is painted.
    Palette(0, 0, 1);
    ed.LayerButtonClick(LayerButton::AttributesButton);
    ed.MaskEdit1Change("7");
    ed.Doc.SetCell(kAttributeLayer, 1, 1, 0x0505);
    Click(1, 1);
    EXPECT_EQ(At(kAttributeLayer, 1, 1), 0x0500);
    EXPECT_EQ(At(kArgumentLayer, 1, 1), 0x0007);

    ed.AttrPresetClick(19);
    const TAttrInfo& damage = *ed.CurrentAttr;
    EXPECT_EQ(damage.Name, "Damage Zone");
    EXPECT_EQ(damage.ArgText, "Amount of damage done");
    EXPECT_STREQ(damage.PresetGlyph[0], "Wince0");
    EXPECT_EQ(damage.PresetValue[9], -5);
    ed.AttrArgPresetClick(-3);
    EXPECT_EQ(ui.shownArguments.back(), -3);
    EXPECT_EQ(ed.ArgValue(), 253);

    ed.MaskEdit1Change("  42");
    ed.AttrPresetClick(3); // "Switch": no presets
    EXPECT_EQ(ed.CurrentAttr->PresetGlyph[0], nullptr);
    EXPECT_EQ(ed.CurrentAttr->ArgText, "");
    ed.AttrPresetClick(19);
    EXPECT_EQ(ed.CurrentAttr->Arg, 42);
    EXPECT_EQ(ui.shownAttributes.back(), "Damage Zone");

    ed.MaskEdit1Change("");
    EXPECT_EQ(ed.CurrentAttr->Arg, 0);
    ed.MaskEdit1Change("-");
    EXPECT_EQ(ed.CurrentAttr->Arg, 0);
    ed.MaskEdit1Change("-999");
    EXPECT_EQ(ed.CurrentAttr->Arg, -999);
    ed.AttrPresetClick(25); // no such button
    EXPECT_EQ(ed.CurrentAttr->Name, "Damage Zone");

    // The catalogue: codes 1 to 25, looked up by code.
    EXPECT_EQ(ed.Attrs.FindAttr(20)->Name, "Wall");
    EXPECT_EQ(ed.Attrs.FindAttr(0), nullptr);
    EXPECT_EQ(ed.Attrs.FindAttr(26), nullptr);
    EXPECT_EQ(AttrLabelA(ed.Attrs, 0x1602), "Door S");
    EXPECT_EQ(AttrLabelB(ed.Attrs, 0x1602), "Damage");
    EXPECT_EQ(AttrLabelA(ed.Attrs, 0), "");
    std::vector<int> codes;
    for (const TAttrInfo& a : ed.Attrs.AttrTable)
        codes.push_back(a.Code);
    std::sort(codes.begin(), codes.end());
    for (int i = 0; i < kAttrCount; ++i)
        EXPECT_EQ(codes[size_t(i)], i + 1);
}

TEST_F(EditorFixture, HoverOutlineAndPreview) {
    Palette(0, 0, 7), Palette(1, 0, 0);
    Select(0, 0, 1, 0);
    ed.HandleX = 0, ed.HandleY = 0;
    ed.MapMouseMove({2, 3});
    ASSERT_EQ(ui.outlines.size(), 1u);
    EXPECT_EQ(ui.outlines[0], (CellRect{2, 3, 3, 3}));
    EXPECT_EQ(ed.StatusCell, (CellPos{2, 3}));
    ui.redrawn.clear();
    ed.MapMouseMove({2, 3}); // same stamp: nothing happens
    EXPECT_TRUE(ui.redrawn.empty());
    ed.MapMouseMove({5, 5});
    EXPECT_EQ(ui.redrawn, (std::vector<CellPos>{{2, 3}, {3, 3}}));

    // "Slab Tiles": the tiles show while the cell is redrawn, then the map is as before.
    ed.SetSlabTiles(true);
    ed.Doc.SetCell(0, 6, 6, 2);
    std::vector<uint16_t> seen;
    ui.onRedraw = [&](int32_t x, int32_t y) { seen.push_back(ed.Doc.Cell(0, x, y)); };
    ui.redrawn.clear();
    ed.Doc.Modified = false;
    ed.MapMouseMove({6, 6});
    EXPECT_EQ(ui.redrawn, (std::vector<CellPos>{{6, 6}})); // the hole is not previewed
    EXPECT_EQ(seen, (std::vector<uint16_t>{7}));
    EXPECT_EQ(At(0, 6, 6), 2);
    EXPECT_FALSE(ed.Doc.Modified);
    ui.onRedraw = nullptr;

    // Leaving the view removes the outline and redraws every cell under it.
    ui.redrawn.clear();
    ed.UpdateStampOutline(CellRect::None());
    EXPECT_EQ(ui.redrawn, (std::vector<CellPos>{{6, 6}, {7, 6}}));
    EXPECT_TRUE(ed.StampOutline.IsNone());
    // Over no cell: no outline at the map's corner.
    const size_t outlines = ui.outlines.size();
    ed.MapMouseMove({-1, -1});
    EXPECT_EQ(ui.outlines.size(), outlines);
    ed.MapMouseDown(MouseButton::Left, {-1, -1});
    EXPECT_EQ(At(0, 0, 0), 0);
}

TEST_F(EditorFixture, ComposesCellsFromTheShownLayers) {
    auto tile = [&](int slot, int32_t id, uint8_t colour, bool corner) {
        TDIB t(32, 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (!corner || (x == 0 && y == 0)) t.SetPixel(x, y, colour);
        ed.Tiles.SetTile(t, slot, id);
    };
    tile(1, 10, 0x40, false); // background
    tile(2, 11, 0x50, true);  // collision
    tile(3, 12, 0x60, true);  // fore 1
    tile(4, 13, 9, true);     // fore 2: a shade, one level up
    ed.Doc.SetCell(0, 1, 1, 10);
    ed.Doc.SetCell(3, 1, 1, 11);
    ed.Doc.SetCell(1, 1, 1, 12);
    ed.Doc.SetCell(2, 1, 1, 13);

    ed.ComposeCell(1, 1);
    EXPECT_EQ(ed.CellSurface.Pixel(0, 0), 0x61); // collisions hidden; fore 1 shaded by fore 2
    EXPECT_EQ(ed.CellSurface.Pixel(5, 5), 0x40);
    ed.Show.DrawCollisions = true;
    ed.Show.DrawMiddleGround = false;
    ed.ComposeCell(1, 1);
    EXPECT_EQ(ed.CellSurface.Pixel(0, 0), 0x51);
    ed.SetShadeMode(false);
    ed.ComposeCell(1, 1);
    EXPECT_EQ(ed.CellSurface.Pixel(0, 0), 9);
    ed.Show.DrawBackGround = false;
    ed.ComposeCell(1, 1);
    EXPECT_EQ(ed.CellSurface.Pixel(5, 5), 0);
    ed.Show.DrawBackGround = true;
    ed.ComposeCell(200, 1); // outside the map: empty
    EXPECT_EQ(ed.CellSurface.Pixel(5, 5), 0);

    std::vector<uint32_t> pixels(64 * 64);
    RgbTarget target{pixels.data(), 64, 64, 64};
    ed.Colours.SetBackgroundColour(1, 2, 3);
    ed.SetShadeMode(true);
    ed.DrawCell(target, 1, 1, {0, 0, 64, 64});
    EXPECT_EQ(pixels[0], ed.Colours.Rgb32()[0x51]);
    EXPECT_EQ(pixels[63 * 64 + 63], ed.Colours.Rgb32()[0x40]);
    ed.DrawCell(target, 2, 2, {0, 0, 16, 16});
    EXPECT_EQ(pixels[0], 0xFF010203u);
}
