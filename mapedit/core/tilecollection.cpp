#include "mapedit/core/tilecollection.h"

#include "mapedit/core/errors.h"

#include <algorithm>

namespace mapedit {

TTileCollection::TTileCollection(TColourTable& colours, EditorUi& ui)
    : Colours_(colours), Ui_(ui) {}

bool TTileCollection::IsBlank(const TDIB& surface) {
    const int32_t w = std::min(surface.Width(), kTileSize);
    const int32_t h = std::min(surface.Height(), kTileSize);
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* row = surface.Row(y);
        if (std::any_of(row, row + w, [](uint8_t p) { return p != 0; })) return false;
    }
    return true;
}

void TTileCollection::SetTile(const TDIB& source, int slot, int32_t id) {
    if (!HasPicture(slot) || IsBlank(source)) return;
    // A picture smaller than a tile leaves the rest of the slot at colour 0.
    for (int32_t y = 0; y < kTileSize; ++y)
        std::fill_n(Strip_.Row(kTileSize * slot + y), kTileSize, uint8_t(0));
    Strip_.CopyRect(0, kTileSize * slot, kTileSize, kTileSize, 0, 0, source);
    SetId(slot, id);
}

void TTileCollection::SetId(int slot, int32_t id) {
    if (slot < 0 || slot >= kSlotCount) return;
    Ids_[slot] = id;
    IndexDirty_ = true;
}

void TTileCollection::RebuildIndex() const {
    SlotOfId_.assign(65536, 0);
    for (int s = kLastPictureSlot; s >= 1; --s)
        if (Ids_[s] > 0 && Ids_[s] < 65536) SlotOfId_[size_t(Ids_[s])] = uint16_t(s);
    IndexDirty_ = false;
}

int TTileCollection::FindSlot(int32_t id) const {
    if (id == 0) return 0;
    if (id > 0 && id < 65536) {
        if (IndexDirty_) RebuildIndex();
        return SlotOfId_[size_t(id)];
    }
    for (int s = 1; s <= kLastPictureSlot; ++s)
        if (Ids_[s] == id) return s;
    return 0;
}

int TTileCollection::CountCopies(int32_t id) const {
    return int(std::count(Ids_.begin() + 1, Ids_.begin() + kLastPictureSlot + 1, id));
}

void TTileCollection::ClearIds() {
    Ids_.fill(0);
    IndexDirty_ = true;
}

void TTileCollection::DrawTile(TDIB& dest, int32_t x, int32_t y, int slot) const {
    if (slot <= 0 || slot >= kSlotCount || Ids_[slot] == 0) {
        dest.Clear();
        return;
    }
    dest.CopyRect(x, y, kTileSize, kTileSize, 0, kTileSize * slot, Strip_);
}

void TTileCollection::DrawTileTransparent(TDIB& dest, int32_t x, int32_t y, int slot) const {
    if (slot <= 0 || slot >= kSlotCount || Ids_[slot] == 0) return;
    dest.TransparentCopy(x, y, kTileSize, kTileSize, 0, kTileSize * slot, Strip_);
}

const uint8_t* TTileCollection::PictureById(int32_t id) const {
    const int slot = FindSlot(id);
    if (slot <= 0 || !HasPicture(slot) || Ids_[slot] == 0) return nullptr;
    return Strip_.Row(kTileSize * slot);
}

void TTileCollection::DrawPaletteCell(RgbTarget& target, int32_t x, int32_t y, int slot,
                                      const std::array<uint32_t, 256>& rgb32) const {
    const PixelRect square{x, y, x + kPaletteCellSize, y + kPaletteCellSize};
    if (slot == 0) {
        FillRgb(target, square, kPaletteBlack);
    } else if (Id(slot) == 0 || !HasPicture(slot)) {
        FillRgb(target, square, kPaletteWhite);
    } else {
        Strip_.DrawPart(target, PixelRect{0, kTileSize * slot, kTileSize, kTileSize * (slot + 1)},
                        square, rgb32);
    }
}

void TTileCollection::CopySlotOrThrow(int from, int to) {
    if (from < 0 || from >= kSlotCount || to < 0 || to >= kSlotCount)
        throw formats::FormatError("off end");
    if (CountCopies(Ids_[to]) == 1) throw ELastOneLeft("Attempted to kill last copy of a tile");
    SetId(to, Ids_[from]);
    if (HasPicture(from) && HasPicture(to) && from != to)
        Strip_.CopyRect(0, kTileSize * to, kTileSize, kTileSize, 0, kTileSize * from, Strip_);
}

bool TTileCollection::CopySlot(int from, int to) {
    try {
        CopySlotOrThrow(from, to);
        return true;
    } catch (const formats::FormatError&) {
        return false;
    }
}

void TTileCollection::ReplaceArrangement(const std::array<int32_t, kSlotCount>& ids,
                                         const TDIB& strip) {
    Ids_ = ids;
    IndexDirty_ = true;
    Strip_.CopyRect(0, 0, kTileSize, kStripHeight, 0, 0, strip);
}

} // namespace mapedit
