#include "formats/mapfile.h"

#include "formats/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace formats;
namespace fs = std::filesystem;

using testing_support::FileBytes;

namespace {

using Bytes = std::vector<uint8_t>;

fs::path TempDir() {
    return testing_support::ScratchDir("zorv_mapfile_");
}

void PutBE32(Bytes& v, uint32_t x) {
    for (int s = 24; s >= 0; s -= 8)
        v.push_back(uint8_t(x >> s));
}

// Builds a FORM from chunks; the FORM length is the file size as this system writes it.
struct Form {
    Bytes bytes;
    explicit Form(const char* type = "ZMAP") {
        bytes = {'F', 'O', 'R', 'M', 0, 0, 0, 0};
        bytes.insert(bytes.end(), type, type + 4);
    }
    Form& Chunk(const char* id, const Bytes& data) {
        bytes.insert(bytes.end(), id, id + 4);
        PutBE32(bytes, uint32_t(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
        if (bytes.size() & 1) bytes.push_back(0);
        return *this;
    }
    Bytes Done() {
        Bytes b = bytes;
        uint32_t n = uint32_t(b.size());
        for (int i = 0; i < 4; ++i)
            b[4 + i] = uint8_t(n >> (24 - 8 * i));
        return b;
    }
};

Bytes Thdr(int w, int h, int cellBytes = 12, int tileW = 32, int tileH = 32, int compression = 0) {
    return {uint8_t(w >> 8),     uint8_t(w),          uint8_t(h >> 8),     uint8_t(h),
            uint8_t(tileW >> 8), uint8_t(tileW),      uint8_t(tileH >> 8), uint8_t(tileH),
            uint8_t(cellBytes),  uint8_t(compression)};
}

Bytes Kids(const std::string& name) {
    Bytes b;
    b.push_back(uint8_t(name.size() + 3));
    for (char c : name)
        b.push_back(uint8_t(c));
    b.push_back(13);
    b.push_back(13);
    return b;
}

// Records every call the reader makes.
struct RecordingSink : MapSink {
    std::vector<std::string> progress;
    std::vector<std::pair<int, int>> sizes;
    std::vector<std::pair<int, int>> made; // MakeCells
    std::vector<std::vector<MapCell>> rows;
    std::vector<bool> rowHasMiddle;
    std::vector<std::tuple<int, int, uint16_t, uint16_t>> attributes;
    int attributeChunks = 0;
    std::vector<std::string> names;
    int rowsDone = 0;

    void Progress(const char* text) override { progress.emplace_back(text); }
    bool cellsReady = false; // made since the last SetSize

    void SetSize(int w, int h) override {
        sizes.emplace_back(w, h);
        cellsReady = false;
    }
    void MakeCells(int w, int h) override {
        EXPECT_EQ(std::make_pair(w, h), sizes.back());
        EXPECT_FALSE(cellsReady);
        made.emplace_back(w, h);
        cellsReady = true;
    }
    void SetRow(int y, const MapCell* cells, int width, bool hasMiddle) override {
        EXPECT_TRUE(cellsReady); // the cells of the last header exist
        EXPECT_EQ(y, int(rows.size()) % sizes.back().second);
        rows.emplace_back(cells, cells + width);
        rowHasMiddle.push_back(hasMiddle);
    }
    void BeginAttributes() override { ++attributeChunks; }
    void SetAttributes(int x, int y, uint16_t a, uint16_t b) override {
        EXPECT_TRUE(cellsReady);
        attributes.emplace_back(x, y, a, b);
    }
    void TileSetName(const std::string& name) override { names.push_back(name); }
    void RowDone(int) override { ++rowsDone; }
};

std::string LoadError(const Bytes& bytes, MapReader reader, RecordingSink* sink = nullptr) {
    RecordingSink local;
    MemoryStream s(bytes);
    try {
        ReadMap(s, sink ? *sink : local, reader);
    } catch (const EMapLoad& e) {
        return e.what();
    }
    return "";
}

const MapCell kSampleCell{0x0102, 0, 0x0A0B, 5, 2 | 22 << 8, 7 | 3 << 8};

struct VectorSource : MapSource {
    int w, h;
    std::string name;
    std::vector<MapCell> cells;
    int failAtRow = -1;
    int Width() const override { return w; }
    int Height() const override { return h; }
    std::string TileSetName() const override { return name; }
    void GetRow(int y, MapCell* out) const override {
        if (y == failAtRow) throw EInOutError("disk full");
        std::copy(cells.begin() + y * w, cells.begin() + (y + 1) * w, out);
    }
};

} // namespace

TEST(MapWriter, ExactBytesOfASmallMap) {
    fs::path file = TempDir() / "small.map";
    MapData map;
    map.width = 2;
    map.height = 1;
    map.tileSet = "TILES\\A.TIL";
    map.cells = {kSampleCell, MapCell{0xFFFF, 1, 2, 3, 0, 0}};
    WriteMapData(file, map);

    Bytes expected =
        Form()
            .Chunk("THDR", Thdr(2, 1))
            .Chunk("KIDS", Kids("TILES\\A.TIL"))
            .Chunk("BODY", {0x01, 0x02, 0x00, 0x00, 0x0A, 0x0B, 0x00, 0x05, 0x02, 0x16, 0x07, 0x03,
                            0xFF, 0xFF, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0,    0,    0,    0})
            .Done();
    Bytes got = FileBytes(file);
    ASSERT_EQ(got.size(), 84u);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(got[4] << 24 | got[5] << 16 | got[6] << 8 | got[7], 84);
    EXPECT_EQ(std::string(got.begin() + 52, got.begin() + 56), "BODY");
    EXPECT_EQ(got[37], 14); // KIDS length
    EXPECT_EQ(got[38], 14); // count byte

    MemoryStream s(got);
    MapData back = ReadMapData(s, MapReader::Runtime);
    EXPECT_EQ(back.width, 2);
    EXPECT_EQ(back.height, 1);
    EXPECT_EQ(back.cellWords, 6);
    EXPECT_EQ(back.tileSet, "TILES\\A.TIL");
    EXPECT_EQ(back.cells, map.cells);
    std::vector<ChunkInfo> chunks;
    MemoryStream again(got);
    ForEachMapChunk(again, MapReader::Editor, [&](const ChunkInfo& c) { chunks.push_back(c); });
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].headerOffset, 12u);
    EXPECT_EQ(chunks[1].headerOffset, 30u);
    EXPECT_EQ(chunks[1].length, 14u);
    EXPECT_EQ(chunks[2].dataOffset, 60u);
    EXPECT_EQ(chunks[2].length, 24u);
}

