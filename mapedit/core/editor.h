#pragma once
// TEditor: everything the editor's main window holds apart from its widgets:
// the map document, the tile collection, the cell surface, the editing state
// shared by the tools, and the undo history. The window forwards its events
// here and answers through EditorUi.
#include "formats/stream.h"
#include "mapedit/core/attributes.h"
#include "mapedit/core/colourtable.h"
#include "mapedit/core/dibsurface.h"
#include "mapedit/core/document.h"
#include "mapedit/core/editorui.h"
#include "mapedit/core/geometry.h"
#include "mapedit/core/tilecollection.h"
#include "mapedit/core/undo.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace mapedit {

enum class MouseButton { Left, Right, Middle, Other };

// The show check boxes; they also decide which layers may be painted.
struct ShowOptions {
    bool DrawBackGround = true;   // "Background", layer 0
    bool DrawCollisions = false;  // "Collisions", layer 3
    bool DrawMiddleGround = true; // "Fore 1", layer 1
    bool DrawForeGround = true;   // "Fore 2", layer 2
    bool DrawTerrain = true;      // "Atrributes A", labels of attribute A
    bool DrawEffect = true;       // "Attributes B", labels of attribute B
};

inline constexpr int kPaletteColumns = 10;
inline constexpr int kPaletteRows = 100;
inline constexpr uint32_t kInitialSlabColor = 0x00FF00FF;  // fuchsia
inline constexpr uint32_t kInitialFlagsColor = 0x00FF0000; // blue

class TEditor {
public:
    // The constructor does not call `ui`, so a window may hold the editor as a
    // member and pass itself; it calls Start once its controls exist.
    explicit TEditor(EditorUi& ui);
    TEditor(const TEditor&) = delete;
    TEditor& operator=(const TEditor&) = delete;

    EditorUi& Ui;
    TMapDocument Doc;
    TColourTable Colours;
    TAttrCatalogue Attrs;
    TTileCollection Tiles;
    TDIB CellSurface{kTileSize, kTileSize};
    TUndoHistory History;

    // Editing state.
    uint8_t CurrentLayer = 0;
    int32_t AttrBank = 1; // 1: attribute A, 2: attribute B
    TAttrInfo* CurrentAttr;
    CellRect StampOutline = CellRect::None();
    CellPos StatusCell{0, 0};
    CellPos RightTile{0, 0}; // palette cell of the right mouse button

    // Inputs from the window's controls.
    CellRect Selection{0, 0, 0, 0}; // palette selection, columns and rows
    uint8_t HandleX = 1;            // handle window: 0 left, 1 centre, 2 right
    uint8_t HandleY = 1;            // 0 top, 1 middle, 2 bottom
    ShowOptions Show;
    bool SlabOutline = true;
    bool SlabTiles = false;

    // Colours of the window (0x00BBGGRR).
    uint32_t SlabColor = kInitialSlabColor;
    uint32_t AttrAColor = kInitialAttrAColor;
    uint32_t AttrBColor = kInitialAttrBColor;
    uint32_t FlagsColor = kInitialFlagsColor;
    PixelRect CellSourceRect{0, 0, kTileSize, kTileSize};

    // ---- the document ----
    // Shows the empty document: caption "Untitled", "&Undo" and "&Redo" disabled.
    void Start() { ClearDocument(); }
    // Empties the undo history and every cell, names the document "Untitled".
    void ClearDocument();
    // DocName takes the program-relative form (the caption); DocPath the name as given.
    void SetDocName(const std::string& name);
    // New map size; cells keep their column and row. Raises EMapSize.
    void ResizePlanes(int32_t newWidth, int32_t newHeight);

    // ---- painting (editing.cpp) ----
    bool LayerEditable(int layer) const;
    uint16_t AttrMask() const;
    uint16_t AttrValue() const;
    uint16_t ArgValue() const;
    void PaintCell(int32_t x, int32_t y, int layer, uint16_t value);
    void PreviewCell(int32_t x, int32_t y, int layer, uint16_t value);
    void EraseAttr(int32_t x, int32_t y);
    // The palette selection put in order and kept inside the palette grid.
    CellRect PaletteSelection() const;
    // The stamp anchored at a map cell by the handle; none for no cell.
    CellRect StampRect(CellPos cell) const;
    // A press in the map view on `cell` ((-1, -1) when the press hit no cell).
    void MapMouseDown(MouseButton button, CellPos cell);
    // The mouse moved over the map view onto `cell`.
    void MapMouseMove(CellPos cell);
    void UpdateStampOutline(const CellRect& rect);
    // Options "Slab Outline" and "Slab Tiles": the outline is removed under the
    // old setting first.
    void SetSlabOutline(bool on);
    void SetSlabTiles(bool on);
    void ShowStatus();
    // Layer buttons (their click handlers).
    void LayerButtonClick(LayerButton button);

    // ---- attribute tools (attrtools.cpp) ----
    void AttrPresetClick(int tag);
    void AttrArgPresetClick(int32_t value);
    void MaskEdit1Change(const std::string& text);
    void SelectAttrLayer();

    // ---- the palette grid (palettegrid.cpp) ----
    // Right button on a palette cell: it becomes the right mouse button's tile.
    void PaletteRightClick(CellPos cell);
    // Middle button (or Ctrl and right) on a palette cell: the selected block is
    // copied slot by slot so that its top left lands there; columns beyond the
    // palette's right edge are dropped and refused copies leave a slot as it was.
    void CopyPaletteBlock(CellPos cell);

    // ---- undo ----
    void Undo1Click() { History.Undo1Click(Doc, Ui); }
    void Redo1Click() { History.Redo1Click(Doc, Ui); }
    bool FormKeyPress(char key) { return History.FormKeyPress(key, Doc, Ui); }

    // ---- the map view (mapview.cpp) ----
    // Stacks the shown tile layers of map cell (x, y) in CellSurface.
    void ComposeCell(int32_t x, int32_t y);
    // ComposeCell, then shows CellSourceRect of CellSurface in `dest` of the
    // target through the display colours. The attribute labels are the window's.
    // A `dest` smaller than the source is drawn without CellSurface: only the
    // pixels shown are composed, with the same result.
    void DrawCell(RgbTarget& target, int32_t x, int32_t y, const PixelRect& dest);
    // "Real Shadows".
    void SetShadeMode(bool on) { CellSurface.ShadeMode = on; }

    // ---- map files (mapio.cpp) ----
    // Reads a map into the document, which the caller has emptied. `mapFile`
    // names the file the stream holds: its directory is searched first for the
    // tile set. Raises EmapLoad.
    void MapFromStream(formats::Stream& stream, const std::filesystem::path& mapFile);
    // Reads the named map file; names the document and clears Modified only on success.
    void OpenMapFile(const std::string& name);
    // Writes the document to the named file. Raises EInOutError.
    void WriteMap(const std::string& name);
};

} // namespace mapedit
