// Painting with the mouse: the cell writes, the stamp geometry, the press
// handler, the hover outline and the status panels.
#include "mapedit/core/editor.h"

#include <algorithm>

namespace mapedit {

bool TEditor::LayerEditable(int layer) const {
    switch (layer) {
    case 0:
        return Show.DrawBackGround;
    case 1:
        return Show.DrawMiddleGround;
    case 2:
        return Show.DrawForeGround;
    case 3:
        return Show.DrawCollisions;
    case kAttributeLayer:
        return (AttrBank == 1 && Show.DrawTerrain) || (AttrBank == 2 && Show.DrawEffect);
    default:
        return false;
    }
}

uint16_t TEditor::AttrMask() const {
    return AttrBank == 1 ? 0x00FF : AttrBank == 2 ? 0xFF00 : 0;
}

uint16_t TEditor::AttrValue() const {
    if (AttrBank == 1) return CurrentAttr->Code;
    if (AttrBank == 2) return uint16_t(CurrentAttr->Code << 8);
    return 0;
}

uint16_t TEditor::ArgValue() const {
    const uint16_t arg = uint16_t(CurrentAttr->Arg & 0xFF);
    if (AttrBank == 1) return arg;
    if (AttrBank == 2) return uint16_t(arg << 8);
    return 0;
}

void TEditor::PaintCell(int32_t x, int32_t y, int layer, uint16_t value) {
    if (LayerEditable(layer) && Doc.InMap(x, y)) {
        if (layer == kAttributeLayer) {
            const uint16_t keep = uint16_t(~AttrMask());
            Doc.SetCell(kAttributeLayer, x, y,
                        uint16_t((Doc.Cell(kAttributeLayer, x, y) & keep) | AttrValue()));
            Doc.SetCell(kArgumentLayer, x, y,
                        uint16_t((Doc.Cell(kArgumentLayer, x, y) & keep) | ArgValue()));
        } else {
            Doc.SetCell(layer, x, y, value);
        }
        Ui.RedrawCell(x, y);
        Doc.Modified = true;
    }
    ShowStatus();
}

void TEditor::PreviewCell(int32_t x, int32_t y, int layer, uint16_t value) {
    if (!LayerEditable(layer) || !Doc.InMap(x, y)) return;
    const uint16_t oldAttr = Doc.Cell(kAttributeLayer, x, y);
    const uint16_t oldArg = Doc.Cell(kArgumentLayer, x, y);
    const uint16_t oldCell = Doc.Cell(layer, x, y);
    if (layer == kAttributeLayer) {
        const uint16_t keep = uint16_t(~AttrMask());
        Doc.SetCell(kAttributeLayer, x, y, uint16_t((oldAttr & keep) | AttrValue()));
        Doc.SetCell(kArgumentLayer, x, y, uint16_t((oldArg & keep) | ArgValue()));
    } else {
        Doc.SetCell(layer, x, y, value);
    }
    Ui.RedrawCell(x, y);
    Doc.SetCell(layer, x, y, oldCell);
    Doc.SetCell(kAttributeLayer, x, y, oldAttr);
    Doc.SetCell(kArgumentLayer, x, y, oldArg);
}

void TEditor::EraseAttr(int32_t x, int32_t y) {
    if (!LayerEditable(kAttributeLayer) || !Doc.InMap(x, y)) return;
    const uint16_t keep = uint16_t(~AttrMask());
    Doc.SetCell(kAttributeLayer, x, y, uint16_t(Doc.Cell(kAttributeLayer, x, y) & keep));
    Doc.SetCell(kArgumentLayer, x, y, uint16_t(Doc.Cell(kArgumentLayer, x, y) & keep));
    Ui.RedrawCell(x, y);
    ShowStatus();
    Doc.Modified = true;
}

CellRect TEditor::PaletteSelection() const {
    CellRect s = Selection;
    if (s.left > s.right) std::swap(s.left, s.right);
    if (s.top > s.bottom) std::swap(s.top, s.bottom);
    s.left = std::clamp(s.left, 0, kPaletteColumns - 1);
    s.right = std::clamp(s.right, 0, kPaletteColumns - 1);
    s.top = std::clamp(s.top, 0, kPaletteRows - 1);
    s.bottom = std::clamp(s.bottom, 0, kPaletteRows - 1);
    return s;
}

CellRect TEditor::StampRect(CellPos cell) const {
    // A point over no cell (beyond the map's last row or column) gives no stamp,
    // so that such a press or hover never lands on the map's corner.
    if (cell.column < 0 || cell.row < 0) return CellRect::None();
    const CellRect s = PaletteSelection();
    const int32_t w = s.right - s.left, h = s.bottom - s.top;
    int32_t c = cell.column, r = cell.row;
    if (HandleX == 1) c -= w / 2;
    if (HandleX == 2) c -= w;
    if (HandleY == 1) r -= h / 2;
    if (HandleY == 2) r -= h;
    return CellRect{c, r, c + w, r + h};
}

void TEditor::MapMouseDown(MouseButton button, CellPos cell) {
    const CellRect rect = StampRect(cell);
    if (rect.IsNone()) return;
    History.Record(rect, CurrentLayer, Doc, Ui);
    if (button != MouseButton::Left && button != MouseButton::Right) return;

    const CellRect s = PaletteSelection();
    const bool single = s.left == s.right && s.top == s.bottom;
    const uint16_t rightTile =
        uint16_t(Tiles.Id(RightTile.row * kPaletteColumns + RightTile.column));
    for (int32_t pr = s.top; pr <= s.bottom; ++pr) {
        for (int32_t pc = s.left; pc <= s.right; ++pc) {
            const int32_t id = Tiles.Id(pr * kPaletteColumns + pc);
            const int32_t x = rect.left + (pc - s.left), y = rect.top + (pr - s.top);
            if (button == MouseButton::Left) {
                // Empty palette cells are holes in the stamp, unless the stamp is
                // that one empty cell: then it erases.
                if (id != 0 || single) PaintCell(x, y, CurrentLayer, uint16_t(id));
            } else if (id != 0) {
                if (CurrentLayer == kAttributeLayer)
                    EraseAttr(x, y);
                else
                    PaintCell(x, y, CurrentLayer, rightTile);
            }
        }
    }
}

void TEditor::MapMouseMove(CellPos cell) {
    if (cell != StatusCell) {
        StatusCell = cell;
        ShowStatus();
    }
    UpdateStampOutline(StampRect(cell));
}

void TEditor::UpdateStampOutline(const CellRect& rect) {
    if (rect == StampOutline) return;
    if (!StampOutline.IsNone()) {
        const CellRect& old = StampOutline;
        for (int32_t y = std::max(old.top, 0); y <= old.bottom && y < Doc.H(); ++y)
            for (int32_t x = std::max(old.left, 0); x <= old.right && x < Doc.W(); ++x)
                if (SlabTiles || x == old.left || x == old.right || y == old.top || y == old.bottom)
                    Ui.RedrawCell(x, y);
    }
    StampOutline = rect;
    if (rect.IsNone()) return;
    if (SlabTiles) {
        const CellRect s = PaletteSelection();
        for (int32_t y = rect.top; y <= rect.bottom; ++y)
            for (int32_t x = rect.left; x <= rect.right; ++x) {
                const int32_t id =
                    Tiles.Id((s.top + y - rect.top) * kPaletteColumns + s.left + x - rect.left);
                if (id != 0) PreviewCell(x, y, CurrentLayer, uint16_t(id));
            }
    }
    if (SlabOutline) Ui.DrawStampOutline(rect, SlabColor);
}

void TEditor::SetSlabOutline(bool on) {
    UpdateStampOutline(CellRect::None());
    SlabOutline = on;
}

void TEditor::SetSlabTiles(bool on) {
    UpdateStampOutline(CellRect::None());
    SlabTiles = on;
}

void TEditor::ShowStatus() {
    if (StatusCell.column < 0 || StatusCell.row < 0) return;
    Ui.SetStatusText(StatusPanel::CoordsDisp,
                     std::to_string(StatusCell.column) + "," + std::to_string(StatusCell.row));
    // A cell outside the map (after it shrank) has no attributes to show.
    uint16_t a = 0, g = 0;
    if (Doc.InMap(StatusCell.column, StatusCell.row)) {
        a = Doc.Cell(kAttributeLayer, StatusCell.column, StatusCell.row);
        g = Doc.Cell(kArgumentLayer, StatusCell.column, StatusCell.row);
    }
    const TAttrInfo* attrA = Attrs.FindAttr(uint8_t(a & 0xFF));
    const TAttrInfo* attrB = Attrs.FindAttr(uint8_t(a >> 8));
    Ui.SetStatusText(StatusPanel::TerrainDisp,
                     attrA ? attrA->Name + ": " + std::to_string(g & 0xFF) : std::string());
    Ui.SetStatusText(StatusPanel::EffectDisp,
                     attrB ? attrB->Name + ": " + std::to_string(g >> 8) : std::string());
}

void TEditor::LayerButtonClick(LayerButton button) {
    switch (button) {
    case LayerButton::BackGroundButton:
        CurrentLayer = 0;
        break;
    case LayerButton::MiddleGroundButton:
        CurrentLayer = 1;
        break;
    case LayerButton::ForeGroundButton:
        CurrentLayer = 2;
        break;
    case LayerButton::CollisionsButton:
        CurrentLayer = 3;
        break;
    case LayerButton::AttributesButton:
        CurrentLayer = kAttributeLayer;
        AttrBank = 1;
        break;
    case LayerButton::AttributesButton2:
        CurrentLayer = kAttributeLayer;
        AttrBank = 2;
        break;
    }
}

} // namespace mapedit
