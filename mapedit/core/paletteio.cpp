// Tile palette files: saving the arrangement of IDs over the slots, and loading
// one, which rearranges the pictures of the tile set that is loaded.
#include "formats/errors.h"
#include "formats/tilepalette.h"
#include "mapedit/core/tilecollection.h"

namespace mapedit {

void TTileCollection::SavePalette(const std::string& fileName) const {
    formats::TilePaletteIds ids{};
    // Files hold 16-bit IDs; a larger ID keeps its low 16 bits, as painting does.
    for (int slot = 0; slot < kSlotCount; ++slot)
        ids[slot] = static_cast<uint16_t>(Ids_[slot]);
    formats::WriteTilePalette(std::filesystem::path(fileName), ids);
}

void TTileCollection::LoadPalette(const std::string& fileName) {
    formats::TilePaletteIds file{};
    try {
        file = formats::WithFileName(
            fileName, [&] { return formats::ReadTilePalette(std::filesystem::path(fileName)); });
    } catch (const formats::ENotPaletteFile& e) {
        ClearIds();
        Ui_.ShowMessage(MessageKind::Error, e.what(), MessageButtons::Ok);
        return;
    }
    // Pictures are found by ID in the arrangement as it was before the load.
    // Slots whose ID the tile set lacks keep colour 0; slot 1023 becomes empty.
    TDIB strip(kTileSize, kStripHeight);
    std::array<int32_t, kSlotCount> ids{};
    for (int slot = 0; slot <= kLastPictureSlot; ++slot) {
        const int32_t id = file[size_t(slot)];
        if (int from = FindSlot(id); from != 0)
            strip.CopyRect(0, kTileSize * slot, kTileSize, kTileSize, 0, kTileSize * from, Strip_);
        ids[size_t(slot)] = id;
    }
    ReplaceArrangement(ids, strip);
}

} // namespace mapedit