TEST(MapWriter, EmptyAndOverlongNames) {
    fs::path file = TempDir() / "names.map";
    MapData map;
    map.width = 1;
    map.height = 1;
    map.cells.resize(1);
    WriteMapData(file, map);
    Bytes got = FileBytes(file);
    ASSERT_EQ(got.size(), 42u + 8 + 12);
    EXPECT_EQ(Bytes(got.begin() + 30, got.begin() + 42),
              (Bytes{'K', 'I', 'D', 'S', 0, 0, 0, 3, 3, 13, 13, 0}));
    MemoryStream s(got);
    EXPECT_EQ(ReadMapData(s, MapReader::Editor).tileSet, "");

    // A name too long for a short text is cut so the count byte stays within 255.
    map.tileSet = std::string(300, 'N');
    WriteMapData(file, map);
    got = FileBytes(file);
    EXPECT_EQ(got[37], 255);
    EXPECT_EQ(got[38], 255);
    MemoryStream s2(got);
    EXPECT_EQ(ReadMapData(s2, MapReader::Editor).tileSet, std::string(252, 'N'));
}

TEST(MapWriter, RoundTripOfALargerMapAndRowCallbacks) {
    fs::path file = TempDir() / "large.map";
    VectorSource src;
    src.w = 37;
    src.h = 23;
    src.name = "C:\\TILES\\WORLD.TIL";
    for (int i = 0; i < src.w * src.h; ++i) {
        src.cells.push_back(MapCell{uint16_t(i), uint16_t(i * 3), uint16_t(i * 7),
                                    uint16_t(65535 - i), uint16_t(i * 11), uint16_t(i ^ 0x5A5A)});
    }
    WriteMap(file, src);
    EXPECT_EQ(fs::file_size(file), 30u + 8 + 21 + 1 + 8 + 37u * 23 * 12);
    for (MapReader reader : {MapReader::Editor, MapReader::Runtime}) {
        FileStream s(file);
        MapData back = ReadMapData(s, reader);
        EXPECT_EQ(back.cells, src.cells);
        EXPECT_EQ(back.tileSet, src.name);
    }
    FileStream s(file);
    RecordingSink sink;
    ReadMap(s, sink, MapReader::Editor);
    EXPECT_EQ(sink.rowsDone, 23);
    EXPECT_EQ(sink.progress, (std::vector<std::string>{"Loading map headder", "Loading KIDS string",
                                                       "Loading map body"}));
    FileStream s2(file);
    RecordingSink quiet;
    ReadMap(s2, quiet, MapReader::Runtime);
    EXPECT_TRUE(quiet.progress.empty());
}

