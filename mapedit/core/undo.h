#pragma once
// Undo and redo: every press in the map view records the cells under its stamp
// on the current layer; the history keeps at most 50 steps.
#include "mapedit/core/document.h"
#include "mapedit/core/editorui.h"
#include "mapedit/core/geometry.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace mapedit {

// One step. On layer 5 each covered cell is held twice: layer 5, then layer 4.
class TUndo {
public:
    // Takes the area clipped to the map and copies its cells of `layer`.
    TUndo(const CellRect& area, uint8_t layer, const TMapDocument& doc);

    // Puts the recorded cells back, keeping the current ones for Redo.
    void Undo(TMapDocument& doc, EditorUi& ui);
    // Puts back the cells that Undo replaced.
    void Redo(TMapDocument& doc, EditorUi& ui);

    const CellRect& Area() const { return Area_; }
    bool Empty() const { return Empty_; }
    uint8_t Layer() const { return Layer_; }

private:
    // Visits the covered cells in order with their number and their position k
    // in Before and After. Cells that lie outside the map as it is now (it may
    // have shrunk since the step was made) are skipped.
    template <class F> void ForEachCell(const TMapDocument& doc, F&& visit) const;
    int ValuesPerCell() const { return Layer_ == kAttributeLayer ? 2 : 1; }

    CellRect Area_;
    bool Empty_ = true;
    uint8_t Layer_ = 0;
    std::vector<uint16_t> Before;
    std::vector<uint16_t> After;
    // Which cells the last Undo restored: Redo writes only those, so a cell
    // that lay outside a shrunk map is never given a stale After value.
    std::vector<uint8_t> Undone;
};

inline constexpr size_t kUndoCapacity = 50;

// UndoList and UndoIndex with the Edit menu's enabling rules.
class TUndoHistory {
public:
    // Called at the start of every press, before anything is painted.
    void Record(const CellRect& area, uint8_t layer, const TMapDocument& doc, EditorUi& ui);
    void Undo1Click(TMapDocument& doc, EditorUi& ui);
    void Redo1Click(TMapDocument& doc, EditorUi& ui);
    // "," "<" "U" "u" undo; "." ">" "R" "r" redo. Returns whether the key was used.
    bool FormKeyPress(char key, TMapDocument& doc, EditorUi& ui);
    // Releases every step and disables both menu items.
    void Clear(EditorUi& ui);

    size_t Count() const { return UndoList.size(); }
    int32_t UndoIndex() const { return UndoIndex_; }
    bool CanUndo() const { return UndoIndex_ >= 0; }
    bool CanRedo() const { return UndoIndex_ < int32_t(UndoList.size()) - 1; }
    const TUndo& Step(size_t i) const { return *UndoList[i]; }

private:
    void ShowEnabled(EditorUi& ui) const;

    std::vector<std::unique_ptr<TUndo>> UndoList;
    int32_t UndoIndex_ = -1;
};

} // namespace mapedit
