#pragma once
// TPaletteGrid: the tile palette PaletteGrid, 10 columns x 100 rows of 16-pixel
// cells with grid lines. Dragging with the left button selects a block (the
// stamp), the right button moves the red frame of the right-button tile, and
// the middle button (or Ctrl + right) copies the selected block to the cell
// under the mouse.
#include "mapedit/core/editor.h"

#include <QAbstractScrollArea>
#include <QImage>

namespace mapedit::ui {

inline constexpr int kPaletteLine = 1;
inline constexpr int kPalettePitch = kPaletteCellSize + kPaletteLine; // 17
inline constexpr uint32_t kRightTileColour = 0x000000FF;              // red
inline constexpr uint32_t kSelectionColour = 0x0000F000;              // green

class TPaletteGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    TPaletteGrid(TEditor& editor, QWidget* parent);

    int TopRow() const;
    void SetTopRow(int row);
    int VisibleRowCount() const;
    QRect CellRect(int column, int row) const;
    // The cell under a viewport point; (-1, -1) when none. With `clamp`, a
    // point beside the grid gives the nearest cell (dragging a selection).
    CellPos CellAt(QPoint point, bool clamp = false) const;

    // Repaints one cell (or all) from the collection and the selection.
    void RedrawCell(int column, int row);
    void RepaintAll();

    // What the grid shows, freshly drawn (for tests and screenshots).
    QImage Render();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateScrollBar();
    void DrawInto(QImage& image, const QRect& area);
    void DrawCell(QImage& image, int column, int row, const QRect& rect);
    void SelectTo(CellPos cell);
    void RedrawSelection();

    TEditor& Ed;
    CellPos Anchor_;
    bool Dragging_ = false;
    mapedit::CellRect LastSelection_{0, 0, 0, 0};
    QImage Frame_;
};

} // namespace mapedit::ui