TEST(MapWriter, FailedWriteKeepsThePreviousFile) {
    fs::path file = TempDir() / "keep.map";
    { std::ofstream(file, std::ios::binary) << "previous"; }
    VectorSource src;
    src.w = 2;
    src.h = 3;
    src.cells.resize(6);
    src.failAtRow = 1;
    EXPECT_THROW(WriteMap(file, src), EInOutError);
    EXPECT_EQ(FileBytes(file), (Bytes{'p', 'r', 'e', 'v', 'i', 'o', 'u', 's'}));
    int entries = 0;
    for (auto& e : fs::directory_iterator(file.parent_path()))
        entries += e.path().filename().string().starts_with("keep.map");
    EXPECT_EQ(entries, 1); // no temporary file left behind

    EXPECT_THROW(WriteMap(TempDir() / "no" / "such" / "dir.map", src), EInOutError);
    src.failAtRow = -1;
    src.w = 70000;
    src.h = 0;
    EXPECT_THROW(WriteMap(file, src), EInOutError);
    src.w = 4097;
    src.h = 4096;
    EXPECT_THROW(WriteMap(file, src), EInOutError);
    MapData bad;
    bad.width = 2;
    bad.height = 2;
    EXPECT_THROW(WriteMapData(file, bad), std::invalid_argument);
}

TEST(MapReader, FiveAndElevenWordCells) {
    // 5 words: back, fore, collision, attribute word, argument word.
    Bytes five = Form()
                     .Chunk("THDR", Thdr(2, 1, 10))
                     .Chunk("BODY", {0,    1, 0,    2, 0,    3, 4,    5,    6,    7,
                                     0x10, 0, 0x20, 0, 0x30, 0, 0x44, 0x55, 0x66, 0x77})
                     .Done();
    for (MapReader reader : {MapReader::Editor, MapReader::Runtime}) {
        RecordingSink sink;
        EXPECT_EQ(LoadError(five, reader, &sink), "");
        ASSERT_EQ(sink.rows.size(), 1u);
        EXPECT_FALSE(sink.rowHasMiddle[0]);
        EXPECT_EQ(sink.rows[0][0], (MapCell{1, 0, 2, 3, 0x0504, 0x0706}));
        EXPECT_EQ(sink.rows[0][1], (MapCell{0x1000, 0, 0x2000, 0x3000, 0x5544, 0x7766}));
    }
    // 11 words: the five words after the sixth are read and ignored.
    Bytes cell{0, 1, 0, 2, 0, 3, 0, 4, 5, 6, 7, 8};
    for (int i = 0; i < 10; ++i)
        cell.push_back(0xEE);
    Bytes eleven = Form()
                       .Chunk("THDR", Thdr(1, 2, 22))
                       .Chunk("BODY",
                              [&] {
                                  Bytes b = cell;
                                  b.insert(b.end(), cell.begin(), cell.end());
                                  return b;
                              }())
                       .Done();
    MemoryStream s(eleven);
    MapData map = ReadMapData(s, MapReader::Runtime);
    EXPECT_EQ(map.cellWords, 11);
    EXPECT_EQ(map.cells, (std::vector<MapCell>(2, MapCell{1, 2, 3, 4, 0x0605, 0x0807})));
    // Odd byte counts are taken as words, as the header byte is shifted.
    EXPECT_EQ(LoadError(Form().Chunk("THDR", Thdr(1, 1, 13)).Chunk("BODY", Bytes(12)).Done(),
                        MapReader::Runtime),
              "");
}

