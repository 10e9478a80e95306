#include "mapedit/core/undo.h"

#include <algorithm>

namespace mapedit {

template <class F> void TUndo::ForEachCell(const TMapDocument& doc, F&& visit) const {
    if (Empty_) return;
    size_t cell = 0;
    const size_t step = size_t(ValuesPerCell());
    for (int32_t y = Area_.top; y <= Area_.bottom; ++y)
        for (int32_t x = Area_.left; x <= Area_.right; ++x, ++cell)
            if (doc.InMap(x, y)) visit(x, y, cell, cell * step);
}

TUndo::TUndo(const CellRect& area, uint8_t layer, const TMapDocument& doc) : Layer_(layer) {
    CellRect a = area;
    if (a.left > a.right) std::swap(a.left, a.right);
    if (a.top > a.bottom) std::swap(a.top, a.bottom);
    // An area that does not meet the map (or a layer the map lacks) covers no cell.
    Empty_ = layer >= kLayerCount || a.right < 0 || a.bottom < 0 || a.left >= doc.W() ||
             a.top >= doc.H();
    if (Empty_) {
        Area_ = CellRect::None();
        return;
    }
    a.left = std::max(a.left, 0);
    a.top = std::max(a.top, 0);
    a.right = std::min(a.right, doc.W() - 1);
    a.bottom = std::min(a.bottom, doc.H() - 1);
    Area_ = a;

    const size_t n = size_t(a.Width()) * size_t(a.Height()) * size_t(ValuesPerCell());
    Before.resize(n);
    After.resize(n);
    Undone.assign(n / size_t(ValuesPerCell()), 0);
    ForEachCell(doc, [&](int32_t x, int32_t y, size_t, size_t k) {
        if (Layer_ == kAttributeLayer) {
            Before[k] = doc.Cell(kAttributeLayer, x, y);
            Before[k + 1] = doc.Cell(kArgumentLayer, x, y);
        } else {
            Before[k] = doc.Cell(Layer_, x, y);
        }
    });
}

void TUndo::Undo(TMapDocument& doc, EditorUi& ui) {
    std::fill(Undone.begin(), Undone.end(), uint8_t(0));
    ForEachCell(doc, [&](int32_t x, int32_t y, size_t cell, size_t k) {
        Undone[cell] = 1;
        if (Layer_ == kAttributeLayer) {
            After[k] = doc.Cell(kAttributeLayer, x, y);
            After[k + 1] = doc.Cell(kArgumentLayer, x, y);
            doc.SetCell(kAttributeLayer, x, y, Before[k]);
            doc.SetCell(kArgumentLayer, x, y, Before[k + 1]);
        } else {
            After[k] = doc.Cell(Layer_, x, y);
            doc.SetCell(Layer_, x, y, Before[k]);
        }
        ui.RedrawCell(x, y);
    });
}

void TUndo::Redo(TMapDocument& doc, EditorUi& ui) {
    ForEachCell(doc, [&](int32_t x, int32_t y, size_t cell, size_t k) {
        if (!Undone[cell]) return;
        if (Layer_ == kAttributeLayer) {
            doc.SetCell(kAttributeLayer, x, y, After[k]);
            doc.SetCell(kArgumentLayer, x, y, After[k + 1]);
        } else {
            doc.SetCell(Layer_, x, y, After[k]);
        }
        ui.RedrawCell(x, y);
    });
}

void TUndoHistory::ShowEnabled(EditorUi& ui) const {
    ui.SetUndoEnabled(CanUndo());
    ui.SetRedoEnabled(CanRedo());
}

void TUndoHistory::Record(const CellRect& area, uint8_t layer, const TMapDocument& doc,
                          EditorUi& ui) {
    if (CanRedo()) {
        ui.SetRedoEnabled(false);
        UndoList.resize(size_t(UndoIndex_ + 1));
    }
    if (UndoList.size() >= kUndoCapacity) UndoList.erase(UndoList.begin());
    UndoList.push_back(std::make_unique<TUndo>(area, layer, doc));
    ui.SetUndoEnabled(true);
    UndoIndex_ = int32_t(UndoList.size()) - 1;
}

void TUndoHistory::Undo1Click(TMapDocument& doc, EditorUi& ui) {
    if (UndoIndex_ < 0) return;
    UndoList[size_t(UndoIndex_)]->Undo(doc, ui);
    --UndoIndex_;
    ShowEnabled(ui);
}

void TUndoHistory::Redo1Click(TMapDocument& doc, EditorUi& ui) {
    if (!CanRedo()) return;
    ++UndoIndex_;
    UndoList[size_t(UndoIndex_)]->Redo(doc, ui);
    ShowEnabled(ui);
}

bool TUndoHistory::FormKeyPress(char key, TMapDocument& doc, EditorUi& ui) {
    switch (key) {
    case ',':
    case '<':
    case 'U':
    case 'u':
        Undo1Click(doc, ui);
        return true;
    case '.':
    case '>':
    case 'R':
    case 'r':
        Redo1Click(doc, ui);
        return true;
    default:
        return false;
    }
}

void TUndoHistory::Clear(EditorUi& ui) {
    while (!UndoList.empty())
        UndoList.pop_back();
    ui.SetUndoEnabled(false);
    ui.SetRedoEnabled(false);
    UndoIndex_ = -1;
}

} // namespace mapedit
