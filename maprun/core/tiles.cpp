#include "maprun/core/tiles.h"

#include "formats/pbm.h"
#include "formats/stream.h"
#include "formats/text.h"
#include "formats/tileset.h"
#include "maprun/core/tilepictures.h"

#include <algorithm>
#include <climits>
#include <string>

namespace maprun {

namespace fs = std::filesystem;

namespace {

constexpr int kTileSide = 32;

// The block of a sheet's column and row. A block too far out for int lies
// beyond any picture, so it is given as the empty rectangle.
TRect TileRect(int64_t column, int64_t row) {
    constexpr int64_t kFar = INT_MAX / 2;
    if (column * kTileSide > kFar || row * kTileSide > kFar) return TRect{0, 0, -1, -1};
    const auto left = static_cast<int>(column * kTileSide);
    const auto top = static_cast<int>(row * kTileSide);
    return TRect{left, top, left + kTileSide - 1, top + kTileSide - 1};
}

void CheckSetting(const formats::TileSetLine& line) {
    if (line.key != "WIDTH" && line.key != "HEIGHT") return;
    if (formats::StrToInt(line.value) != kTileSide)
        throw formats::ETileLoader("The Tileset has the wrong size tiles");
}

// A sheet of columns x rows tiles numbered from `first`, row by row. Only the
// numbers that the store can hold are cut, so that a line claiming millions of
// tiles costs no more than one within range.
void AddSheet(TTiles& tiles, const formats::TPBMImage& picture, int64_t first, int64_t columns,
              int64_t rows) {
    if (columns <= 0 || rows <= 0) return;
    // Rows whose numbers all lie below 0 are passed over at once.
    const int64_t firstRow = first < 0 ? std::max<int64_t>(0, -first / columns - 1) : 0;
    for (int64_t r = firstRow; r < rows; ++r) {
        const int64_t rowFirst = first + r * columns;
        if (rowFirst >= TTiles::kMaxIndex) break;
        const int64_t cFrom = std::max<int64_t>(0, -rowFirst);
        const int64_t cTo = std::min<int64_t>(columns, TTiles::kMaxIndex - rowFirst);
        for (int64_t c = cFrom; c < cTo; ++c)
            tiles.AddTile(picture, TileRect(c, r), static_cast<int>(rowFirst + c));
    }
}

void LoadLine(TTiles& tiles, const formats::TileSetLine& line, TTilePictures& pictures) {
    using Kind = formats::TileSetLine::Kind;
    if (line.faulty) return;
    if (line.kind == Kind::Tile) {
        const int id = formats::StrToInt(line.id);
        if (const auto picture = pictures.Get(line.file))
            tiles.AddTile(*picture, TileRect(0, 0), id);
    } else if (line.kind == Kind::Tiles) {
        const int first = formats::StrToInt(line.id);
        const int columns = formats::StrToInt(line.columns);
        const int rows = formats::StrToInt(line.rows);
        if (const auto picture = pictures.Get(line.file))
            AddSheet(tiles, *picture, first, columns, rows);
    }
}

void LoadTileSet(TTiles& tiles, const fs::path& fileName,
                 const formats::ProgressCallback& progress) {
    std::error_code ec;
    if (!fs::is_regular_file(fileName, ec)) throw formats::ETileLoader("No file by that name");
    std::vector<uint8_t> bytes;
    if (const char* problem = formats::ReadTileSetFile(fileName, bytes))
        throw formats::ETileLoader(problem);
    const std::string_view contents = formats::AsText(bytes);

    TTilePictures pictures(fileName.parent_path(), progress);
    formats::ForEachTileSetLine(contents, [&](int number, std::string_view text) {
        if (number == 1) return true;
        const formats::TileSetLine line = formats::ParseTileSetLine(std::string(text));
        if (line.kind == formats::TileSetLine::Kind::Setting) {
            CheckSetting(line); // a number that does not convert ends the load
            return true;
        }
        try {
            LoadLine(tiles, line, pictures);
        } catch (const formats::FormatError&) {
            // A bad number skips the line (a missing or unreadable picture is
            // skipped by LoadLine); tiles of a sheet added before it stay.
        }
        return true;
    });
}

} // namespace

void TTiles::AddTile(const formats::TPBMImage& image, const TRect& rect, int index) {
    if (index < 0 || index >= kMaxIndex) return;
    FList[index] = MakeSprite(image, rect);
    FExpanded[index] = ExpandTile(FList[index].get());
}

void TTiles::LoadFromFile(const fs::path& fileName, const formats::ProgressCallback& progress) {
    // Errors name the tile set, so that a message says which file to mend.
    formats::WithFileName(fileName, [&] { LoadTileSet(*this, fileName, progress); });
}

} // namespace maprun