TEST(MapReader, AttributeChunkForTheEditorOnly) {
    Bytes at32{22, 2, 3, 7, 0xAA, 0xBB, 0, 1, 0, 9, 0, 0};
    Bytes file = Form()
                     .Chunk("THDR", Thdr(2, 1))
                     .Chunk("BODY", Bytes(24))
                     .Chunk("AT32", at32)
                     .Chunk("KIDS", Kids("X.TIL"))
                     .Done();
    MemoryStream s(file);
    MapData editor = ReadMapData(s, MapReader::Editor);
    EXPECT_EQ(editor.cells[0].attributes, 2 | 22 << 8);
    EXPECT_EQ(editor.cells[0].arguments, 7 | 3 << 8);
    EXPECT_EQ(editor.cells[1].attributes, 1);
    EXPECT_EQ(editor.cells[1].arguments, 9);
    EXPECT_EQ(editor.tileSet, "X.TIL");
    MemoryStream s2(file);
    MapData runtime = ReadMapData(s2, MapReader::Runtime);
    EXPECT_EQ(runtime.cells, std::vector<MapCell>(2));
    EXPECT_EQ(runtime.tileSet, "X.TIL");

    // A short chunk gives what it holds and the next chunk is still found.
    Bytes shortFile = Form()
                          .Chunk("THDR", Thdr(2, 1))
                          .Chunk("AT32", {0, 1, 0, 2, 0, 0, 0, 3, 0, 4, 0})
                          .Chunk("KIDS", Kids("Y"))
                          .Done();
    RecordingSink sink;
    EXPECT_EQ(LoadError(shortFile, MapReader::Editor, &sink), "");
    EXPECT_EQ(sink.attributeChunks, 1);
    ASSERT_EQ(sink.attributes.size(), 1u);
    EXPECT_EQ(sink.attributes[0], std::make_tuple(0, 0, uint16_t(1), uint16_t(2)));
    EXPECT_EQ(sink.names, std::vector<std::string>{"Y"});
    EXPECT_EQ(sink.progress.back(), "Loading KIDS string");

    // A chunk longer than the map reads only the map's cells.
    RecordingSink big;
    EXPECT_EQ(LoadError(Form().Chunk("THDR", Thdr(1, 1)).Chunk("AT32", Bytes(60, 1)).Done(),
                        MapReader::Editor, &big),
              "");
    EXPECT_EQ(big.attributes.size(), 1u);
}

