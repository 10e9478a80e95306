#include "mapedit/ui/palettegrid.h"

#include "mapedit/ui/colours.h"
#include "mapedit/ui/paletteedit.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace mapedit::ui {

namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kGridLine = 0xFF808080u;

RgbTarget TargetOf(QImage& image) {
    return RgbTarget{reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
                     int32_t(image.bytesPerLine() / 4)};
}

// The outline of a Windows-style rectangle: right and bottom edges excluded.
void Outline(RgbTarget& t, int L, int T, int R, int B, uint32_t pixel) {
    FillRgb(t, PixelRect{L, T, R, T + 1}, pixel);
    FillRgb(t, PixelRect{L, B - 1, R, B}, pixel);
    FillRgb(t, PixelRect{L, T, L + 1, B}, pixel);
    FillRgb(t, PixelRect{R - 1, T, R, B}, pixel);
}

} // namespace

TPaletteGrid::TPaletteGrid(TEditor& editor, QWidget* parent)
    : QAbstractScrollArea(parent), Ed(editor) {
    setObjectName("PaletteGrid");
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setTracking(true);
    verticalScrollBar()->setSingleStep(1);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    UpdateScrollBar();
}

int TPaletteGrid::TopRow() const {
    return verticalScrollBar()->value();
}

void TPaletteGrid::SetTopRow(int row) {
    verticalScrollBar()->setValue(row);
}

int TPaletteGrid::VisibleRowCount() const {
    // A row counts as visible when its cell (without its line) fits.
    return std::max(0, (viewport()->height() + kPaletteLine) / kPalettePitch);
}

void TPaletteGrid::UpdateScrollBar() {
    const int rows = VisibleRowCount();
    verticalScrollBar()->setRange(0, std::max(0, kPaletteRows - rows));
    verticalScrollBar()->setPageStep(std::max(1, rows));
}

QRect TPaletteGrid::CellRect(int column, int row) const {
    if (column < 0 || column >= kPaletteColumns || row < TopRow() || row >= kPaletteRows) return {};
    const int y = (row - TopRow()) * kPalettePitch;
    if (y >= viewport()->height()) return {};
    return QRect(column * kPalettePitch, y, kPaletteCellSize, kPaletteCellSize);
}

CellPos TPaletteGrid::CellAt(QPoint p, bool clamp) const {
    int column = p.x() >= 0 ? p.x() / kPalettePitch : -1;
    int row = p.y() >= 0 ? TopRow() + p.y() / kPalettePitch : TopRow() - 1;
    if (clamp) {
        column = std::clamp(column, 0, kPaletteColumns - 1);
        row = std::clamp(row, 0, kPaletteRows - 1);
        return {column, row};
    }
    if (column < 0 || column >= kPaletteColumns || p.y() < 0 || p.y() >= viewport()->height() ||
        row >= kPaletteRows)
        return {};
    return {column, row};
}

void TPaletteGrid::DrawCell(QImage& image, int column, int row, const QRect& rect) {
    RgbTarget target = TargetOf(image);
    const int L = rect.left(), T = rect.top(), R = rect.right() + 1, B = rect.bottom() + 1;
    Ed.Tiles.DrawPaletteCell(target, L, T, row * kPaletteColumns + column, Ed.Colours.Rgb32());
    if (row == Ed.RightTile.row && column == Ed.RightTile.column) {
        const uint32_t red = ToPixel(kRightTileColour);
        Outline(target, L + 1, T + 1, R - 1, B - 1, red);
        Outline(target, L, T, R, B, red);
    }
    const mapedit::CellRect s = Ed.PaletteSelection();
    if (s.Contains(column, row)) {
        // Each selected cell draws its share of one frame around the block.
        const uint32_t green = ToPixel(kSelectionColour);
        if (row == s.top) FillRgb(target, PixelRect{L, T, R, T + 1}, green);
        if (row == s.bottom) FillRgb(target, PixelRect{L, B - 1, R, B}, green);
        if (column == s.left) FillRgb(target, PixelRect{L, T, L + 1, B}, green);
        if (column == s.right) FillRgb(target, PixelRect{R - 1, T, R, B}, green);
    }
}

