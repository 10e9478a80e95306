// The palette grid driven with the mouse: block selection by dragging, the red
// frame of the right-button tile, block copies, and the markers.
#include "fixture.h"

#include "mapedit/ui/colours.h"
#include "mapedit/ui/palettegrid.h"

#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace mapedit::ui::testing {
namespace {

class PaletteTest : public WindowTest {
protected:
    TPaletteGrid* Grid() { return window->PaletteGrid; }
    QWidget* Viewport() { return window->PaletteGrid->viewport(); }
    QRgb Pixel(const QImage& image, int column, int row, int dx, int dy) {
        const QRect r = Grid()->CellRect(column, row);
        return image.pixel(r.left() + dx, r.top() + dy);
    }
};

TEST_F(PaletteTest, DraggingSelectsABlockFramedInGreen) {
    QTest::mousePress(Viewport(), Qt::LeftButton, Qt::NoModifier, PaletteCentre(2, 1));
    QTest::mouseMove(Viewport(), PaletteCentre(3, 2));
    QTest::mouseMove(Viewport(), PaletteCentre(4, 3));
    QTest::mouseRelease(Viewport(), Qt::LeftButton, Qt::NoModifier, PaletteCentre(4, 3));
    EXPECT_EQ(Ed().Selection, (CellRect{2, 1, 4, 3}));

    const QImage image = Grid()->Render();
    const QRgb green = ToPixel(kSelectionColour);
    EXPECT_EQ(Pixel(image, 2, 1, 0, 0), green);   // top-left corner
    EXPECT_EQ(Pixel(image, 3, 1, 8, 0), green);   // top edge
    EXPECT_EQ(Pixel(image, 2, 2, 0, 8), green);   // left edge
    EXPECT_EQ(Pixel(image, 4, 3, 15, 15), green); // bottom-right corner
    EXPECT_NE(Pixel(image, 3, 2, 0, 0), green);   // no frame inside the block
    EXPECT_NE(Pixel(image, 3, 2, 15, 15), green);
    EXPECT_NE(Pixel(image, 5, 1, 0, 0), green);

    // The block is the stamp: three cells wide and high, centred on the mouse.
    EXPECT_EQ(Ed().StampRect(CellPos{10, 10}), (CellRect{9, 9, 11, 11}));

    // Dragging up and left from the anchor selects the same way.
    QTest::mousePress(Viewport(), Qt::LeftButton, Qt::NoModifier, PaletteCentre(6, 4));
    QTest::mouseMove(Viewport(), PaletteCentre(5, 2));
    QTest::mouseRelease(Viewport(), Qt::LeftButton, Qt::NoModifier, PaletteCentre(5, 2));
    EXPECT_EQ(Ed().Selection, (CellRect{5, 2, 6, 4}));
}

TEST_F(PaletteTest, RightClickMovesTheRedFrame) {
    const QRgb red = ToPixel(kRightTileColour);
    QImage image = Grid()->Render();
    EXPECT_EQ(Ed().RightTile, (CellPos{0, 0}));
    // Cell (0, 0) is also the selection, whose green frame lies over the outer ring.
    EXPECT_EQ(Pixel(image, 0, 0, 0, 0), ToPixel(kSelectionColour));
    EXPECT_EQ(Pixel(image, 0, 0, 1, 1), red);
    EXPECT_EQ(Pixel(image, 0, 0, 14, 14), red);
    EXPECT_NE(Pixel(image, 0, 0, 2, 2), red);

    QTest::mouseClick(Viewport(), Qt::RightButton, Qt::NoModifier, PaletteCentre(5, 2));
    EXPECT_EQ(Ed().RightTile, (CellPos{5, 2}));
    image = Grid()->Render();
    EXPECT_NE(Pixel(image, 0, 0, 1, 1), red);
    EXPECT_EQ(Pixel(image, 5, 2, 0, 0), red);
    EXPECT_EQ(Pixel(image, 5, 2, 1, 1), red);
    EXPECT_EQ(Pixel(image, 5, 2, 15, 15), red);
    EXPECT_NE(Pixel(image, 5, 2, 2, 2), red);
    // The left button's selection is not touched by the right button.
    EXPECT_EQ(Ed().Selection, (CellRect{0, 0, 0, 0}));
    QTest::mouseClick(Viewport(), Qt::RightButton, Qt::NoModifier, PaletteCentre(5, 2));
    EXPECT_EQ(Ed().RightTile, (CellPos{5, 2}));
}

TEST_F(PaletteTest, MiddleOrCtrlRightCopiesTheSelectedBlock) {
    OpenDemo();
    // Two neighbouring slots of one row that hold tiles.
    int first = 1;
    while (Ed().Tiles.Id(first) == 0 || Ed().Tiles.Id(first + 1) == 0 || first % 10 == 9)
        ++first;
    const int32_t a = Ed().Tiles.Id(first), b = Ed().Tiles.Id(first + 1);
    Ed().Selection = CellRect{first % 10, first / 10, first % 10 + 1, first / 10};
    Grid()->SetTopRow(55);
    ASSERT_EQ(Ed().Tiles.Id(600), 0);

    QTest::mouseClick(Viewport(), Qt::MiddleButton, Qt::NoModifier, PaletteCentre(0, 60));
    EXPECT_EQ(Ed().Tiles.Id(600), a);
    EXPECT_EQ(Ed().Tiles.Id(601), b);
    EXPECT_EQ(Ed().Tiles.Strip().Pixel(7, 32 * 600 + 9),
              Ed().Tiles.Strip().Pixel(7, 32 * first + 9));

    QTest::mouseClick(Viewport(), Qt::RightButton, Qt::ControlModifier, PaletteCentre(9, 61));
    EXPECT_EQ(Ed().Tiles.Id(619), a); // the second column falls off the edge
    EXPECT_EQ(Ed().Tiles.Id(620), 0);
    EXPECT_EQ(Ed().RightTile, (CellPos{0, 0}));

    // The copied cells show the tiles.
    const QImage image = Grid()->Render();
    EXPECT_NE(Pixel(image, 0, 60, 8, 8), kPaletteWhite);

    // A plain right click copies nothing.
    QTest::mouseClick(Viewport(), Qt::RightButton, Qt::NoModifier, PaletteCentre(0, 62));
    EXPECT_EQ(Ed().Tiles.Id(620), 0);
}

TEST_F(PaletteTest, MarkersRememberAndRestoreTheTopRow) {
    QPushButton* setMark = window->SetMark;
    EXPECT_EQ(setMark->text(), "Set Mark");
    Grid()->SetTopRow(40);
    ASSERT_EQ(Grid()->TopRow(), 40);
    QTest::mouseClick(setMark, Qt::LeftButton);
    EXPECT_EQ(setMark->text(), "Cancel");
    QTest::mouseClick(window->PaletteMarkers[2], Qt::LeftButton);
    EXPECT_EQ(setMark->text(), "Set Mark");
    EXPECT_EQ(Grid()->TopRow(), 40); // storing does not scroll

    Grid()->SetTopRow(0);
    QTest::mouseClick(window->PaletteMarkers[2], Qt::LeftButton);
    EXPECT_EQ(Grid()->TopRow(), 40);
    QTest::mouseClick(window->PaletteMarkers[0], Qt::LeftButton);
    EXPECT_EQ(Grid()->TopRow(), 0);

    // "Set Mark" twice: back to normal, nothing stored.
    QTest::mouseClick(setMark, Qt::LeftButton);
    QTest::mouseClick(setMark, Qt::LeftButton);
    EXPECT_EQ(setMark->text(), "Set Mark");
    Grid()->SetTopRow(30);
    QTest::mouseClick(window->PaletteMarkers[2], Qt::LeftButton);
    EXPECT_EQ(Grid()->TopRow(), 40);
}

} // namespace
} // namespace mapedit::ui::testing