TEST(MapReader, UnknownChunksAndRepeatedHeaders) {
    Bytes nested = Form().Chunk("THDR", Thdr(9, 9)).Done();
    Bytes file = Form()
                     .Chunk("THDR", Thdr(3, 2))
                     .Chunk("FORM", nested)
                     .Chunk("XYZ1", {1, 2, 3})
                     .Chunk("THDR", Thdr(1, 2))
                     .Chunk("BODY", Bytes(24, 0))
                     .Done();
    RecordingSink sink;
    EXPECT_EQ(LoadError(file, MapReader::Runtime, &sink), "");
    EXPECT_EQ(sink.sizes, (std::vector<std::pair<int, int>>{{3, 2}, {1, 2}}));
    EXPECT_EQ(sink.rows.size(), 2u);

    // The usual IFF form length (file size - 8) reads the same when the last
    // chunk starts at least 8 bytes before the end.
    Bytes iffStyle = Form().Chunk("THDR", Thdr(1, 1)).Chunk("BODY", Bytes(12, 1)).Done();
    uint32_t n = uint32_t(iffStyle.size() - 8);
    for (int i = 0; i < 4; ++i)
        iffStyle[4 + i] = uint8_t(n >> (24 - 8 * i));
    MemoryStream s(iffStyle);
    EXPECT_EQ(ReadMapData(s, MapReader::Editor).cells[0].back, 0x0101);
}

TEST(MapReader, HeaderChecksComeAfterTheSizeIsTaken) {
    // Each header is followed by a body large enough for its smallest cells.
    auto withBody = [](const Bytes& thdr, size_t bodyBytes = 4 * 3 * 12) {
        return Form().Chunk("THDR", thdr).Chunk("BODY", Bytes(bodyBytes)).Done();
    };
    RecordingSink sink;
    EXPECT_EQ(LoadError(withBody(Thdr(3, 4, 12, 16, 16)), MapReader::Editor, &sink),
              "File has wrong tile width");
    EXPECT_EQ(sink.sizes, (std::vector<std::pair<int, int>>{{3, 4}}));
    EXPECT_EQ(LoadError(withBody(Thdr(3, 4, 12, 32, 16)), MapReader::Runtime),
              "File has wrong tile Height");
    EXPECT_EQ(LoadError(withBody(Thdr(3, 4, 12, 32, 32, 1)), MapReader::Editor),
              "Cannot Read compressed body");
    for (int cellBytes : {8, 9, 24, 0, 255}) {
        for (MapReader reader : {MapReader::Editor, MapReader::Runtime}) {
            std::string m = LoadError(withBody(Thdr(1, 1, cellBytes)), reader);
            EXPECT_NE(m.find("Cannot read map cells"), std::string::npos) << cellBytes;
        }
    }
    // The size limit applies when the cells are to be made.
    RecordingSink huge;
    EXPECT_EQ(LoadError(Form().Chunk("THDR", Thdr(65535, 65535)).Done(), MapReader::Runtime, &huge),
              "Map is too large");
    EXPECT_TRUE(huge.made.empty());
    EXPECT_EQ(LoadError(Form().Chunk("THDR", Thdr(4096, 4097)).Done(), MapReader::Editor),
              "Map is too large");
    EXPECT_EQ(
        LoadError(Form().Chunk("THDR", {0, 1, 0, 1, 0, 32, 0, 32, 12}).Done(), MapReader::Runtime),
        "Map header is too short");
}

