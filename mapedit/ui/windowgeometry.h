#pragma once
// Where the main window's controls go for a given client size, and how large
// the map view may be so that it shows whole cells only. No Qt here.
#include <array>
#include <cstdint>

namespace mapedit::ui {

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Box&) const = default;
};

// Every control placed by FormResize; the map view's box is the room it may
// take before FitMapView trims it to whole cells.
struct WindowLayout {
    Box MapArea;
    Box PaletteGrid;
    std::array<Box, 5> PaletteMarkers;
    Box SetMark;
    Box ZoomIn;
    Box ZoomOut;
    Box DisplaySettings;
    Box AtributePresets;
    Box GroupBox2;
    // CoordsDisp, TerrainDisp, EffectDisp, StatusDisp.
    std::array<Box, 4> StatusPanels;
};

// Below this client width the bottom controls reach under the palette, so the
// palette stops above them.
inline constexpr int kWidePaletteClientWidth = 754;

WindowLayout FormResizeLayout(int clientWidth, int clientHeight);

// What the map view's size depends on.
struct GridMetrics {
    int columns = 0;
    int rows = 0;
    int cellSize = 32;
    int leftCol = 0;
    int topRow = 0;
    int frame = 0;           // frame width on each side
    int scrollBarExtent = 0; // thickness of a scroll bar
};

struct GridFit {
    int width = 0;
    int height = 0;
    bool horizontalBar = false;
    bool verticalBar = false;
    bool operator==(const GridFit&) const = default;
};

// FitMapView: the outer size of a grid given `width` x `height`, less the
// visible part of a row (column) that follows the fully visible ones, and
// which scroll bars it shows.
GridFit FitGrid(int width, int height, const GridMetrics& grid);

// Fully visible cells along one side of `extent` pixels.
inline int FullCells(int extent, int cellSize) {
    return cellSize > 0 && extent > 0 ? extent / cellSize : 0;
}

} // namespace mapedit::ui
