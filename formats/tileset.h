#pragma once
// The tile set text format: "BLOKTEXT" header line, then settings, TILE and
// TILES lines, comments and (editor) NEWLINE.
#include "formats/errors.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace formats {

// Line 1 must begin with "BLOKTEXT", compared before any case change.
bool IsBlockTextHeader(std::string_view firstLine);

// ListTileSet refuses tile set files above this size ("Tile set file is too
// large"); the programs' loaders can use the same limit.
inline constexpr uint64_t kMaxTileSetFileBytes = uint64_t(16) << 20;

// Hands each line of the file contents (LF, CR LF or CR ends a line) to
// `line`, numbered from 1 and cut to 255 characters, without copying the
// contents. Stops early when `line` returns false (and after INT_MAX lines).
using TileSetLineCallback = std::function<bool(int lineNumber, std::string_view line)>;
void ForEachTileSetLine(std::string_view contents, const TileSetLineCallback& line);

// Reads a tile set file whole after checking its size and its first line.
// Returns nullptr, or the problem's message ("Tile set file is too large",
// "Cannot read this file format"), which each loader raises as its own class.
const char* ReadTileSetFile(const std::filesystem::path& fileName, std::vector<uint8_t>& bytes);
inline std::string_view AsText(const std::vector<uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// All lines at once, as ForEachTileSetLine cuts them. Costs far more memory
// than the contents for files of many short lines; prefer ForEachTileSetLine.
std::vector<std::string> SplitTileSetLines(std::string_view contents);

struct TileSetLine {
    enum class Kind {
        Ignored, // empty, comment, or nothing this format knows
        Setting, // KEY=VALUE
        Tile,    // TILE id file
        Tiles,   // TILES firstId columns,rows file
    };
    Kind kind = Kind::Ignored;
    bool newLine = false;      // key is NEWLINE (editor moves to the next row of ten)
    bool faulty = false;       // a TILE or TILES line missing a word
    std::string key, value;    // Setting
    std::string id;            // Tile: word 2; Tiles: first ID
    std::string columns, rows; // Tiles: word 3 split at ","
    std::string file;          // Tile: word 3; Tiles: word 4
};

// Classifies one line after the header: skips empty lines and comments, upper-cases.
// Numbers are left as text: converting them is the loaders' business.
TileSetLine ParseTileSetLine(std::string line);

// A tile set listed without loading pictures (for tools): every tile it defines
// with the picture and the top-left pixel it is cut from, and faulty line numbers.
struct TileSetEntry {
    int id;
    std::string file;
    int x, y;
    int line;
};
struct TileSetListing {
    std::vector<TileSetEntry> tiles;
    std::vector<int> faulty;
};
// Sheets wider or taller than this many tiles are faulty (a picture is at most
// 65535 pixels a side).
inline constexpr int kMaxSheetTiles = 2048;
// A listing holds at most this many tiles; lines that would pass it are faulty.
inline constexpr size_t kMaxListedTiles = 65536;
// Line numbers count from 1 (the header). A TILE or TILES line is faulty when it
// lacks a word, a number does not convert, a count is negative or above
// kMaxSheetTiles, or an ID falls outside 0..65535.
// Raises ETileLoader ("No file by that name", "Tile set file is too large",
// "Cannot read this file format", "The Tileset has the wrong size tiles"); a WIDTH or HEIGHT value
// that is not a number raises EConvertError, as in the runtime's loader.
TileSetListing ListTileSet(const std::filesystem::path& fileName);

} // namespace formats
