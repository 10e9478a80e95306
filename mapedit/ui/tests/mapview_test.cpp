// The map view driven with mouse events: painting stamps, the hover outline and
// its removal, the preview, status panels, zoom, scrolling and labels.
#include "fixture.h"

#include "mapedit/ui/colours.h"
#include "mapedit/ui/mapview.h"
#include "mapedit/ui/palettegrid.h"

#include <QAction>
#include <QCheckBox>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

namespace mapedit::ui::testing {
namespace {

// The first palette filled from 1 up that hold a tile.
std::vector<int> FilledSlots(const TEditor& ed, size_t count) {
    std::vector<int> filled;
    for (int slot = 1; slot < 1000 && filled.size() < count; ++slot)
        if (ed.Tiles.Id(slot) != 0) filled.push_back(slot);
    return filled;
}

// What the view should show at pixel (px, py) of a cell drawn at `cell` size.
QRgb Composed(TEditor& ed, int x, int y, int px, int py) {
    ed.ComposeCell(x, y);
    return ed.Colours.Rgb32()[ed.CellSurface.Pixel(px * kTileSize / 32, py * kTileSize / 32)];
}

class MapViewTest : public WindowTest {
protected:
    void ClickPalette(int slot, Qt::MouseButton button = Qt::LeftButton) {
        window->PaletteGrid->SetTopRow(slot / 10 > 5 ? slot / 10 - 5 : 0);
        QTest::mouseClick(window->PaletteGrid->viewport(), button, Qt::NoModifier,
                          PaletteCentre(slot % 10, slot / 10));
    }
    // Keeps the mouse where the test put it, for Timer1.
    void CursorAt(QPoint viewportPoint) {
        const QPoint global = window->DrawGrid1->viewport()->mapToGlobal(viewportPoint);
        window->CursorPos = [global] { return global; };
    }
    void HoverAndHold(int x, int y) {
        CursorAt(CellCentre(x, y));
        HoverCell(x, y);
    }
};

TEST_F(MapViewTest, PressesPaintTheStampOnTheCurrentLayer) {
    OpenDemo();
    const std::vector<int> filled = FilledSlots(Ed(), 2);
    ASSERT_EQ(filled.size(), 2u);
    const uint16_t tile = uint16_t(Ed().Tiles.Id(filled[0]));
    const uint16_t rightTile = uint16_t(Ed().Tiles.Id(filled[1]));
    window->DrawGrid1->SetTopLeft(0, 0);

    ClickPalette(filled[0]);
    EXPECT_EQ(Ed().Selection,
              (CellRect{filled[0] % 10, filled[0] / 10, filled[0] % 10, filled[0] / 10}));
    Ed().Doc.SetCell(0, 3, 4, 0);
    ClickCell(3, 4);
    EXPECT_EQ(Ed().Doc.Cell(0, 3, 4), tile);
    EXPECT_TRUE(Ed().Doc.Modified);
    ASSERT_EQ(Ed().History.Count(), 1u);
    EXPECT_EQ(Ed().History.Step(0).Area(), (CellRect{3, 4, 3, 4}));
    EXPECT_TRUE(window->Action("Undo1")->isEnabled());
    // The cell was redrawn at once.
    const QRect r = window->DrawGrid1->CellRect(3, 4);
    EXPECT_EQ(ViewPixel(r.left() + 16, r.top() + 16), Composed(Ed(), 3, 4, 16, 16));

    // The right button paints the right-button tile in the stamp's shape.
    ClickPalette(filled[1], Qt::RightButton);
    EXPECT_EQ(Ed().RightTile, (CellPos{filled[1] % 10, filled[1] / 10}));
    ClickCell(5, 4, Qt::RightButton);
    EXPECT_EQ(Ed().Doc.Cell(0, 5, 4), rightTile);

    // The middle button records a step and paints nothing.
    const uint16_t before = Ed().Doc.Cell(0, 6, 4);
    ClickCell(6, 4, Qt::MiddleButton);
    EXPECT_EQ(Ed().Doc.Cell(0, 6, 4), before);
    EXPECT_EQ(Ed().History.Count(), 3u);

    // A hidden layer is not painted, but the press is still a step.
    QTest::mouseClick(window->ShowBoxes[0], Qt::LeftButton);
    EXPECT_FALSE(Ed().Show.DrawBackGround);
    Ed().Doc.SetCell(0, 7, 4, 0);
    ClickCell(7, 4);
    EXPECT_EQ(Ed().Doc.Cell(0, 7, 4), 0);
    EXPECT_EQ(Ed().History.Count(), 4u);

    // Layer buttons choose the layer the mouse paints.
    QTest::mouseClick(window->LayerButtons[size_t(LayerButton::ForeGroundButton)], Qt::LeftButton);
    EXPECT_EQ(Ed().CurrentLayer, 2);
    Ed().Doc.SetCell(2, 8, 4, 0);
    ClickCell(8, 4);
    EXPECT_EQ(Ed().Doc.Cell(2, 8, 4), tile);
    QTest::mouseClick(window->LayerButtons[size_t(LayerButton::AttributesButton2)], Qt::LeftButton);
    EXPECT_EQ(Ed().CurrentLayer, kAttributeLayer);
    EXPECT_EQ(Ed().AttrBank, 2);
}

TEST_F(MapViewTest, HoverShowsStatusAndTheOutlineUntilTheMouseLeaves) {
    OpenDemo();
    // A cell with attribute A.
    CellPos attributed;
    for (int y = 0; y < Ed().Doc.H() && attributed.IsNone(); ++y)
        for (int x = 0; x < Ed().Doc.W() && attributed.IsNone(); ++x)
            if (Ed().Attrs.FindAttr(uint8_t(Ed().Doc.Cell(kAttributeLayer, x, y) & 0xFF)))
                attributed = {x, y};
    ASSERT_FALSE(attributed.IsNone());
    window->DrawGrid1->SetTopLeft(std::max(0, attributed.column - 4),
                                  std::max(0, attributed.row - 4));
    // The panels change when the mouse reaches another cell.
    HoverAndHold(attributed.column + 1, attributed.row + 1);
    HoverAndHold(attributed.column, attributed.row);
    const uint16_t a = Ed().Doc.Cell(kAttributeLayer, attributed.column, attributed.row);
    const uint16_t g = Ed().Doc.Cell(kArgumentLayer, attributed.column, attributed.row);
    EXPECT_EQ(Status(StatusPanel::CoordsDisp),
              QString("%1,%2").arg(attributed.column).arg(attributed.row));
    EXPECT_EQ(Status(StatusPanel::TerrainDisp),
              QString::fromStdString(Ed().Attrs.FindAttr(uint8_t(a & 0xFF))->Name) +
                  QString(": %1").arg(g & 0xFF));
    EXPECT_TRUE(Status(StatusPanel::StatusDisp).isEmpty());

    // A 3 x 2 stamp centred under the mouse: its border in the slab colour.
    Ed().Selection = CellRect{0, 0, 2, 1};
    const int cx = attributed.column, cy = attributed.row;
    HoverAndHold(cx + 1, cy);
    EXPECT_EQ(Ed().StampOutline, (CellRect{cx, cy, cx + 2, cy + 1}));
    const QRect first = window->DrawGrid1->CellRect(cx, cy);
    const QRect last = window->DrawGrid1->CellRect(cx + 2, cy + 1);
    const QRgb slab = ToPixel(Ed().SlabColor);
    EXPECT_EQ(ViewPixel(first.left(), first.top()), slab);
    EXPECT_EQ(ViewPixel(first.left(), first.bottom()), slab); // left edge runs down
    EXPECT_EQ(ViewPixel(last.right(), last.bottom()), slab);
    EXPECT_EQ(ViewPixel(last.left() + 5, last.bottom()), slab); // bottom edge
    EXPECT_EQ(ViewPixel(first.center().x(), first.center().y()),
              Composed(Ed(), cx, cy, first.center().x() - first.left(),
                       first.center().y() - first.top()));

    // The mouse goes elsewhere: Timer1 takes the outline away.
    CursorAt(QPoint(-20, -20));
    Wait(250);
    EXPECT_TRUE(Ed().StampOutline.IsNone());
    EXPECT_EQ(ViewPixel(first.left(), first.top()), Composed(Ed(), cx, cy, 0, 0));
    // The panels keep their text.
    EXPECT_EQ(Status(StatusPanel::CoordsDisp), QString("%1,%2").arg(cx + 1).arg(cy));

    // Moving over the window outside its controls removes it at once.
    HoverAndHold(cx + 1, cy);
    ASSERT_FALSE(Ed().StampOutline.IsNone());
    QWidget* client = window->centralWidget();
    QTest::mouseMove(client, QPoint(client->width() - 205, 100));
    EXPECT_TRUE(Ed().StampOutline.IsNone());

    // "Slab Outline" off: hovering draws no outline.
    window->Action("SlabOutline1")->trigger();
    HoverAndHold(cx + 1, cy);
    EXPECT_EQ(ViewPixel(first.left(), first.top()), Composed(Ed(), cx, cy, 0, 0));
}

TEST_F(MapViewTest, SlabTilesPreviewsWithoutChangingTheMap) {
    OpenDemo();
    window->DrawGrid1->SetTopLeft(0, 0);
    const int x = 2;
    const uint16_t old = Ed().Doc.Cell(0, x, 3);
    // A tile other than the cell's background.
    int slot = 1;
    while (Ed().Tiles.Id(slot) == 0 || Ed().Tiles.Id(slot) == old)
        ++slot;
    const uint16_t tile = uint16_t(Ed().Tiles.Id(slot));
    Ed().Selection = CellRect{slot % 10, slot / 10, slot % 10, slot / 10};
    const auto planes = Ed().Doc.Planes;

    window->Action("SlabTiles1")->trigger();
    EXPECT_TRUE(Ed().SlabTiles);
    HoverAndHold(x, 3);
    const QRect r = window->DrawGrid1->CellRect(x, 3);
    Ed().Doc.SetCell(0, x, 3, tile);
    const QRgb previewed = Composed(Ed(), x, 3, 10, 12);
    Ed().Doc.SetCell(0, x, 3, old);
    EXPECT_EQ(ViewPixel(r.left() + 10, r.top() + 12), previewed);
    EXPECT_EQ(Ed().Doc.Planes, planes);
    EXPECT_FALSE(Ed().Doc.Modified);

    // Switching the option off erases the preview under the old setting.
    window->Action("SlabTiles1")->trigger();
    EXPECT_EQ(ViewPixel(r.left() + 10, r.top() + 12), Composed(Ed(), x, 3, 10, 12));
}

TEST_F(MapViewTest, ZoomAndScrollKeepWholeCellsAndTheRightCellUnderTheMouse) {
    OpenDemo();
    TMapView* view = window->DrawGrid1;
    auto wholeCells = [view] {
        const int cell = view->CellSize();
        const QSize size = view->viewport()->size();
        const bool allColumns = (view->ColCount() - view->LeftCol()) * cell <= size.width();
        const bool allRows = (view->RowCount() - view->TopRow()) * cell <= size.height();
        return (allColumns || size.width() % cell == 0) && (allRows || size.height() % cell == 0);
    };
    EXPECT_EQ(view->CellSize(), 32);
    EXPECT_TRUE(wholeCells());
    for (int expected : {64, 64, 64, 64}) {
        QTest::mouseClick(window->ZoomIn, Qt::LeftButton);
        EXPECT_EQ(view->CellSize(), expected);
        EXPECT_TRUE(wholeCells()) << expected;
    }
    for (int expected : {32, 16, 8, 8}) {
        QTest::mouseClick(window->ZoomOut, Qt::LeftButton);
        EXPECT_EQ(view->CellSize(), expected);
        EXPECT_TRUE(wholeCells()) << expected;
    }
    QTest::mouseClick(window->ZoomIn, Qt::LeftButton);
    QTest::mouseClick(window->ZoomIn, Qt::LeftButton);
    ASSERT_EQ(view->CellSize(), 32);

    // Thumb tracking: moving the bars scrolls by whole cells.
    EXPECT_TRUE(view->horizontalScrollBar()->hasTracking());
    view->horizontalScrollBar()->setValue(10);
    view->verticalScrollBar()->setValue(5);
    EXPECT_EQ(view->CellRect(12, 7).topLeft(), QPoint(64, 64));
    EXPECT_TRUE(view->CellRect(9, 7).isEmpty());
    Ed().Selection = CellRect{0, 0, 0, 0}; // slot 0: a single empty cell erases
    Ed().Doc.SetCell(0, 12, 7, 5);
    ClickCell(12, 7);
    EXPECT_EQ(Ed().Doc.Cell(0, 12, 7), 0);
    EXPECT_EQ(Ed().History.Step(0).Area(), (CellRect{12, 7, 12, 7}));
    // The view can reach the map's last row and column, and no further.
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    EXPECT_FALSE(view->CellRect(Ed().Doc.W() - 1, Ed().Doc.H() - 1).isEmpty());
    EXPECT_EQ(view->CellAt(view->CellRect(Ed().Doc.W() - 1, Ed().Doc.H() - 1).center()),
              (CellPos{Ed().Doc.W() - 1, Ed().Doc.H() - 1}));
}

TEST_F(MapViewTest, AttributeLabelsFollowTheShowBoxesAndColours) {
    // Attribute A "Door S" and B "Damage" in cell (1, 1) of an empty map.
    Ed().Doc.SetCell(kAttributeLayer, 1, 1, 0x1602);
    window->DrawGrid1->RepaintAll();
    const QRect r = window->DrawGrid1->CellRect(1, 1);
    auto countColour = [this, r](QRgb colour, int top, int bottom) {
        int n = 0;
        const QImage& frame = window->DrawGrid1->Frame();
        for (int y = r.top() + top; y < r.top() + bottom; ++y)
            for (int x = r.left(); x < r.right() + 1; ++x)
                n += frame.pixel(x, y) == colour;
        return n;
    };
    const QRgb aColour = ToPixel(Ed().AttrAColor), bColour = ToPixel(Ed().AttrBColor);
    EXPECT_GT(countColour(aColour, 1, 10), 5);
    EXPECT_EQ(countColour(aColour, 11, 20), 0);
    EXPECT_GT(countColour(bColour, 11, 20), 5);
    EXPECT_EQ(countColour(bColour, 1, 10), 0);

    // "Attributes B" unchecked: its label goes; a new colour for A shows at once.
    QTest::mouseClick(window->ShowBoxes[5], Qt::LeftButton);
    dialogs.colours.push_back(0x000000FF);
    window->Action("Attributes1")->trigger();
    EXPECT_EQ(countColour(bColour, 11, 20), 0);
    EXPECT_GT(countColour(ToPixel(0x000000FF), 1, 10), 5);
    EXPECT_EQ(countColour(aColour, 1, 10), 0);
}

} // namespace
} // namespace mapedit::ui::testing
