// TTileCollection::LoadTileSet: reads a tile set file and stores its tiles in
// the slots, showing its progress in a progress box.
#include "formats/text.h"
#include "formats/tileset.h"
#include "mapedit/core/tilecollection.h"
#include "mapedit/core/tilepictures.h"

#include <string_view>

namespace mapedit {

namespace fs = std::filesystem;

namespace {

const char* const kTooManyTiles =
    "The tile set holds more tiles than slots 1 to 1022 can take; the tiles after slot 1022 "
    "were not loaded";

} // namespace

void TTileCollection::LoadTileSet(const std::string& fileName) {
    std::error_code ec;
    if (fileName.empty() || !fs::is_regular_file(fileName, ec)) {
        Ui_.ShowMessage(MessageKind::Error, "No file by that name", MessageButtons::Ok);
        return;
    }
    std::unique_ptr<ProgressBox> box = Ui_.OpenProgress("Loading TileSet");
    FileName = fileName;
    // A palette saved for the set loaded before is not this set's: the next
    // "Save Tile Palette" asks for a name.
    PaletteFileName.clear();

    std::vector<uint8_t> bytes;
    if (const char* problem = formats::ReadTileSetFile(fileName, bytes))
        throw formats::ENotBlockFile(problem);
    const std::string_view contents = formats::AsText(bytes);
    box->SetText(ProgressLine::Label1, "File format is BLOCKTEXT");
    ClearIds();

    TTilePictures pictures(fs::path(fileName).parent_path(), Colours_,
                           [this] { Ui_.ProcessPendingEvents(); });
    auto showLoaded = [&](int loaded) {
        box->SetText(ProgressLine::Label2, "Tiles Loaded: " + std::to_string(loaded - 1));
    };
    // A picture that cannot be opened or read is reported and its line skipped.
    auto loadPicture = [&](const std::string& name) -> std::shared_ptr<const TDIB> {
        try {
            return pictures.Load(name);
        } catch (const formats::EFOpenError&) {
        } catch (const formats::EInOutError&) {
        }
        Ui_.ShowMessage(MessageKind::Error, "Error loading " + name, MessageButtons::Ignore);
        return nullptr;
    };
    auto slotsFull = [&](int slot) {
        if (slot <= kLastPictureSlot) return false;
        Ui_.ShowMessage(MessageKind::Error, kTooManyTiles, MessageButtons::Ok);
        return true;
    };

    int slot = 1;
    int loaded = 1;
    // Returns false when the load ends early (the slots are full).
    auto loadLine = [&](std::string_view text) -> bool {
        Ui_.ProcessPendingEvents();
        showLoaded(loaded);
        const formats::TileSetLine line = formats::ParseTileSetLine(std::string(text));
        if (line.newLine) slot = formats::RoundUpToTen(slot);

        switch (line.kind) {
        case formats::TileSetLine::Kind::Setting:
            if (line.key == "WIDTH" || line.key == "HEIGHT") {
                if (formats::StrToInt(line.value) != kTileSize)
                    throw formats::ETileWrongSize("The Tileset has the wrong size tiles");
                if (line.key == "WIDTH")
                    box->SetText(ProgressLine::Label3, "Tile Width: 32");
                else
                    box->SetText(ProgressLine::Label4, "Tile Height: 32");
            }
            break;

        case formats::TileSetLine::Kind::Tile: {
            if (line.faulty) break;
            if (slotsFull(slot)) return false;
            box->SetText(ProgressLine::CurrentString, "Loading single tile" + line.file);
            const std::shared_ptr<const TDIB> picture = loadPicture(line.file);
            if (!picture) break;
            SetTile(*picture, slot, formats::StrToInt(line.id));
            ++loaded;
            ++slot;
            break;
        }

        case formats::TileSetLine::Kind::Tiles: {
            if (line.faulty) break;
            box->SetText(ProgressLine::CurrentString, "Loading image " + line.file);
            const std::shared_ptr<const TDIB> sheet = loadPicture(line.file);
            if (!sheet) break;
            const int columns = formats::StrToInt(line.columns);
            const int rows = formats::StrToInt(line.rows);
            box->SetText(ProgressLine::CurrentString, "Reading tiles from image");
            if (columns <= 0 || rows <= 0) break;
            const int64_t firstId = formats::StrToInt(line.id);
            for (int r = 0; r < rows; ++r) {
                slot = formats::RoundUpToTen(slot);
                for (int c = 0; c < columns; ++c) {
                    showLoaded(loaded);
                    Ui_.ProcessPendingEvents();
                    if (slotsFull(slot)) return false;
                    // Each block starts from colour 0, so a sheet smaller than its
                    // grid leaves no pixels of an earlier tile behind.
                    TileSurface_.SetWidth(kTileSize);
                    TileSurface_.SetHeight(kTileSize);
                    TileSurface_.Clear();
                    TileSurface_.CopyRect(0, 0, kTileSize, kTileSize, kTileSize * c, kTileSize * r,
                                          *sheet);
                    SetTile(TileSurface_, slot,
                            static_cast<int32_t>(firstId + c + int64_t(r) * columns));
                    ++loaded;
                    ++slot;
                }
            }
            break;
        }

        case formats::TileSetLine::Kind::Ignored:
            break;
        }
        return true;
    };
    formats::ForEachTileSetLine(
        contents, [&](int number, std::string_view text) { return number == 1 || loadLine(text); });
}

} // namespace mapedit
