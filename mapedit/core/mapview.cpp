// Composing one map cell for the view: the shown tile layers stacked in the
// cell surface (background, collision, middle ground, foreground).
#include "mapedit/core/editor.h"
#include "mapedit/core/reducedcell.h"

namespace mapedit {

namespace {

// The pictures ComposeCell stacks for cell (x, y), in the same order.
CellPictures PicturesOf(const TEditor& ed, int32_t x, int32_t y) {
    CellPictures cell;
    cell.shade = ed.CellSurface.ShadeMode;
    if (!ed.Doc.InMap(x, y)) return cell;
    const size_t i = ed.Doc.Index(x, y);
    const auto& planes = ed.Doc.Planes;
    if (ed.Show.DrawBackGround) cell.background = ed.Tiles.PictureById(planes[0][i]);
    if (ed.Show.DrawCollisions) cell.overlays[0] = ed.Tiles.PictureById(planes[3][i]);
    if (ed.Show.DrawMiddleGround) cell.overlays[1] = ed.Tiles.PictureById(planes[1][i]);
    if (ed.Show.DrawForeGround) cell.overlays[2] = ed.Tiles.PictureById(planes[2][i]);
    return cell;
}

} // namespace

void TEditor::ComposeCell(int32_t x, int32_t y) {
    if (!Doc.InMap(x, y)) {
        CellSurface.Clear();
        return;
    }
    const size_t i = Doc.Index(x, y);
    if (Show.DrawBackGround)
        Tiles.DrawTileById(CellSurface, 0, 0, Doc.Planes[0][i]);
    else
        CellSurface.Clear();
    if (Show.DrawCollisions) Tiles.DrawTileTransparentById(CellSurface, 0, 0, Doc.Planes[3][i]);
    if (Show.DrawMiddleGround) Tiles.DrawTileTransparentById(CellSurface, 0, 0, Doc.Planes[1][i]);
    if (Show.DrawForeGround) Tiles.DrawTileTransparentById(CellSurface, 0, 0, Doc.Planes[2][i]);
}

void TEditor::DrawCell(RgbTarget& target, int32_t x, int32_t y, const PixelRect& dest) {
    if (dest.IsEmpty()) return;
    // Zoomed out, only the pixels the cell shows are composed.
    if (IsReduced(CellSourceRect, dest) && CellSurface.Width() == kTileSize &&
        CellSurface.Height() == kTileSize) {
        DrawReducedCell(PicturesOf(*this, x, y), CellSourceRect, target, dest, Colours.Rgb32());
        return;
    }
    ComposeCell(x, y);
    CellSurface.DrawPart(target, CellSourceRect, dest, Colours.Rgb32());
}

} // namespace mapedit
