#include "mapedit/ui/windowgeometry.h"

#include <algorithm>

namespace mapedit::ui {

namespace {

// Fixed parts of the window, measured from its bottom-left and right edges.
constexpr int kPaletteFromRight = 193;
constexpr int kPaletteTop = 20;
constexpr int kPaletteWidth = 189;
constexpr int kMarkerFromRight = 191;
constexpr int kMarkerSpacing = 16;
constexpr int kMarkerSize = 17;
constexpr int kSetMarkFromRight = 50;
constexpr int kStatusHeight = 20;

int NonNegative(int v) {
    return std::max(v, 0);
}

} // namespace

WindowLayout FormResizeLayout(int cw, int ch) {
    WindowLayout l;
    l.MapArea = {0, 0, NonNegative(cw - 216), NonNegative(ch - 227)};
    const int paletteHeight = cw >= kWidePaletteClientWidth ? ch - 44 : ch - 248;
    l.PaletteGrid = {cw - kPaletteFromRight, kPaletteTop, kPaletteWidth,
                     NonNegative(paletteHeight)};
    for (int i = 0; i < 5; ++i)
        l.PaletteMarkers[size_t(i)] = {cw - kMarkerFromRight + i * kMarkerSpacing, 1, kMarkerSize,
                                       kMarkerSize};
    l.SetMark = {cw - kSetMarkFromRight, 1, 46, kMarkerSize};
    l.ZoomIn = {2, ch - 198, 25, 25};
    l.ZoomOut = {2, ch - 174, 25, 25};
    l.DisplaySettings = {32, ch - 204, 522, 62};
    l.AtributePresets = {2, ch - 140, 300, 118};
    l.GroupBox2 = {306, ch - 140, 250, 118};
    l.StatusPanels = {Box{0, ch - kStatusHeight, 81, kStatusHeight},
                      Box{82, ch - kStatusHeight, 163, kStatusHeight},
                      Box{246, ch - kStatusHeight, 162, kStatusHeight},
                      Box{409, ch - kStatusHeight, NonNegative(cw - 409), kStatusHeight}};
    return l;
}

GridFit FitGrid(int width, int height, const GridMetrics& g) {
    GridFit fit;
    width = NonNegative(width);
    height = NonNegative(height);
    const int innerW = NonNegative(width - 2 * g.frame);
    const int innerH = NonNegative(height - 2 * g.frame);
    const int64_t contentW = int64_t(g.columns) * g.cellSize;
    const int64_t contentH = int64_t(g.rows) * g.cellSize;

    // A scroll bar appears when the grid does not fit; one bar can make the
    // other necessary, so settle them together.
    bool hBar = false, vBar = false;
    for (int pass = 0; pass < 3; ++pass) {
        const int viewW = NonNegative(innerW - (vBar ? g.scrollBarExtent : 0));
        const int viewH = NonNegative(innerH - (hBar ? g.scrollBarExtent : 0));
        hBar = contentW > viewW;
        vBar = contentH > viewH;
    }
    const int viewW = NonNegative(innerW - (vBar ? g.scrollBarExtent : 0));
    const int viewH = NonNegative(innerH - (hBar ? g.scrollBarExtent : 0));

    // The row after the fully visible ones, if the grid has it, shows only in
    // part: take that part away. The same for the column.
    const int fullRows = FullCells(viewH, g.cellSize);
    const int partRow = (g.topRow + fullRows < g.rows) ? viewH - fullRows * g.cellSize : 0;
    const int fullCols = FullCells(viewW, g.cellSize);
    const int partCol = (g.leftCol + fullCols < g.columns) ? viewW - fullCols * g.cellSize : 0;

    fit.width = width - partCol;
    fit.height = height - partRow;
    fit.horizontalBar = hBar;
    fit.verticalBar = vBar;
    return fit;
}

} // namespace mapedit::ui
