#pragma once
// What the palette grid's right and middle buttons do to the editor: move the
// right-button tile, and copy the selected block of slots to another place.
#include "mapedit/core/editor.h"

#include <vector>

namespace mapedit::ui {

// Makes `cell` the tile of the right mouse button. Returns the palette cells
// whose frame changed (the old one, then the new one); none when it stays.
std::vector<CellPos> SetRightTile(TEditor& editor, CellPos cell);

// Copies the selected block so that its top-left cell lands on `dest`, cell by
// cell from the top row down (an overlapping copy reads cells it has already
// written). Columns beyond the palette's right edge are dropped; a slot whose
// copy the collection refuses stays as it was. Returns the destination cells
// inside the grid, in the order they were visited.
std::vector<CellPos> CopyBlock(TTileCollection& tiles, const CellRect& selection, CellPos dest);

} // namespace mapedit::ui
