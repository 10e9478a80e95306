// The palette grid's editing: choosing the right button's tile and arranging
// tiles by copying blocks of slots.
#include "mapedit/core/editor.h"

namespace mapedit {

void TEditor::PaletteRightClick(CellPos cell) {
    if (cell.column < 0 || cell.column >= kPaletteColumns || cell.row < 0) return;
    const CellPos old = RightTile;
    RightTile = cell;
    if (old == cell) return;
    Ui.RedrawPaletteCell(old.column, old.row);
    Ui.RedrawPaletteCell(cell.column, cell.row);
}

void TEditor::CopyPaletteBlock(CellPos cell) {
    if (cell.column < 0 || cell.row < 0) return;
    const CellRect s = PaletteSelection();
    // Cell by cell in reading order: an overlapping block reads what it has
    // already overwritten, as the palette always did.
    for (int32_t i = 0; i <= s.bottom - s.top; ++i)
        for (int32_t j = 0; j <= s.right - s.left; ++j) {
            if (cell.column + j >= kPaletteColumns) continue;
            Tiles.CopySlot((s.top + i) * kPaletteColumns + s.left + j,
                           (cell.row + i) * kPaletteColumns + cell.column + j);
            Ui.RedrawPaletteCell(cell.column + j, cell.row + i);
        }
}

} // namespace mapedit
