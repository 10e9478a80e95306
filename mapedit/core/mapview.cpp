// Composing one map cell for the view: the shown tile layers stacked in the
// cell surface (background, collision, middle ground, foreground).
#include "mapedit/core/editor.h"

namespace mapedit {

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
    ComposeCell(x, y);
    CellSurface.DrawPart(target, CellSourceRect, dest, Colours.Rgb32());
}

} // namespace mapedit
