#pragma once
// Map files: an IFF FORM of type "ZMAP" with THDR, KIDS and BODY chunks, and the
// editor-only AT32 chunk. One reader serves both programs through a sink; where
// the programs read differently the reader is told which one it reads for.
#include "formats/errors.h"
#include "formats/iff.h"
#include "formats/stream.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace formats {

// Maps above this many cells are refused ("Map is too large") when their cells
// are to be made.
inline constexpr uint64_t kMaxMapCells = 16777216;
inline constexpr int kMinCellWords = 5;
inline constexpr int kMaxCellWords = 11;
// Longest tile set name the writer records.
inline constexpr size_t kMaxTileSetName = 252;

// One cell in memory order: tile layers 0-3, then the attribute word (layer 5:
// low byte code A, high byte code B) and the argument word (layer 4).
struct MapCell {
    uint16_t back = 0;
    uint16_t middle = 0;
    uint16_t fore = 0;
    uint16_t collision = 0;
    uint16_t attributes = 0;
    uint16_t arguments = 0;
    bool operator==(const MapCell&) const = default;
};

enum class MapReader {
    Editor,  // reads AT32; BODY before THDR is refused
    Runtime, // skips AT32; BODY before THDR must be empty
};

// Receives what the reader finds. Exceptions thrown here leave the reader.
class MapSink {
public:
    virtual ~MapSink() = default;
    // Progress line texts: "Loading map headder", "Loading map body", ...
    virtual void Progress(const char* /*text*/) {}
    // THDR: called with the file's size before the tile size and compression
    // checks. A file may hold many headers: a sink should only note the size
    // here and make its cells in MakeCells.
    virtual void SetSize(int width, int height) = 0;
    // Makes room for the cells of the last SetSize, all empty: once per header,
    // before its first BODY row or AT32 cell, or at the end of a read in which
    // none came. A map of no BODY is thus an empty map of the header's size. The
    // reader has checked the size against kMaxMapCells and keeps the cells made
    // over a read within a few times the file's size.
    virtual void MakeCells(int /*width*/, int /*height*/) {}
    // BODY: one row of cells. With 5-word cells `hasMiddle` is false and middle is 0.
    virtual void SetRow(int y, const MapCell* cells, int width, bool hasMiddle) = 0;
    // AT32 (editor only): called once when the chunk is met, before its cells,
    // even when it holds none.
    virtual void BeginAttributes() {}
    // AT32 (editor only): attribute and argument words of one cell.
    virtual void SetAttributes(int /*x*/, int /*y*/, uint16_t /*attributes*/,
                               uint16_t /*arguments*/) {}
    // KIDS: the recorded tile set name, cut before its first carriage return.
    // A file may name several; the last one counts.
    virtual void TileSetName(const std::string& name) = 0;
    // After each row of BODY or AT32.
    virtual void RowDone(int /*y*/) {}
};

// Runs the reader; raises EMapLoad with the reader's messages. Exceptions that
// the sink throws pass through unchanged.
void ReadMap(Stream& stream, MapSink& sink, MapReader reader);

// The source the writer takes the map from.
class MapSource {
public:
    virtual ~MapSource() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The name recorded in KIDS (already made relative). Only the first 252
    // characters are written, so that the name and its two carriage returns fit
    // a short text.
    virtual std::string TileSetName() const = 0;
    virtual void GetRow(int y, MapCell* cells) const = 0;
    virtual void RowDone(int /*y*/) const {}
};

// Writes the exact bytes of a map file, replacing `fileName` only when the new
// file is complete. Raises EInOutError, also for a size that cannot be written
// (negative, a side above 65535, or more than kMaxMapCells cells).
void WriteMap(const std::filesystem::path& fileName, const MapSource& source);

// A whole map in memory, for tools and tests.
// ReadMapData sets cellWords from the last THDR (0 without one); WriteMapData
// always writes 6-word cells and requires cells.size() == width * height.
struct MapData {
    int width = 0;
    int height = 0;
    int cellWords = 6;
    std::string tileSet;
    std::vector<MapCell> cells; // row-major
};
MapData ReadMapData(Stream& stream, MapReader reader);

// What a map file says about itself without its cells: its size, cell words
// and tile set name, read as ReadMapData reads them.
struct MapSummary {
    int width = 0;
    int height = 0;
    int cellWords = 0;
    std::string tileSet;
};
MapSummary ReadMapSummary(Stream& stream, MapReader reader);

// Hands every chunk of a map file to `chunk` as the reader meets it, without
// keeping them. Raises EMapLoad as the reader does.
void ForEachMapChunk(Stream& stream, MapReader reader,
                     const std::function<void(const ChunkInfo&)>& chunk);
void WriteMapData(const std::filesystem::path& fileName, const MapData& map);

} // namespace formats