TEST(MapReader, CellsAreMadeForTheLastHeaderOnlyAndHeadersNeedNoBody) {
    for (MapReader reader : {MapReader::Editor, MapReader::Runtime}) {
        // Of two headers the second counts, though the first is larger than the file.
        Bytes twoHeaders = Form()
                               .Chunk("THDR", Thdr(40, 40))
                               .Chunk("THDR", Thdr(1, 1))
                               .Chunk("BODY", Bytes(12, 2))
                               .Done();
        RecordingSink second;
        EXPECT_EQ(LoadError(twoHeaders, reader, &second), "");
        EXPECT_EQ(second.made, (std::vector<std::pair<int, int>>{{1, 1}}));
        ASSERT_EQ(second.rows.size(), 1u);
        EXPECT_EQ(second.rows[0][0].back, 0x0202);

        // Header and tile set but no body: an empty map of the header's size.
        RecordingSink noBody;
        EXPECT_EQ(
            LoadError(Form().Chunk("THDR", Thdr(300, 200)).Chunk("KIDS", Kids("A.TIL")).Done(),
                      reader, &noBody),
            "");
        EXPECT_EQ(noBody.made, (std::vector<std::pair<int, int>>{{300, 200}}));
        EXPECT_TRUE(noBody.rows.empty());
        EXPECT_EQ(noBody.names, std::vector<std::string>{"A.TIL"});

        // A short file still gets the header's own messages.
        EXPECT_EQ(LoadError(Form().Chunk("THDR", Thdr(300, 200, 12, 16)).Done(), reader),
                  "File has wrong tile width");
        EXPECT_EQ(LoadError(Form().Chunk("THDR", Thdr(300, 200, 12, 32, 32, 1)).Done(), reader),
                  "Cannot Read compressed body");

        // Many headers in a small file cost one map, made at the end.
        Form many;
        for (int i = 0; i < 200; ++i)
            many.Chunk("THDR", Thdr(4096, 4096));
        RecordingSink repeated;
        EXPECT_EQ(LoadError(many.Done(), reader, &repeated), "");
        EXPECT_EQ(repeated.sizes.size(), 200u);
        EXPECT_EQ(repeated.made.size(), 1u);

        // Repeated headers each followed by a body of their size all pass.
        Form bodies;
        for (int i = 0; i < 4; ++i)
            bodies.Chunk("THDR", Thdr(10, 10)).Chunk("BODY", Bytes(1200));
        RecordingSink paid;
        EXPECT_EQ(LoadError(bodies.Done(), reader, &paid), "");
        EXPECT_EQ(paid.made.size(), 4u);
        EXPECT_EQ(paid.rows.size(), 40u);

        // A map of no cells needs no body.
        RecordingSink empty;
        EXPECT_EQ(LoadError(Form().Chunk("THDR", Thdr(0, 500)).Done(), reader, &empty), "");
        EXPECT_EQ(empty.sizes, (std::vector<std::pair<int, int>>{{0, 500}}));
    }
}

TEST(MapReader, CellsMadeWithoutBodiesStayWithinAFewTimesTheFile) {
    // Header and attribute chunk over and over: each pair would make a map of
    // 100 cells from 34 bytes. Past the first map, the maps made may come to
    // four times the file (1980 bytes), counted as the smallest bodies (1008 bytes each).
    Form crowded;
    for (int i = 0; i < 30; ++i)
        crowded.Chunk("THDR", Thdr(10, 10)).Chunk("AT32", Bytes(6));
    crowded.Chunk("PAD ", Bytes(1000));
    RecordingSink bounded;
    EXPECT_EQ(LoadError(crowded.Done(), MapReader::Editor, &bounded),
              "Map headers announce more cells than the file can hold");
    EXPECT_EQ(bounded.made.size(), 7u); // 7 x 1008 <= 4 x 1980 < 8 x 1008
    // The runtime does not read attribute chunks, so it makes one map at the end.
    RecordingSink runtime;
    EXPECT_EQ(LoadError(crowded.Done(), MapReader::Runtime, &runtime), "");
    EXPECT_EQ(runtime.made.size(), 1u);
}

