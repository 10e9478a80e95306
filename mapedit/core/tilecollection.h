#pragma once
// TTileCollection: the editor's tiles. Slots 1 to 1022 hold 32 x 32 pictures in
// one tall strip, each with the tile ID that map cells store; slot 0 is the
// palette's no-tile cell and slot 1023 has an ID but no picture.
#include "mapedit/core/colourtable.h"
#include "mapedit/core/dibsurface.h"
#include "mapedit/core/editorui.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace mapedit {

inline constexpr int kTileSize = 32;
inline constexpr int kSlotCount = 1024;
inline constexpr int kLastPictureSlot = 1022;
inline constexpr int kStripHeight = kTileSize * (kLastPictureSlot + 1); // 32736
inline constexpr int kPaletteCellSize = 16;
inline constexpr uint32_t kPaletteBlack = 0xFF000000u;
inline constexpr uint32_t kPaletteWhite = 0xFFFFFFFFu;

class TTileCollection {
public:
    // `colours` receives the colours of every picture loaded; `ui` shows the
    // loaders' progress and messages. Both must outlive the collection.
    TTileCollection(TColourTable& colours, EditorUi& ui);
    TTileCollection(const TTileCollection&) = delete;
    TTileCollection& operator=(const TTileCollection&) = delete;

    // True when the 32 x 32 block that SetTile would take from surface is colour 0.
    static bool IsBlank(const TDIB& surface);
    // Stores the 32 x 32 block at (0, 0) of source in slot (1 to 1022) with ID;
    // a blank source leaves the slot as it was.
    void SetTile(const TDIB& source, int slot, int32_t id);
    // Lowest slot from 1 to 1022 holding ID; 0 for ID 0 or when none holds it.
    int FindSlot(int32_t id) const;
    // Slots from 1 to 1022 whose ID equals id (0 included).
    int CountCopies(int32_t id) const;
    void ClearIds();

    const std::array<int32_t, kSlotCount>& Ids() const { return Ids_; }
    int32_t Id(int slot) const { return slot >= 0 && slot < kSlotCount ? Ids_[slot] : 0; }
    void SetId(int slot, int32_t id);

    // Slot 0 or an empty slot clears dest; otherwise the picture goes to (x, y).
    void DrawTile(TDIB& dest, int32_t x, int32_t y, int slot) const;
    void DrawTileById(TDIB& dest, int32_t x, int32_t y, int32_t id) const {
        DrawTile(dest, x, y, FindSlot(id));
    }
    // Slot 0 or an empty slot draws nothing; colour 0 is transparent.
    void DrawTileTransparent(TDIB& dest, int32_t x, int32_t y, int slot) const;
    void DrawTileTransparentById(TDIB& dest, int32_t x, int32_t y, int32_t id) const {
        DrawTileTransparent(dest, x, y, FindSlot(id));
    }
    // The picture DrawTileById and DrawTileTransparentById draw for id: 32 x 32
    // pixels, rows kTileSize apart; null when they draw none.
    const uint8_t* PictureById(int32_t id) const;
    // The 16 x 16 palette square at (x, y): slot 0 black, an empty slot white,
    // otherwise the slot's picture shrunk.
    void DrawPaletteCell(RgbTarget& target, int32_t x, int32_t y, int slot,
                         const std::array<uint32_t, 256>& rgb32) const;

    // Copies slot from over slot to. Refuses (returns false, changes nothing) for
    // slots outside 0 to 1023 and when it would overwrite the last copy of an ID.
    bool CopySlot(int from, int to);
    // The same, raising ELastOneLeft or FormatError("off end") when it refuses.
    void CopySlotOrThrow(int from, int to);

    // Loads a tile set file into the slots (see tilesetload.cpp).
    void LoadTileSet(const std::string& fileName);
    // Tile palette files: the arrangement of IDs over the slots.
    void SavePalette(const std::string& fileName) const;
    void LoadPalette(const std::string& fileName);

    const TDIB& Strip() const { return Strip_; }
    TDIB& TileSurface() { return TileSurface_; }

    // The loaded tile set file, recorded by saved maps.
    std::string FileName;
    // The tile palette's own file, kept apart from FileName so that saving a
    // palette never touches the tile set or the name that maps record.
    std::string PaletteFileName;

private:
    static bool HasPicture(int slot) { return slot >= 0 && slot <= kLastPictureSlot; }
    void RebuildIndex() const;
    void ReplaceArrangement(const std::array<int32_t, kSlotCount>& ids, const TDIB& strip);

    TColourTable& Colours_;
    EditorUi& Ui_;
    TDIB TileSurface_{kTileSize, kTileSize};
    std::array<int32_t, kSlotCount> Ids_{};
    TDIB Strip_{kTileSize, kStripHeight};

    // Lowest slot for each 16-bit ID, rebuilt after the IDs change: map cells are
    // drawn by ID thousands of times per repaint.
    mutable std::vector<uint16_t> SlotOfId_;
    mutable bool IndexDirty_ = true;
};

} // namespace mapedit
