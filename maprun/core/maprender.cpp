// Drawing one layer of the map around a view centre.
#include "maprun/core/map.h"

#include <algorithm>

namespace maprun {

namespace {

// The first visible map pixel on one axis. The view is pushed inside the near
// edge, then pulled back inside the far one; a map shorter than the frame is
// centred instead, since it cannot fill the frame either way.
int64_t AxisOrigin(int64_t centre, int64_t frame, int64_t mapPixels) {
    if (mapPixels < frame) return -((frame - mapPixels) / 2);
    int64_t origin = centre - frame / 2;
    if (origin < 0) origin = 0;
    if (origin + frame >= mapPixels) origin = mapPixels - frame;
    return origin;
}

int64_t FloorDiv(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The cells [first, end) on one axis that overlap the frame.
struct CellSpan {
    int64_t first;
    int64_t end;
};

CellSpan VisibleCells(int64_t origin, int64_t frame, int64_t cells) {
    const int64_t first = std::max<int64_t>(0, FloorDiv(origin, kTileSize));
    const int64_t end = std::min<int64_t>(cells, FloorDiv(origin + frame - 1, kTileSize) + 1);
    return CellSpan{first, end};
}

constexpr uint16_t TCell::*kLayerWords[kCellWords] = {&TCell::back,       &TCell::middle,
                                                      &TCell::fore,       &TCell::collision,
                                                      &TCell::attributes, &TCell::arguments};

TClipRect ClipRectOf(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    auto c = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, -1, INT32_MAX)); };
    return TClipRect{c(left), c(top), c(right), c(bottom)};
}

} // namespace

TPoint TMap::ViewOrigin(const TPoint& pos, int frameWidth, int frameHeight) const {
    return TPoint{
        static_cast<int32_t>(AxisOrigin(pos.X, frameWidth, int64_t(FWidth) * kTileSize)),
        static_cast<int32_t>(AxisOrigin(pos.Y, frameHeight, int64_t(FHeight) * kTileSize))};
}

void TMap::DrawMap(const TPoint& pos, TFrameBuffer& frame, int layer) const {
    if (layer < 0 || layer >= kCellWords || FWidth == 0 || FHeight == 0) return;
    const int w = frame.Width(), h = frame.Height();
    const int64_t x0 = AxisOrigin(pos.X, w, int64_t(FWidth) * kTileSize);
    const int64_t y0 = AxisOrigin(pos.Y, h, int64_t(FHeight) * kTileSize);
    const CellSpan columns = VisibleCells(x0, w, FWidth);
    const CellSpan rows = VisibleCells(y0, h, FHeight);
    const uint16_t TCell::*word = kLayerWords[layer];

    // Tiles are handed to the frame in batches; a record without an expanded
    // form is drawn on its own, after the tiles before it.
    constexpr size_t kBatch = 64;
    TTilePlacement batch[kBatch];
    size_t batched = 0;
    for (int64_t row = rows.first; row < rows.end; ++row) {
        const TCell* cell = FCells.data() + row * FWidth + columns.first;
        const auto y = static_cast<int32_t>(row * kTileSize - y0);
        for (int64_t column = columns.first; column < columns.end; ++column, ++cell) {
            const unsigned tile = (cell->*word) & kTileNumberMask;
            if (tile == 0) continue;
            const uint8_t* sprite = FTiles.TileUnchecked(tile);
            if (!sprite) continue;
            const auto x = static_cast<int32_t>(column * kTileSize - x0);
            const TExpandedTile* expanded = FTiles.ExpandedUnchecked(tile);
            if (expanded) batch[batched++] = TTilePlacement{expanded, x, y};
            if (!expanded || batched == kBatch) {
                frame.DrawTiles(batch, batched);
                batched = 0;
            }
            if (!expanded) frame.DrawSprite(sprite, x, y);
        }
    }
    frame.DrawTiles(batch, batched);
}

void TMap::ClearOutsideMap(const TPoint& pos, TFrameBuffer& frame, uint8_t colour) const {
    if (FWidth == 0 || FHeight == 0) return;
    const int w = frame.Width(), h = frame.Height();
    const int64_t x0 = AxisOrigin(pos.X, w, int64_t(FWidth) * kTileSize);
    const int64_t y0 = AxisOrigin(pos.Y, h, int64_t(FHeight) * kTileSize);
    // The map covers frame pixels [-x0, -x0 + map width) and likewise vertically.
    const int64_t left = -x0, top = -y0;
    const int64_t right = left + int64_t(FWidth) * kTileSize;
    const int64_t bottom = top + int64_t(FHeight) * kTileSize;
    frame.FillRect(ClipRectOf(0, 0, w, top), colour);
    frame.FillRect(ClipRectOf(0, bottom, w, h), colour);
    frame.FillRect(ClipRectOf(0, top, left, bottom), colour);
    frame.FillRect(ClipRectOf(right, top, w, bottom), colour);
}

} // namespace maprun