void TPaletteGrid::DrawInto(QImage& image, const QRect& area) {
    RgbTarget target = TargetOf(image);
    FillRgb(target, PixelRect{area.left(), area.top(), area.right() + 1, area.bottom() + 1},
            kBlack);
    const int first = TopRow();
    const int last = std::min(kPaletteRows, first + image.height() / kPalettePitch + 1);
    for (int row = first; row < last; ++row) {
        for (int column = 0; column < kPaletteColumns; ++column) {
            const QRect rect = CellRect(column, row);
            if (!rect.isEmpty() && rect.intersects(area)) DrawCell(image, column, row, rect);
        }
        // Grid lines right of and below every cell.
        const int y = (row - first) * kPalettePitch;
        FillRgb(
            target,
            PixelRect{0, y + kPaletteCellSize, kPaletteColumns * kPalettePitch, y + kPalettePitch},
            kGridLine);
    }
    for (int column = 0; column < kPaletteColumns; ++column) {
        const int x = column * kPalettePitch + kPaletteCellSize;
        FillRgb(target, PixelRect{x, 0, x + kPaletteLine, (last - first) * kPalettePitch},
                kGridLine);
    }
}

QImage TPaletteGrid::Render() {
    QImage image(viewport()->size(), QImage::Format_RGB32);
    if (!image.isNull()) DrawInto(image, image.rect());
    return image;
}

void TPaletteGrid::paintEvent(QPaintEvent* event) {
    if (Frame_.size() != viewport()->size())
        Frame_ = QImage(viewport()->size(), QImage::Format_RGB32);
    if (Frame_.isNull()) return;
    DrawInto(Frame_, event->rect());
    QPainter painter(viewport());
    painter.drawImage(event->rect(), Frame_, event->rect());
}

void TPaletteGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
}

void TPaletteGrid::RedrawCell(int column, int row) {
    const QRect rect = CellRect(column, row);
    if (!rect.isEmpty()) viewport()->update(rect);
}

void TPaletteGrid::RepaintAll() {
    viewport()->update();
}

void TPaletteGrid::SelectTo(CellPos cell) {
    const mapedit::CellRect next{
        std::min(Anchor_.column, cell.column), std::min(Anchor_.row, cell.row),
        std::max(Anchor_.column, cell.column), std::max(Anchor_.row, cell.row)};
    if (next == Ed.Selection) return;
    Ed.Selection = next;
    // The old and the new frame both change; the grid is small enough to repaint.
    viewport()->update();
}

void TPaletteGrid::RedrawSelection() {
    const mapedit::CellRect s = Ed.PaletteSelection();
    if (s == LastSelection_) return;
    LastSelection_ = s;
    for (int row = s.top; row <= s.bottom; ++row)
        for (int column = s.left; column <= s.right; ++column)
            RedrawCell(column, row);
}

void TPaletteGrid::mousePressEvent(QMouseEvent* event) {
    const CellPos cell = CellAt(event->position().toPoint());
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->button() == Qt::LeftButton) {
        if (cell.IsNone()) return;
        Anchor_ = cell;
        Dragging_ = true;
        SelectTo(cell);
    } else if (event->button() == Qt::RightButton && !ctrl) {
        for (const CellPos& changed : SetRightTile(Ed, cell))
            RedrawCell(changed.column, changed.row);
    } else if (event->button() == Qt::MiddleButton || event->button() == Qt::RightButton) {
        if (cell.IsNone()) return;
        for (const CellPos& copied : CopyBlock(Ed.Tiles, Ed.PaletteSelection(), cell))
            RedrawCell(copied.column, copied.row);
    }
}

void TPaletteGrid::mouseMoveEvent(QMouseEvent* event) {
    if (Dragging_ && (event->buttons() & Qt::LeftButton)) {
        const QPoint p = event->position().toPoint();
        // Dragging past the top or bottom edge scrolls the grid a row at a time.
        if (p.y() < 0) SetTopRow(TopRow() - 1);
        if (p.y() >= viewport()->height()) SetTopRow(TopRow() + 1);
        SelectTo(CellAt(p, true));
    }
    RedrawSelection();
}

void TPaletteGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Dragging_ = false;
    RedrawSelection();
}

} // namespace mapedit::ui
