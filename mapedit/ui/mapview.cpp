#include "mapedit/ui/mapview.h"

#include "mapedit/ui/colours.h"
#include "mapedit/ui/windowgeometry.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace mapedit::ui {

namespace {

constexpr uint32_t kBlack = 0xFF000000u;

MouseButton ToEditorButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::Other;
    }
}

RgbTarget TargetOf(QImage& image) {
    return RgbTarget{reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
                     int32_t(image.bytesPerLine() / 4)};
}

} // namespace

TMapView::TMapView(TEditor& editor, QWidget* parent) : QAbstractScrollArea(parent), Ed(editor) {
    setObjectName("DrawGrid1");
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    // The labels print in a small fixed size whatever the zoom.
    LabelFont_.setFamilies({"Small Fonts", "DejaVu Sans", "Sans Serif"});
    LabelFont_.setPixelSize(8);
    LabelFont_.setStyleStrategy(QFont::NoAntialias);
    Columns_ = editor.Doc.W();
    Rows_ = editor.Doc.H();
}

int TMapView::LeftCol() const {
    return horizontalScrollBar()->value();
}

int TMapView::TopRow() const {
    return verticalScrollBar()->value();
}

void TMapView::SetTopLeft(int column, int row) {
    horizontalScrollBar()->setValue(column);
    verticalScrollBar()->setValue(row);
}

int TMapView::VisibleColCount() const {
    return FullCells(viewport()->width(), CellSize_);
}

int TMapView::VisibleRowCount() const {
    return FullCells(viewport()->height(), CellSize_);
}

void TMapView::SetGridSize(int columns, int rows) {
    Columns_ = std::max(columns, 0);
    Rows_ = std::max(rows, 0);
    UpdateScrollBars();
    RepaintAll();
}

void TMapView::SetCellSize(int size) {
    CellSize_ = std::clamp(size, kMinCellSize, kMaxCellSize);
    UpdateScrollBars();
    RepaintAll();
}

void TMapView::FitInto(const QRect& area) {
    GridMetrics metrics;
    metrics.columns = Columns_;
    metrics.rows = Rows_;
    metrics.cellSize = CellSize_;
    metrics.leftCol = LeftCol();
    metrics.topRow = TopRow();
    metrics.frame = frameWidth();
    metrics.scrollBarExtent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const GridFit fit = FitGrid(area.width(), area.height(), metrics);
    setHorizontalScrollBarPolicy(fit.horizontalBar ? Qt::ScrollBarAlwaysOn
                                                   : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(fit.verticalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setGeometry(area.left(), area.top(), fit.width, fit.height);
    UpdateScrollBars();
    RepaintAll();
}

void TMapView::UpdateScrollBars() {
    // The viewport's size as it will be once the bars are laid out.
    const int frame = frameWidth();
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const bool hBar = horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    const bool vBar = verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    const int viewW = std::max(0, width() - 2 * frame - (vBar ? extent : 0));
    const int viewH = std::max(0, height() - 2 * frame - (hBar ? extent : 0));
    const int cols = FullCells(viewW, CellSize_), rows = FullCells(viewH, CellSize_);
    horizontalScrollBar()->setRange(0, std::max(0, Columns_ - cols));
    horizontalScrollBar()->setPageStep(std::max(1, cols));
    verticalScrollBar()->setRange(0, std::max(0, Rows_ - rows));
    verticalScrollBar()->setPageStep(std::max(1, rows));
}

QRect TMapView::CellRect(int column, int row) const {
    if (column < 0 || row < 0 || column >= Columns_ || row >= Rows_) return {};
    const int x = (column - LeftCol()) * CellSize_;
    const int y = (row - TopRow()) * CellSize_;
    if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height()) return {};
    return QRect(x, y, CellSize_, CellSize_);
}

CellPos TMapView::CellAt(QPoint p) const {
    if (p.x() < 0 || p.y() < 0 || p.x() >= viewport()->width() || p.y() >= viewport()->height())
        return {};
    const int column = LeftCol() + p.x() / CellSize_;
    const int row = TopRow() + p.y() / CellSize_;
    if (column >= Columns_ || row >= Rows_) return {};
    return {column, row};
}

void TMapView::RepaintAll() {
    FrameStale_ = true;
    viewport()->update();
}

const QImage& TMapView::Frame() {
    EnsureFrame();
    return Frame_;
}

void TMapView::EnsureFrame() {
    if (FrameStale_ || Frame_.size() != viewport()->size()) ComposeAll();
}

const std::vector<QPoint>& TMapView::LabelPixels(const std::string& text) {
    auto found = LabelPixels_.find(text);
    if (found != LabelPixels_.end()) return found->second;
    constexpr int kRoomWidth = 160, kRoomHeight = 16;
    QImage room(kRoomWidth, kRoomHeight, QImage::Format_RGB32);
    room.fill(Qt::black);
    {
        QPainter painter(&room);
        painter.setFont(LabelFont_);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, kRoomWidth, kRoomHeight), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromStdString(text));
    }
    std::vector<QPoint> pixels;
    for (int y = 0; y < kRoomHeight; ++y)
        for (int x = 0; x < kRoomWidth; ++x)
            if (room.pixel(x, y) != 0xFF000000u) pixels.emplace_back(x, y);
    return LabelPixels_.emplace(text, std::move(pixels)).first->second;
}

