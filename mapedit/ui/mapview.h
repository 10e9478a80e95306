#pragma once
// TMapView: the map view DrawGrid1, a grid of square cells without lines that
// scrolls by whole cells (thumb tracking) and has the editor compose each
// visible cell. What is on screen is kept in a 32-bit frame: a cell redraw or
// the stamp outline goes into the frame at once (a preview changes the planes
// only for the moment of its redraw), and painting copies the frame out.
#include "mapedit/core/editor.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QImage>
#include <string>
#include <unordered_map>
#include <vector>

namespace mapedit::ui {

inline constexpr int kMinCellSize = 8;
inline constexpr int kMaxCellSize = 64;

class TMapView : public QAbstractScrollArea {
    Q_OBJECT
public:
    TMapView(TEditor& editor, QWidget* parent);

    int ColCount() const { return Columns_; }
    int RowCount() const { return Rows_; }
    void SetGridSize(int columns, int rows);
    // Column width and row height, always equal.
    int CellSize() const { return CellSize_; }
    void SetCellSize(int size);
    int LeftCol() const;
    int TopRow() const;
    void SetTopLeft(int column, int row);
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // The cell's rectangle in the viewport; empty when it is out of view.
    QRect CellRect(int column, int row) const;
    // The cell under a viewport point; (-1, -1) over no cell.
    CellPos CellAt(QPoint point) const;

    // FitMapView: takes `area` of the parent, less the part of a row or column
    // that would show only in part.
    void FitInto(const QRect& area);

    // Composes one cell into the frame now and shows it.
    void RedrawCell(int32_t column, int32_t row);
    // The stamp outline straight onto the frame; redrawing its cells removes it.
    void DrawStampOutline(const mapedit::CellRect& rect, uint32_t colour);
    // Recomposes every visible cell at the next paint.
    void RepaintAll();

    // What the view shows (for tests and screenshots), composed if needed.
    const QImage& Frame();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void UpdateScrollBars();
    void EnsureFrame();
    void ComposeAll();
    void ComposeCell(int32_t column, int32_t row, const QRect& rect);
    // Prints a label with its top-left corner at (x, y) of the frame.
    void PrintLabel(const std::string& text, int x, int y, uint32_t colour);
    const std::vector<QPoint>& LabelPixels(const std::string& text);

    TEditor& Ed;
    int Columns_ = 64;
    int Rows_ = 64;
    int CellSize_ = 32;
    QImage Frame_;
    bool FrameStale_ = true;
    QFont LabelFont_;
    // The pixels each label's text sets: labels are printed without
    // smoothing, so a label is a fixed set of pixels in one colour.
    std::unordered_map<std::string, std::vector<QPoint>> LabelPixels_;
};

} // namespace mapedit::ui
