#include "formats/mapfile.h"

#include "formats/text.h"

#include <algorithm>
#include <stdexcept>

namespace formats {
namespace {

constexpr FormMessages kMapMessages{"Not an IFF File", "Not a Zorv map"};
constexpr uint16_t kTileSize = 32;
constexpr size_t kHeaderBytes = 10;
constexpr uint64_t kChunkHeaderBytes = 8;
// The cells a read makes may come to this many times the file's size, counted
// as bodies of the smallest cells. A body pays for its own cells; a map of no
// body is free once a read, so that a file of many headers and attribute
// chunks cannot make the sinks make room again and again.
constexpr uint64_t kCellBudget = 4;
constexpr size_t kNameBuffer = 256;   // count byte and up to 255 characters
constexpr size_t kAttributeBytes = 6; // AT32: attribute word, argument word, 2 spare
constexpr int kWrittenCellWords = 6;
constexpr size_t kWrittenCellBytes = 12;
constexpr uint8_t kCarriageReturn = 13;
constexpr uint32_t kMaxSide = 65535;

uint16_t BigEndianWord(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
uint16_t LittleEndianWord(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// One file cell of `cellWords` words. A 5-word cell has no middle-ground word,
// so the words after the background move up by one; words after the sixth are
// not part of the cell.
MapCell DecodeCell(const uint8_t* p, int cellWords) {
    const int shift = cellWords >= 6 ? 2 : 0;
    MapCell cell;
    cell.back = BigEndianWord(p);
    if (shift) cell.middle = BigEndianWord(p + 2);
    cell.fore = BigEndianWord(p + 2 + shift);
    cell.collision = BigEndianWord(p + 4 + shift);
    cell.attributes = LittleEndianWord(p + 6 + shift);
    cell.arguments = LittleEndianWord(p + 8 + shift);
    return cell;
}

void EncodeCell(const MapCell& cell, uint8_t* p) {
    const uint16_t bigEndian[4] = {cell.back, cell.middle, cell.fore, cell.collision};
    for (uint16_t word : bigEndian) {
        *p++ = static_cast<uint8_t>(word >> 8);
        *p++ = static_cast<uint8_t>(word);
    }
    *p++ = static_cast<uint8_t>(cell.attributes);
    *p++ = static_cast<uint8_t>(cell.attributes >> 8);
    *p++ = static_cast<uint8_t>(cell.arguments);
    *p = static_cast<uint8_t>(cell.arguments >> 8);
}

// Reads the chunks of one map file into a sink. The FORM loop guarantees that
// every chunk handed to a handler lies wholly inside the stream.
class MapFileReader {
public:
    MapFileReader(Stream& stream, MapSink& sink, MapReader reader)
        : stream_(stream), sink_(sink), editor_(reader == MapReader::Editor) {}

    void Run(const std::function<void(const ChunkInfo&)>& onChunk) {
        ReadFormAs<EMapLoad>(stream_, "ZMAP", kMapMessages, [&](const ChunkInfo& chunk) {
            if (onChunk) onChunk(chunk);
            Chunk(chunk);
        });
        // The last header's map, empty when no body came for it.
        if (sized_) MakeCells();
    }

    int CellWords() const { return cellWords_; }

private:
    void Chunk(const ChunkInfo& chunk) {
        if (chunk.id == MakeId("THDR")) {
            Header(chunk);
        } else if (chunk.id == MakeId("BODY")) {
            Body(chunk);
        } else if (chunk.id == MakeId("AT32")) {
            if (editor_) Attributes(chunk);
        } else if (chunk.id == MakeId("KIDS")) {
            TileSetName(chunk);
        }
    }

    void Progress(const char* text) {
        if (editor_) sink_.Progress(text);
    }

    // Only notes the size: the cells are made when a body or attribute chunk
    // needs them, or at the end, for the last header only.
    void Header(const ChunkInfo& chunk) {
        Progress("Loading map headder");
        if (chunk.length < kHeaderBytes) throw EMapLoad("Map header is too short");
        uint8_t header[kHeaderBytes];
        stream_.ReadExact(header, sizeof header);
        width_ = BigEndianWord(header);
        height_ = BigEndianWord(header + 2);
        sized_ = true;
        cellsMade_ = false;
        sink_.SetSize(width_, height_);
        if (BigEndianWord(header + 4) != kTileSize) throw EMapLoad("File has wrong tile width");
        if (BigEndianWord(header + 6) != kTileSize) throw EMapLoad("File has wrong tile Height");
        const int cellWords = header[8] >> 1;
        if (header[9] != 0) throw EMapLoad("Cannot Read compressed body");
        if (cellWords < kMinCellWords || cellWords > kMaxCellWords) {
            throw EMapLoad("Cannot read map cells of " + std::to_string(header[8]) + " bytes");
        }
        cellWords_ = cellWords;
        haveHeader_ = true;
    }

    // Has the sink make the cells of the last header, once.
    void MakeCells() {
        if (cellsMade_) return;
        const uint64_t cells = static_cast<uint64_t>(width_) * static_cast<uint64_t>(height_);
        if (cells > kMaxMapCells) throw EMapLoad("Map is too large");
        const uint64_t bytes = cells == 0 ? 0 : kChunkHeaderBytes + cells * kMinCellWords * 2;
        if (madeBefore_ && cellBytes_ + bytes > kCellBudget * stream_.Size()) {
            throw EMapLoad("Map headers announce more cells than the file can hold");
        }
        cellBytes_ += bytes;
        madeBefore_ = true;
        cellsMade_ = true;
        sink_.MakeCells(width_, height_);
    }

    void Body(const ChunkInfo& chunk) {
        Progress("Loading map body");
        // Without a header the cell size is unknown. The runtime counts such a
        // body as 0 words a cell, so only an empty one passes.
        if (!haveHeader_ && editor_) throw EMapLoad("Map body comes before the map header");
        const uint64_t expected = static_cast<uint64_t>(height_) * static_cast<uint64_t>(width_) *
                                  static_cast<uint64_t>(cellWords_) * 2;
        if (expected != chunk.length) throw EMapLoad("Body is wrong size");
        if (expected == 0) return;
        MakeCells();

        const size_t cellBytes = static_cast<size_t>(cellWords_) * 2;
        std::vector<uint8_t> raw(static_cast<size_t>(width_) * cellBytes);
        std::vector<MapCell> row(static_cast<size_t>(width_));
        const bool hasMiddle = cellWords_ >= 6;
        for (int y = 0; y < height_; ++y) {
            stream_.ReadExact(raw.data(), raw.size());
            const uint8_t* p = raw.data();
            for (MapCell& cell : row) {
                cell = DecodeCell(p, cellWords_);
                p += cellBytes;
            }
            sink_.SetRow(y, row.data(), width_, hasMiddle);
            sink_.RowDone(y);
        }
    }

    // Reads as many whole cells as the chunk holds, up to the map's size.
    void Attributes(const ChunkInfo& chunk) {
        Progress("Loading attribute information");
        sink_.BeginAttributes();
        uint64_t cellsLeft = std::min<uint64_t>(static_cast<uint64_t>(width_) * height_,
                                                chunk.length / kAttributeBytes);
        if (cellsLeft > 0) MakeCells();
        std::vector<uint8_t> raw(static_cast<size_t>(width_) * kAttributeBytes);
        for (int y = 0; y < height_ && cellsLeft > 0; ++y) {
            const int count = static_cast<int>(std::min<uint64_t>(width_, cellsLeft));
            stream_.ReadExact(raw.data(), static_cast<size_t>(count) * kAttributeBytes);
            for (int x = 0; x < count; ++x) {
                const uint8_t* p = raw.data() + static_cast<size_t>(x) * kAttributeBytes;
                sink_.SetAttributes(x, y, BigEndianWord(p), BigEndianWord(p + 2));
            }
            cellsLeft -= static_cast<uint64_t>(count);
            sink_.RowDone(y);
        }
    }

    // A length-prefixed text in a buffer of 256 bytes, cut before its first
    // carriage return. A count byte beyond the data is cut to what is there.
    void TileSetName(const ChunkInfo& chunk) {
        Progress("Loading KIDS string");
        uint8_t buffer[kNameBuffer];
        const size_t size = std::min<size_t>(chunk.length, sizeof buffer);
        stream_.ReadExact(buffer, size);
        std::string name;
        if (size > 0) {
            const size_t length = std::min<size_t>(buffer[0], size - 1);
            name.assign(reinterpret_cast<const char*>(buffer + 1), length);
        }
        sink_.TileSetName(BeforeFirst(name, "\r"));
    }

    Stream& stream_;
    MapSink& sink_;
    const bool editor_;
    bool haveHeader_ = false; // a header passed its checks
    bool sized_ = false;      // a header gave a size
    bool cellsMade_ = false;  // for the last header
    bool madeBefore_ = false; // cells were made in this read
    int width_ = 0;
    int height_ = 0;
    int cellWords_ = 0;
    uint64_t cellBytes_ = 0; // the smallest bodies of the cells made so far
};

// Keeps a whole map; a second header starts it afresh.
class MapDataSink : public MapSink {
public:
    MapDataSink(MapData& map, MapReader reader)
        : map_(map), keepMiddle_(reader == MapReader::Editor) {}

    void SetSize(int width, int height) override {
        map_.width = width;
        map_.height = height;
    }
    void MakeCells(int width, int height) override {
        map_.cells.assign(static_cast<size_t>(width) * static_cast<size_t>(height), MapCell{});
    }
    void SetRow(int y, const MapCell* cells, int width, bool hasMiddle) override {
        MapCell* out = map_.cells.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            const uint16_t middle = out[x].middle;
            out[x] = cells[x];
            // The editor leaves its middle-ground layer alone for 5-word cells.
            if (!hasMiddle && keepMiddle_) out[x].middle = middle;
        }
    }
    void SetAttributes(int x, int y, uint16_t attributes, uint16_t arguments) override {
        MapCell& cell = map_.cells[static_cast<size_t>(y) * static_cast<size_t>(map_.width) +
                                   static_cast<size_t>(x)];
        cell.attributes = attributes;
        cell.arguments = arguments;
    }
    void TileSetName(const std::string& name) override { map_.tileSet = name; }

private:
    MapData& map_;
    const bool keepMiddle_;
};

// Notes the size and the name; makes no cells.
class SummarySink : public MapSink {
public:
    explicit SummarySink(MapSummary& summary) : summary_(summary) {}
    void SetSize(int width, int height) override {
        summary_.width = width;
        summary_.height = height;
    }
    void MakeCells(int, int) override {}
    void SetRow(int, const MapCell*, int, bool) override {}
    void TileSetName(const std::string& name) override { summary_.tileSet = name; }

private:
    MapSummary& summary_;
};

class MapDataSource : public MapSource {
public:
    explicit MapDataSource(const MapData& map) : map_(map) {}
    int Width() const override { return map_.width; }
    int Height() const override { return map_.height; }
    std::string TileSetName() const override { return map_.tileSet; }
    void GetRow(int y, MapCell* cells) const override {
        auto first = map_.cells.begin() + static_cast<ptrdiff_t>(y) * map_.width;
        std::copy(first, first + map_.width, cells);
    }

private:
    const MapData& map_;
};

} // namespace

void ReadMap(Stream& stream, MapSink& sink, MapReader reader) {
    MapFileReader(stream, sink, reader).Run({});
}

MapData ReadMapData(Stream& stream, MapReader reader) {
    MapData map;
    MapDataSink sink(map, reader);
    MapFileReader mapReader(stream, sink, reader);
    mapReader.Run({});
    map.cellWords = mapReader.CellWords();
    return map;
}

MapSummary ReadMapSummary(Stream& stream, MapReader reader) {
    MapSummary summary;
    SummarySink sink(summary);
    MapFileReader mapReader(stream, sink, reader);
    mapReader.Run({});
    summary.cellWords = mapReader.CellWords();
    return summary;
}

void ForEachMapChunk(Stream& stream, MapReader reader,
                     const std::function<void(const ChunkInfo&)>& chunk) {
    MapSummary unused;
    SummarySink sink(unused);
    MapFileReader(stream, sink, reader).Run(chunk);
}

void WriteMap(const std::filesystem::path& fileName, const MapSource& source) {
    const int width = source.Width();
    const int height = source.Height();
    if (width < 0 || height < 0 || static_cast<uint32_t>(width) > kMaxSide ||
        static_cast<uint32_t>(height) > kMaxSide ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxMapCells) {
        throw EInOutError("Map is too large");
    }
    std::string name = source.TileSetName();
    if (name.size() > kMaxTileSetName) name.resize(kMaxTileSetName);

    ReplaceFile file(fileName);
    BinaryWriter out(file.File());
    ChunkWriter chunks(out);
    chunks.BeginForm("ZMAP");

    chunks.BeginChunk("THDR");
    out.WriteWordBE(static_cast<uint16_t>(width));
    out.WriteWordBE(static_cast<uint16_t>(height));
    out.WriteWordBE(kTileSize);
    out.WriteWordBE(kTileSize);
    out.WriteByte(kWrittenCellWords * 2);
    out.WriteByte(0);
    chunks.EndChunk();

    // The count byte equals the data length: itself, the name and two carriage returns.
    chunks.BeginChunk("KIDS");
    out.WriteByte(static_cast<uint8_t>(name.size() + 3));
    out.WriteBytes(name.data(), name.size());
    out.WriteByte(kCarriageReturn);
    out.WriteByte(kCarriageReturn);
    chunks.EndChunk();

    chunks.BeginChunk("BODY");
    std::vector<MapCell> row(static_cast<size_t>(width));
    std::vector<uint8_t> raw(static_cast<size_t>(width) * kWrittenCellBytes);
    for (int y = 0; y < height; ++y) {
        source.GetRow(y, row.data());
        uint8_t* p = raw.data();
        for (const MapCell& cell : row) {
            EncodeCell(cell, p);
            p += kWrittenCellBytes;
        }
        out.WriteBytes(raw.data(), raw.size());
        source.RowDone(y);
    }
    chunks.EndChunk();

    chunks.EndForm();
    file.Commit();
}

void WriteMapData(const std::filesystem::path& fileName, const MapData& map) {
    if (map.width < 0 || map.height < 0 ||
        map.cells.size() != static_cast<size_t>(map.width) * static_cast<size_t>(map.height)) {
        throw std::invalid_argument("Map cells do not match the map's size");
    }
    WriteMap(fileName, MapDataSource(map));
}

} // namespace formats
