#include "formats/tileset.h"

#include "formats/stream.h"
#include "formats/text.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace formats {
namespace {

constexpr int kTileSize = 32;
constexpr int kMaxTileId = 65535;

std::optional<int> ToInt(const std::string& s) {
    try {
        return StrToInt(s);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

bool IsTileId(std::optional<int> id) {
    return id && *id >= 0 && *id <= kMaxTileId;
}

bool IsSheetCount(std::optional<int> n) {
    return n && *n >= 0 && *n <= kMaxSheetTiles;
}

// Adds the tiles of one TILE or TILES line; false when the line is faulty.
bool ListLine(const TileSetLine& line, int lineNumber, TileSetListing& listing) {
    if (line.faulty) return false;
    const std::optional<int> first = ToInt(line.id);
    if (!IsTileId(first)) return false;
    if (line.kind == TileSetLine::Kind::Tile) {
        if (listing.tiles.size() >= kMaxListedTiles) return false;
        listing.tiles.push_back({*first, line.file, 0, 0, lineNumber});
        return true;
    }
    const std::optional<int> columns = ToInt(line.columns);
    const std::optional<int> rows = ToInt(line.rows);
    if (!IsSheetCount(columns) || !IsSheetCount(rows)) return false;
    const long long count = static_cast<long long>(*columns) * *rows;
    if (count == 0) return true;
    if (*first + count - 1 > kMaxTileId) return false;
    if (listing.tiles.size() + static_cast<size_t>(count) > kMaxListedTiles) return false;
    for (int r = 0; r < *rows; ++r) {
        for (int c = 0; c < *columns; ++c) {
            listing.tiles.push_back(
                {*first + c + r * *columns, line.file, kTileSize * c, kTileSize * r, lineNumber});
        }
    }
    return true;
}

// Handles one line after the header.
void ListText(std::string_view text, int lineNumber, TileSetListing& listing) {
    const TileSetLine line = ParseTileSetLine(std::string(text));
    switch (line.kind) {
    case TileSetLine::Kind::Setting:
        if ((line.key == "WIDTH" || line.key == "HEIGHT") && StrToInt(line.value) != kTileSize) {
            throw ETileLoader("The Tileset has the wrong size tiles");
        }
        break;
    case TileSetLine::Kind::Tile:
    case TileSetLine::Kind::Tiles:
        if (!ListLine(line, lineNumber, listing)) listing.faulty.push_back(lineNumber);
        break;
    case TileSetLine::Kind::Ignored:
        break;
    }
}

} // namespace

bool IsBlockTextHeader(std::string_view firstLine) {
    return firstLine.starts_with("BLOKTEXT");
}

void ForEachTileSetLine(std::string_view contents, const TileSetLineCallback& line) {
    size_t i = 0;
    int lineNumber = 0;
    while (i < contents.size() && lineNumber < std::numeric_limits<int>::max()) {
        size_t end = contents.find_first_of("\r\n", i);
        if (end == std::string_view::npos) end = contents.size();
        const std::string_view text = contents.substr(i, std::min(end - i, kMaxShortText));
        if (!line(++lineNumber, text)) return;
        i = end;
        if (i < contents.size()) {
            const bool carriageReturn = contents[i] == '\r';
            ++i;
            if (carriageReturn && i < contents.size() && contents[i] == '\n') ++i;
        }
    }
}

std::vector<std::string> SplitTileSetLines(std::string_view contents) {
    std::vector<std::string> lines;
    ForEachTileSetLine(contents, [&lines](int, std::string_view text) {
        lines.emplace_back(text);
        return true;
    });
    return lines;
}

TileSetLine ParseTileSetLine(std::string line) {
    TileSetLine result;
    if (line.empty() || line[0] == ';') return result;
    if (line.size() > kMaxShortText) line.resize(kMaxShortText);
    UpperCaseStr(line);
    result.newLine = BeforeFirst(line, "=") == "NEWLINE";
    if (line.find('=') != std::string::npos) {
        result.kind = TileSetLine::Kind::Setting;
        result.key = BeforeFirst(line, "=");
        result.value = AfterFirst(line, "=");
    } else if (line.starts_with("TILE ")) {
        result.kind = TileSetLine::Kind::Tile;
        result.id = GetWord(line, 2);
        result.file = GetWord(line, 3);
        result.faulty = result.id.empty() || result.file.empty();
    } else if (line.starts_with("TILES ")) {
        result.kind = TileSetLine::Kind::Tiles;
        result.id = GetWord(line, 2);
        const std::string size = GetWord(line, 3);
        result.columns = BeforeFirst(size, ",");
        result.rows = AfterFirst(size, ",");
        result.file = GetWord(line, 4);
        result.faulty = result.id.empty() || size.empty() || result.file.empty();
    }
    return result;
}

const char* ReadTileSetFile(const std::filesystem::path& fileName, std::vector<uint8_t>& bytes) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(fileName, error);
    if (!error && size > kMaxTileSetFileBytes) return "Tile set file is too large";
    bytes = ReadWholeFile(fileName);
    bool header = false;
    ForEachTileSetLine(AsText(bytes), [&](int, std::string_view first) {
        header = IsBlockTextHeader(first);
        return false;
    });
    return header ? nullptr : "Cannot read this file format";
}

TileSetListing ListTileSet(const std::filesystem::path& fileName) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error)) {
        throw ETileLoader("No file by that name");
    }
    std::vector<uint8_t> bytes;
    if (const char* problem = ReadTileSetFile(fileName, bytes)) throw ETileLoader(problem);

    TileSetListing listing;
    ForEachTileSetLine(AsText(bytes), [&](int lineNumber, std::string_view text) {
        if (lineNumber > 1) ListText(text, lineNumber, listing);
        return true;
    });
    return listing;
}

} // namespace formats
