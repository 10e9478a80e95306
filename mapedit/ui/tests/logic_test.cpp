// The window's Qt-free pieces: control placement, whole-cell fitting, the Map
// Settings size rule, the handle buttons, file dialog filters and names, the
// argument field's mask, the palette markers and the palette's block copy.
#include "mapedit/ui/dialogrules.h"
#include "mapedit/ui/filedialogs.h"
#include "mapedit/ui/maskfield.h"
#include "mapedit/ui/paletteedit.h"
#include "mapedit/ui/palettemarks.h"
#include "mapedit/ui/windowgeometry.h"

#include <gtest/gtest.h>
#include <limits>

namespace mapedit::ui {
namespace {

TEST(WindowGeometry, FormResizeFollowsTheClientSize) {
    const WindowLayout l = FormResizeLayout(1000, 700);
    EXPECT_EQ(l.PaletteGrid.left, 1000 - 193);
    EXPECT_EQ(l.PaletteGrid.height, 700 - 44);
    EXPECT_EQ(l.PaletteMarkers[0].left, 1000 - 191);
    EXPECT_EQ(l.PaletteMarkers[4].left, 1000 - 127);
    EXPECT_EQ(l.SetMark.left, 1000 - 50);
    EXPECT_EQ(l.MapArea, (Box{0, 0, 1000 - 216, 700 - 227}));
    EXPECT_EQ(l.AtributePresets.top, 700 - 140);
    EXPECT_EQ(l.GroupBox2.top, 700 - 140);
    EXPECT_EQ(l.DisplaySettings.top, 700 - 204);
    EXPECT_EQ(l.ZoomIn.top, 700 - 198);
    EXPECT_EQ(l.ZoomOut.top, 700 - 174);
    for (const Box& panel : l.StatusPanels)
        EXPECT_EQ(panel.top, 700 - 20);
    EXPECT_EQ(l.StatusPanels[3].width, 1000 - 409);

    // Below 754 pixels the palette stops above the bottom controls.
    EXPECT_EQ(FormResizeLayout(753, 700).PaletteGrid.height, 700 - 248);
    EXPECT_EQ(FormResizeLayout(754, 700).PaletteGrid.height, 700 - 44);
    // The bottom controls end left of the palette when it runs full height.
    const WindowLayout narrow = FormResizeLayout(754, 700);
    for (const Box& b : {narrow.DisplaySettings, narrow.AtributePresets, narrow.GroupBox2})
        EXPECT_LE(b.left + b.width, narrow.PaletteGrid.left);
    // A tiny window gives no negative sizes.
    const WindowLayout tiny = FormResizeLayout(100, 100);
    EXPECT_EQ(tiny.MapArea.width, 0);
    EXPECT_EQ(tiny.PaletteGrid.height, 0);
}

TEST(WindowGeometry, FitGridTrimsThePartlyVisibleRowAndColumn) {
    GridMetrics g{64, 64, 32, 0, 0, 2, 16};
    // Inner 996 x 696, both bars: 980 x 680 of view, 30 columns + 20 px and 21 rows + 8 px.
    GridFit fit = FitGrid(1000, 700, g);
    EXPECT_EQ(fit, (GridFit{980, 692, true, true}));
    EXPECT_EQ((fit.width - 4 - 16) % 32, 0);
    EXPECT_EQ((fit.height - 4 - 16) % 32, 0);

    // Every zoom gives whole cells.
    g.columns = g.rows = 300;
    for (int cell : {8, 16, 32, 64}) {
        g.cellSize = cell;
        fit = FitGrid(1001, 777, g);
        EXPECT_EQ((fit.width - 4 - 16) % cell, 0) << cell;
        EXPECT_EQ((fit.height - 4 - 16) % cell, 0) << cell;
    }

    // A grid smaller than the room needs neither bars nor trimming.
    EXPECT_EQ(FitGrid(1000, 700, GridMetrics{10, 5, 32, 0, 0, 2, 16}),
              (GridFit{1000, 700, false, false}));

    // Scrolled to the last columns, no column follows the visible ones.
    EXPECT_EQ(FitGrid(1000, 700, GridMetrics{40, 64, 32, 10, 0, 2, 16}).width, 1000);

    // The vertical bar alone takes the room the columns needed: both bars show.
    const GridFit both = FitGrid(4 + 320, 4 + 100, GridMetrics{10, 20, 32, 0, 0, 2, 16});
    EXPECT_TRUE(both.verticalBar);
    EXPECT_TRUE(both.horizontalBar);
}

TEST(DialogRules, TheFieldBeingEnteredGivesWay) {
    EXPECT_EQ(WidthOnEnter(200, 200), 163);
    EXPECT_EQ(HeightOnEnter(200, 200), 163);
    EXPECT_EQ(WidthOnEnter(255, 128), 255); // 65280 bytes
    EXPECT_EQ(HeightOnEnter(255, 128), 128);
    EXPECT_EQ(HeightOnEnter(256, 128), 127); // 65536 bytes
    EXPECT_EQ(WidthOnEnter(256, 128), 255);
    // 0 in the other field cannot trigger the rule; negative sizes divide safely.
    EXPECT_EQ(WidthOnEnter(100000, 0), 100000);
    EXPECT_EQ(WidthOnEnter(-200, -200), -163);
    const int32_t big = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(WidthOnEnter(big, big), 0);
    EXPECT_EQ(WidthOnEnter(std::numeric_limits<int32_t>::min(), -1), -32750);
}

TEST(DialogRules, HandleButtonsGiveTheirPosition) {
    EXPECT_EQ(HandleFromTag(1), (HandlePosition{0, 0}));
    EXPECT_EQ(HandleFromTag(5), (HandlePosition{1, 1}));
    EXPECT_EQ(HandleFromTag(9), (HandlePosition{2, 2}));
    EXPECT_EQ(HandleFromTag(4), (HandlePosition{0, 1}));
    EXPECT_EQ(HandleFromTag(3), (HandlePosition{2, 0}));
    EXPECT_EQ(HandleFromTag(8), (HandlePosition{1, 2}));
    EXPECT_EQ(HandleFromTag(0), (HandlePosition{1, 1}));
}

TEST(FileDialogs, FiltersPatternsAndNames) {
    const std::vector<FilterEntry> map = ParseFilter(DialogSpec(FileDialogKind::OpenMap).filter);
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(map[0], (FilterEntry{"Map files (*.Map)", {"*.map"}}));
    EXPECT_EQ(map[1], (FilterEntry{"All files (*.*)", {"*.*"}}));
    EXPECT_EQ(ParseFilter("Pictures|*.lbm;*.bbm"),
              (std::vector<FilterEntry>{{"Pictures", {"*.lbm", "*.bbm"}}}));
    EXPECT_TRUE(ParseFilter("Lonely description").empty());
    EXPECT_EQ(ParseFilter("A|").size(), 1u);

    EXPECT_EQ(CaseFreePattern("*.map"), "*.[mM][aA][pP]");
    EXPECT_EQ(CaseFreePattern("*.*"), "*");
    EXPECT_EQ(CaseFreePattern("a?1"), "[aA]?1");

    EXPECT_STREQ(DialogSpec(FileDialogKind::SaveMap).filter,
                 "Map files (*.map)|*.map|Any files (*.*)|*.*");
    EXPECT_TRUE(DialogSpec(FileDialogKind::SaveMap).save);
    EXPECT_STREQ(DialogSpec(FileDialogKind::SaveMap).defaultExt, "");
    EXPECT_STREQ(DialogSpec(FileDialogKind::OpenTileSet).defaultExt, "til");
    EXPECT_TRUE(DialogSpec(FileDialogKind::OpenTileSet).mustExist);
    EXPECT_STREQ(DialogSpec(FileDialogKind::OpenPalette).filter,
                 "Tile palette files (*.TPL)|*.tpl|All files (*.*)|*.*");
    EXPECT_TRUE(DialogSpec(FileDialogKind::SavePalette).save);

    EXPECT_FALSE(FileNameTooLong(std::string(255, 'a')));
    EXPECT_TRUE(FileNameTooLong(std::string(256, 'a')));
    EXPECT_NE(FileNameTooLongMessage(std::string(300, 'a')).find("255"), std::string::npos);
}

TEST(MaskField, RightAlignedInFourPositions) {
    EXPECT_EQ(MaskText(0), "   0");
    EXPECT_EQ(MaskText(42), "  42");
    EXPECT_EQ(MaskText(-3), "  -3");
    EXPECT_EQ(MaskText(-999), "-999");
    EXPECT_EQ(MaskText(9999), "9999");

    EXPECT_EQ(NormalizeMaskInput("  42"), "  42");
    EXPECT_EQ(NormalizeMaskInput("   04"), "  04"); // a digit typed after "   0"
    EXPECT_EQ(NormalizeMaskInput("4 2"), "  42");
    EXPECT_EQ(NormalizeMaskInput("-5"), "  -5");
    EXPECT_EQ(NormalizeMaskInput("+12"), " +12");
    EXPECT_EQ(NormalizeMaskInput(""), "    ");
    EXPECT_EQ(NormalizeMaskInput("5-"), std::nullopt);
    EXPECT_EQ(NormalizeMaskInput("--1"), std::nullopt);
    EXPECT_EQ(NormalizeMaskInput("12345"), std::nullopt);
    EXPECT_EQ(NormalizeMaskInput("-1000"), std::nullopt);
    EXPECT_EQ(NormalizeMaskInput("1a"), std::nullopt);
}

TEST(PaletteMarks, MarkersStoreAndRecallRows) {
    TPaletteMarks marks;
    EXPECT_EQ(marks.Caption(), "Set Mark");
    EXPECT_EQ(marks.MarkerClick(2, 17), 0); // not set yet: back to row 0

    EXPECT_EQ(marks.SetMarkClick(), "Cancel");
    EXPECT_TRUE(marks.MarkMode());
    EXPECT_EQ(marks.MarkerClick(2, 40), std::nullopt); // stores, does not scroll
    EXPECT_FALSE(marks.MarkMode());
    EXPECT_EQ(marks.Caption(), "Set Mark");
    EXPECT_EQ(marks.Tag(2), 40);
    EXPECT_EQ(marks.MarkerClick(2, 0), 40);

    // "Set Mark" twice stores nothing.
    marks.SetMarkClick();
    EXPECT_EQ(marks.SetMarkClick(), "Set Mark");
    EXPECT_EQ(marks.MarkerClick(0, 55), 0);
    EXPECT_EQ(marks.Tag(0), 0);
    EXPECT_EQ(marks.MarkerClick(7, 3), std::nullopt);
}

// A tile whose every pixel is `colour`.
TDIB SolidTile(uint8_t colour) {
    TDIB tile(kTileSize, kTileSize);
    for (int y = 0; y < kTileSize; ++y)
        for (int x = 0; x < kTileSize; ++x)
            tile.SetPixel(x, y, colour);
    return tile;
}

TEST(PaletteEdit, RightTileAndBlockCopies) {
    QuietUi ui;
    TEditor ed(ui);
    for (int slot = 1; slot < 30; ++slot)
        ed.Tiles.SetTile(SolidTile(uint8_t(16 + slot)), slot, 100 + slot);

    EXPECT_TRUE(SetRightTile(ed, CellPos{0, 0}).empty()); // already there
    EXPECT_EQ(SetRightTile(ed, CellPos{3, 2}), (std::vector<CellPos>{{0, 0}, {3, 2}}));
    EXPECT_EQ(ed.RightTile, (CellPos{3, 2}));
    EXPECT_TRUE(SetRightTile(ed, CellPos{10, 2}).empty()); // off the grid

    // Columns 7 to 9 of rows 0 and 1 onto column 8 of row 5: the third column
    // falls beyond the right edge.
    const std::vector<CellPos> copied = CopyBlock(ed.Tiles, CellRect{7, 0, 9, 1}, CellPos{8, 5});
    EXPECT_EQ(copied, (std::vector<CellPos>{{8, 5}, {9, 5}, {8, 6}, {9, 6}}));
    EXPECT_EQ(ed.Tiles.Id(58), 107);
    EXPECT_EQ(ed.Tiles.Id(59), 108);
    EXPECT_EQ(ed.Tiles.Id(68), 117);
    EXPECT_EQ(ed.Tiles.Id(69), 118);
    EXPECT_EQ(ed.Tiles.Strip().Pixel(5, 32 * 58 + 5), 16 + 7);
    EXPECT_EQ(ed.Tiles.Strip().Pixel(5, 32 * 69 + 5), 16 + 18);

    // The only slot holding tile 103 is not overwritten.
    CopyBlock(ed.Tiles, CellRect{1, 0, 1, 0}, CellPos{3, 0});
    EXPECT_EQ(ed.Tiles.Id(3), 103);
    // An overlapping copy reads what it has already written.
    ed.Tiles.CopySlot(16, 40); // a second 116, so slot 16 may be overwritten
    CopyBlock(ed.Tiles, CellRect{5, 1, 6, 1}, CellPos{6, 1});
    EXPECT_EQ(ed.Tiles.Id(16), 115);
    EXPECT_EQ(ed.Tiles.Id(17), 115);
}

} // namespace
} // namespace mapedit::ui
