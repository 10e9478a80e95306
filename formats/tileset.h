#pragma once
// The tile set text format: "BLOKTEXT" header line, then settings, TILE and
// TILES lines, comments and (editor) NEWLINE.
#include "formats/errors.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace formats {

// Line 1 must begin with "BLOKTEXT", compared before any case change.
bool IsBlockTextHeader(std::string_view firstLine);

// Splits file contents into lines (LF, CR LF or CR), each cut to 255 characters.
std::vector<std::string> SplitTileSetLines(std::string_view contents);

struct TileSetLine {
    enum class Kind {
        Ignored, // empty, comment, or nothing this format knows
        Setting, // KEY=VALUE
        Tile,    // TILE id file
        Tiles,   // TILES firstId columns,rows file
    };
    Kind kind = Kind::Ignored;
    bool newLine = false; // key is NEWLINE (editor moves to the next row of ten)
    bool faulty = false;  // a TILE or TILES line missing a word
    std::string key, value;          // Setting
    std::string id;                  // Tile: word 2; Tiles: first ID
    std::string columns, rows;       // Tiles: word 3 split at ","
    std::string file;                // Tile: word 3; Tiles: word 4
};

// Classifies one line after the header: skips empty lines and comments, upper-cases.
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
// Raises ETileLoader ("No file by that name", "Cannot read this file format",
// "The Tileset has the wrong size tiles").
TileSetListing ListTileSet(const std::filesystem::path& fileName);

} // namespace formats
