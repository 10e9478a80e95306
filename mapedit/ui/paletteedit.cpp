#include "mapedit/ui/paletteedit.h"

namespace mapedit::ui {

std::vector<CellPos> SetRightTile(TEditor& editor, CellPos cell) {
    if (cell.column < 0 || cell.row < 0 || cell.column >= kPaletteColumns ||
        cell.row >= kPaletteRows)
        return {};
    const CellPos old = editor.RightTile;
    if (old == cell) return {};
    editor.RightTile = cell;
    return {old, cell};
}

std::vector<CellPos> CopyBlock(TTileCollection& tiles, const CellRect& s, CellPos dest) {
    std::vector<CellPos> visited;
    if (dest.column < 0 || dest.row < 0) return visited;
    for (int32_t i = 0; i <= s.bottom - s.top; ++i) {
        for (int32_t j = 0; j <= s.right - s.left; ++j) {
            if (dest.column + j >= kPaletteColumns) continue;
            const int from = (s.top + i) * kPaletteColumns + (s.left + j);
            const int to = (dest.row + i) * kPaletteColumns + (dest.column + j);
            tiles.CopySlot(from, to);
            if (dest.row + i < kPaletteRows) visited.push_back({dest.column + j, dest.row + i});
        }
    }
    return visited;
}

} // namespace mapedit::ui