void TMapView::PrintLabel(const std::string& text, int x, int y, uint32_t colour) {
    const uint32_t pixel = ToPixel(colour);
    const int w = Frame_.width(), h = Frame_.height();
    // One look at the frame's pixels: asking for each row would check for sharing each time.
    RgbTarget frame = TargetOf(Frame_);
    for (const QPoint& p : LabelPixels(text)) {
        const int px = x + p.x(), py = y + p.y();
        if (px >= 0 && py >= 0 && px < w && py < h)
            frame.pixels[size_t(py) * frame.stride + px] = pixel;
    }
}

void TMapView::ComposeCell(int32_t column, int32_t row, const QRect& rect) {
    RgbTarget target = TargetOf(Frame_);
    Ed.DrawCell(target, column, row,
                PixelRect{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1});
    if (!Ed.Doc.InMap(column, row)) return;
    const uint16_t value = Ed.Doc.Cell(kAttributeLayer, column, row);
    if (value == 0) return;
    // The labels keep their size and place whatever the zoom, and may run
    // into the next cells.
    if (Ed.Show.DrawTerrain) {
        const std::string label = AttrLabelA(Ed.Attrs, value);
        if (!label.empty()) PrintLabel(label, rect.left() + 1, rect.top() + 1, Ed.AttrAColor);
    }
    if (Ed.Show.DrawEffect) {
        const std::string label = AttrLabelB(Ed.Attrs, value);
        if (!label.empty()) PrintLabel(label, rect.left() + 1, rect.top() + 11, Ed.AttrBColor);
    }
}

void TMapView::ComposeAll() {
    const QSize size = viewport()->size();
    if (Frame_.size() != size) Frame_ = QImage(size, QImage::Format_RGB32);
    FrameStale_ = false;
    if (Frame_.isNull()) return;
    Frame_.fill(kBlack);
    const int firstCol = LeftCol(), firstRow = TopRow();
    const int lastCol = std::min(Columns_, firstCol + (size.width() + CellSize_ - 1) / CellSize_);
    const int lastRow = std::min(Rows_, firstRow + (size.height() + CellSize_ - 1) / CellSize_);
    for (int row = firstRow; row < lastRow; ++row)
        for (int column = firstCol; column < lastCol; ++column)
            ComposeCell(column, row, CellRect(column, row));
}

void TMapView::RedrawCell(int32_t column, int32_t row) {
    const QRect rect = CellRect(column, row);
    if (rect.isEmpty()) return;
    EnsureFrame();
    ComposeCell(column, row, rect);
    viewport()->update(rect);
}

void TMapView::DrawStampOutline(const mapedit::CellRect& r, uint32_t colour) {
    if (r.IsNone()) return;
    EnsureFrame();
    RgbTarget target = TargetOf(Frame_);
    const uint32_t pixel = ToPixel(colour);
    QRect touched;
    // Only the border cells carry lines; each cell draws its own part.
    for (int32_t y = std::max(r.top, 0); y <= r.bottom; ++y) {
        for (int32_t x = std::max(r.left, 0); x <= r.right; ++x) {
            if (x != r.left && x != r.right && y != r.top && y != r.bottom) continue;
            const QRect cell = CellRect(x, y);
            if (cell.isEmpty()) continue;
            const int L = cell.left(), T = cell.top(), R = cell.right() + 1, B = cell.bottom() + 1;
            if (y == r.top) FillRgb(target, PixelRect{L, T, R, T + 1}, pixel);
            if (y == r.bottom) FillRgb(target, PixelRect{L, B - 1, R, B}, pixel);
            if (x == r.left) FillRgb(target, PixelRect{L, T, L + 1, B}, pixel);
            if (x == r.right) FillRgb(target, PixelRect{R - 1, T, R, B}, pixel);
            touched |= cell;
        }
    }
    if (!touched.isEmpty()) viewport()->update(touched);
}

void TMapView::paintEvent(QPaintEvent* event) {
    EnsureFrame();
    QPainter painter(viewport());
    painter.drawImage(event->rect(), Frame_, event->rect());
}

void TMapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    FrameStale_ = true;
}

void TMapView::scrollContentsBy(int, int) {
    RepaintAll();
}

void TMapView::mousePressEvent(QMouseEvent* event) {
    Ed.MapMouseDown(ToEditorButton(event->button()), CellAt(event->position().toPoint()));
}

void TMapView::mouseMoveEvent(QMouseEvent* event) {
    Ed.MapMouseMove(CellAt(event->position().toPoint()));
}

} // namespace mapedit::ui