TEST(MapReader, MapDataWithoutBodyHasItsCellsAfterTheRead) {
    // Header and attributes but no body: cells of the header's size, attributes set.
    Bytes file = Form()
                     .Chunk("THDR", Thdr(2, 2))
                     .Chunk("AT32", {0, 1, 0, 2, 0, 0})
                     .Chunk("PAD ", Bytes(40))
                     .Done();
    MemoryStream s(file);
    MapData editor = ReadMapData(s, MapReader::Editor);
    ASSERT_EQ(editor.cells.size(), 4u);
    EXPECT_EQ(editor.cells[0], (MapCell{0, 0, 0, 0, 1, 2}));
    EXPECT_EQ(editor.cells[3], MapCell{});
    MemoryStream s2(file);
    EXPECT_EQ(ReadMapData(s2, MapReader::Runtime).cells, std::vector<MapCell>(4));

    // A second header starts the cells afresh, also at the same size.
    Bytes twice = Form()
                      .Chunk("THDR", Thdr(1, 1))
                      .Chunk("BODY", Bytes(12, 3))
                      .Chunk("THDR", Thdr(1, 1))
                      .Chunk("PAD ", Bytes(10))
                      .Done();
    MemoryStream s3(twice);
    EXPECT_EQ(ReadMapData(s3, MapReader::Runtime).cells, std::vector<MapCell>(1));
}

TEST(MapReader, RejectedFiles) {
    EXPECT_EQ(LoadError({}, MapReader::Editor), "Not an IFF File");
    EXPECT_EQ(LoadError({'F', 'O', 'R', 'X', 0, 0, 0, 12, 'Z', 'M', 'A', 'P'}, MapReader::Editor),
              "Not an IFF File");
    EXPECT_EQ(LoadError(Form("PBM ").Done(), MapReader::Runtime), "Not a Zorv map");
    EXPECT_NE(LoadError({'F', 'O', 'R', 'M', 0, 0}, MapReader::Runtime), "");

    Bytes good = Form().Chunk("THDR", Thdr(4, 3)).Chunk("BODY", Bytes(4 * 3 * 12, 7)).Done();
    for (size_t cut : {size_t(13), size_t(25), good.size() - 1, good.size() - 13}) {
        Bytes shortFile(good.begin(), good.begin() + cut);
        EXPECT_NE(LoadError(shortFile, MapReader::Editor), "") << cut;
        EXPECT_NE(LoadError(shortFile, MapReader::Runtime), "") << cut;
    }
    EXPECT_EQ(LoadError(Form().Chunk("THDR", Thdr(4, 3)).Chunk("BODY", Bytes(140)).Done(),
                        MapReader::Runtime),
              "Body is wrong size");
    // A body before any header: the runtime takes 0 words a cell, the editor refuses.
    Bytes early = Form().Chunk("BODY", Bytes(12)).Chunk("THDR", Thdr(1, 1)).Done();
    EXPECT_EQ(LoadError(early, MapReader::Runtime), "Body is wrong size");
    EXPECT_EQ(LoadError(early, MapReader::Editor), "Map body comes before the map header");
    EXPECT_EQ(LoadError(Form().Chunk("BODY", {}).Done(), MapReader::Runtime), "");
}

TEST(MapReader, TileSetNameIsBoundedAndCut) {
    auto nameOf = [](const Bytes& kids) {
        MemoryStream s(Form().Chunk("KIDS", kids).Done());
        return ReadMapData(s, MapReader::Runtime).tileSet;
    };
    EXPECT_EQ(nameOf({}), "");
    EXPECT_EQ(nameOf({5, 'A', 'B', 13, 'C', 13}), "AB");
    EXPECT_EQ(nameOf({3, 'A', 'B', 'C', 'D'}), "ABC"); // no carriage return
    EXPECT_EQ(nameOf({200, 'A', 'B'}), "AB");          // count beyond the data
    Bytes longKids{255};
    for (int i = 0; i < 400; ++i)
        longKids.push_back(uint8_t('a' + i % 26));
    std::string name = nameOf(longKids);
    ASSERT_EQ(name.size(), 255u);
    EXPECT_EQ(name.substr(0, 3), "abc");
}

TEST(MapReader, SinkExceptionsPassUnchanged) {
    struct Refusing : RecordingSink {
        void TileSetName(const std::string&) override { throw std::out_of_range("no tile set"); }
    } sink;
    MemoryStream s(Form().Chunk("KIDS", Kids("A")).Done());
    EXPECT_THROW(ReadMap(s, sink, MapReader::Runtime), std::out_of_range);
}
