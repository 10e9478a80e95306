// Maps and tile sets read from files built in a temporary folder.
#include "fixtures.h"
#include "formats/mapfile.h"
#include "maprun/core/map.h"
#include "maprun/core/render.h"
#include "maprun/core/tilepictures.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace maprun;
using test::TempDir;

namespace {

formats::TPBMImage SheetImage() { // 3 x 2 tiles, each block its own solid colour
    std::vector<uint8_t> pixels(96 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x)
            pixels[y * 96 + x] = static_cast<uint8_t>(0x80 + x / 32 + 3 * (y / 32));
    return test::MakeImage(96, 64, pixels);
}

formats::TPBMImage SingleImage() { // transparent tile
    std::vector<uint8_t> pixels(32 * 32, 0);
    for (int i = 0; i < 32; ++i)
        pixels[i * 32 + i] = 0x20;
    return test::MakeImage(32, 32, pixels);
}

std::vector<uint8_t> RecordBytes(const uint8_t* sprite) {
    if (!sprite) return {};
    return std::vector<uint8_t>(sprite, sprite + SpriteSize(sprite));
}

// tiles/DEMO.TIL with its pictures in tiles/pics (names in the file differ in case).
void WriteTileSet(const TempDir& dir, const std::string& body) {
    test::WritePicture(dir / "tiles/pics/Single.pbm", SingleImage());
    test::WritePicture(dir / "tiles/pics/sheet.pbm", SheetImage());
    test::WriteText(dir / "tiles/DEMO.TIL", "BLOKTEXT\r\n" + body);
}

const char* kTileSet = "; tiles for the tests\r\n"
                       "WIDTH=32\r\nHEIGHT=32\r\nNAME=X\r\n"
                       "tile 5 pics\\single.pbm\r\n"
                       "TILES 100 3,2 PICS\\SHEET.PBM\r\n"
                       ";TILE 6 PICS\\SINGLE.PBM\r\n"
                       "TILE 7 PICS\\MISSING.PBM\r\n"
                       "TILE X8 PICS\\SINGLE.PBM\r\n"
                       "TILE9 PICS\\SINGLE.PBM\r\n"
                       " TILE 10 PICS\\SINGLE.PBM\r\n"
                       "TILE 11 DEMO.TIL\r\n"
                       "TILE 12\r\n";

void WriteMap(const std::filesystem::path& path, const formats::MapData& map) {
    std::filesystem::create_directories(path.parent_path());
    formats::WriteMapData(path, map);
}

formats::MapData SmallMap(const std::string& tileSet) {
    formats::MapData map;
    map.width = 3;
    map.height = 2;
    map.tileSet = tileSet;
    map.cells = {
        {5, 0, 0, 1, 0x1602, 0x0307}, {100, 5, 103, 0, 0, 0}, {0xE005, 0, 0, 0, 0, 0},
        {104, 101, 5, 0, 0, 0},       {0, 0, 0, 0, 0, 0},     {5, 5, 5, 5, 5, 5},
    };
    return map;
}

} // namespace

TEST(TileSetLoading, LinesAndPicturesResolvedBesideTheTileSet) {
    TempDir dir;
    WriteTileSet(dir, kTileSet);
    TTiles tiles;
    tiles.LoadFromFile(dir / "tiles/DEMO.TIL");

    const auto single = SingleImage();
    const auto sheet = SheetImage();
    EXPECT_EQ(RecordBytes(tiles.Tile(5)),
              RecordBytes(MakeSprite(single, TRect{0, 0, 31, 31}).get()));
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(RecordBytes(tiles.Tile(100 + c + 3 * r)),
                      RecordBytes(
                          MakeSprite(sheet, TRect{32 * c, 32 * r, 32 * c + 31, 32 * r + 31}).get()))
                << "tile " << 100 + c + 3 * r;
    // Comment, missing picture, bad number, no space, leading space, not a
    // picture, missing word: all skipped without a word.
    for (int id : {6, 7, 8, 9, 10, 11, 12, 99, 106})
        EXPECT_EQ(tiles.Tile(id), nullptr) << id;
}

TEST(TileSetLoading, SheetsOnlyCutNumbersTheStoreHolds) {
    TempDir dir;
    // A sheet claiming a trillion tiles, and one whose numbers start below 0.
    WriteTileSet(dir, "TILES 8189 1000000,1000000 PICS\\SHEET.PBM\r\n"
                      "TILES -2 3,1 PICS\\SHEET.PBM\r\n"
                      "TILES 50 0,5 PICS\\SHEET.PBM\r\n");
    TTiles tiles;
    tiles.LoadFromFile(dir / "tiles/DEMO.TIL");
    const auto sheet = SheetImage();
    EXPECT_EQ(RecordBytes(tiles.Tile(8189)), RecordBytes(MakeSprite(sheet, {0, 0, 31, 31}).get()));
    EXPECT_EQ(RecordBytes(tiles.Tile(8190)), RecordBytes(MakeSprite(sheet, {32, 0, 63, 31}).get()));
    EXPECT_EQ(RecordBytes(tiles.Tile(0)), RecordBytes(MakeSprite(sheet, {64, 0, 95, 31}).get()));
    EXPECT_EQ(tiles.Tile(1), nullptr);
    EXPECT_EQ(tiles.Tile(50), nullptr);
}

TEST(TileSetLoading, RejectedFiles) {
    TempDir dir;
    auto expectError = [&](const std::string& text, const std::string& message) {
        test::WriteText(dir / "t.til", text);
        TTiles tiles;
        try {
            tiles.LoadFromFile(dir / "t.til");
            ADD_FAILURE() << "no error for " << text;
        } catch (const formats::ETileLoader& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    };
    expectError("blocktext\r\n", "Cannot read this file format");
    expectError("", "Cannot read this file format");
    expectError("BLOKTEXT\r\nwidth=16\r\n", "The Tileset has the wrong size tiles");
    expectError("BLOKTEXT\r\nHEIGHT=33\r\n", "The Tileset has the wrong size tiles");
    TTiles tiles;
    EXPECT_THROW(tiles.LoadFromFile(dir / "none.til"), formats::ETileLoader);
    test::WriteText(dir / "t.til", "BLOKTEXT\r\nWIDTH=abc\r\n");
    EXPECT_THROW(tiles.LoadFromFile(dir / "t.til"), formats::EConvertError);
}

namespace {

// 32 x 320: decoding it reports progress 20 times (every 16 rows).
formats::TPBMImage TallImage() {
    std::mt19937 rng(7);
    return test::RandomImage(32, 320, rng, {0, 0x20, 0x41, 0x90});
}

// A picture whose pixels decode but which then fails: a second BMHD too short.
void WriteFailingPicture(const std::filesystem::path& path) {
    test::WritePicture(path, TallImage());
    std::vector<char> bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const char extra[] = {'B', 'M', 'H', 'D', 0, 0, 0, 4, 0, 0, 0, 0};
    bytes.insert(bytes.end(), extra, extra + sizeof extra);
    const uint32_t formLength = uint32_t(bytes.size() - 8);
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = char(formLength >> (24 - 8 * i));
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

} // namespace

TEST(TileSetLoading, EachPictureIsDecodedOncePerLoad) {
    TempDir dir;
    test::WritePicture(dir / "TALL.PBM", TallImage());
    WriteFailingPicture(dir / "BAD.PBM");
    ASSERT_THROW(formats::TPBMImage(dir / "BAD.PBM"), formats::EIffLoader);

    auto progressOf = [&](const std::string& body, TTiles& tiles) {
        test::WriteText(dir / "t.til", "BLOKTEXT\r\n" + body);
        int runs = 0;
        tiles.LoadFromFile(dir / "t.til", [&runs] { ++runs; });
        return runs;
    };
    TTiles once;
    const int oneDecode = progressOf("TILE 1 tall.pbm\r\n", once);
    ASSERT_EQ(oneDecode, 20);
    TTiles onceBad;
    ASSERT_EQ(progressOf("TILE 1 BAD.PBM\r\n", onceBad), 20);

    // Many lines, single tiles and sheets, under either case of the name.
    std::string body;
    for (int i = 0; i < 40; ++i)
        body += "TILE " + std::to_string(i) + (i % 2 ? " TALL.PBM\r\n" : " tall.pbm\r\n");
    body += "TILES 100 1,10 TALL.PBM\r\n";
    for (int i = 0; i < 40; ++i)
        body += "TILE " + std::to_string(200 + i) + " BAD.PBM\r\nTILES 300 1,2 BAD.PBM\r\n";
    TTiles many;
    EXPECT_EQ(progressOf(body, many), 2 * oneDecode);

    // The tiles are those a fresh picture per line gives.
    const auto tall = TallImage();
    const std::vector<uint8_t> first = RecordBytes(MakeSprite(tall, {0, 0, 31, 31}).get());
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(RecordBytes(many.Tile(i)), first) << i;
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(RecordBytes(many.Tile(100 + r)),
                  RecordBytes(MakeSprite(tall, {0, 32 * r, 31, 32 * r + 31}).get()))
            << r;
    for (int id : {200, 239, 300, 301})
        EXPECT_EQ(many.Tile(id), nullptr) << id;
}

TEST(TileSetLoading, PictureStoreKeepsWithinItsBudget) {
    TempDir dir;
    test::WritePicture(dir / "A.PBM", TallImage());
    test::WritePicture(dir / "B.PBM", TallImage());
    int decodes = 0;
    // Room for one 32 x 320 picture only.
    TTilePictures pictures(
        dir.Path(), [&decodes] { ++decodes; }, 32 * 320);
    const auto a = pictures.Get("A.PBM");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(pictures.Get("a.pbm").get(), a.get());
    EXPECT_EQ(decodes, 20);
    const auto b = pictures.Get("B.PBM");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Pixels, a->Pixels);
    EXPECT_EQ(pictures.Get("B.PBM").get(), b.get());
    EXPECT_EQ(decodes, 40);
    // A was dropped for B: asked for again, it is decoded again.
    EXPECT_NE(pictures.Get("A.PBM").get(), a.get());
    EXPECT_EQ(decodes, 60);
    EXPECT_EQ(pictures.Get("MISSING.PBM"), nullptr);
}

TEST(MapLoading, RelativeDosNameAndCellsAfterTheRuntimeReader) {
    TempDir dir;
    WriteTileSet(dir, kTileSet);
    // Stored as the editor stores it: backslashes, case not that of the files.
    WriteMap(dir / "level.map", SmallMap("tiles\\demo.til"));
    TMap map;
    map.LoadFromFile(dir / "level.map");
    ASSERT_EQ(map.Width(), 3);
    ASSERT_EQ(map.Height(), 2);
    EXPECT_NE(map.Tiles().Tile(5), nullptr);
    // Tile 103 and 101 are solid: what they cover is cleared; tile 5 is not solid.
    const std::vector<TCell> want = {
        {5, 0, 0, 1, 0x1602, 0x0307}, {0, 0, 103, 0, 0, 0}, {0xE005, 0, 0, 0, 0, 0},
        {0, 101, 5, 0, 0, 0},         {0, 0, 0, 0, 0, 0},   {5, 5, 5, 5, 5, 5},
    };
    EXPECT_EQ(map.Cells(), want);

    const RuntimeCells cells = ReadRuntimeCells(dir / "level.map");
    EXPECT_EQ(cells.Width, 3);
    EXPECT_EQ(cells.Height, 2);
    EXPECT_EQ(cells.Cells, want);

    // In a folder of its own, with the tile set one level up.
    WriteMap(dir / "maps/up.map", SmallMap("..\\TILES\\DEMO.TIL"));
    TMap up;
    up.LoadFromFile(dir / "maps/up.map");
    EXPECT_NE(up.Tiles().Tile(104), nullptr);
}

TEST(MapLoading, FullPathsAreUsedAsTheyAre) {
    // The tile set lies outside the map's folder and is recorded with its full
    // path; putting the map's folder in front of it would name nothing.
    TempDir dir;
    WriteTileSet(dir, kTileSet);
    const std::string full = (dir / "tiles/DEMO.TIL").string();
    WriteMap(dir / "elsewhere/full.map", SmallMap(full));
    TMap map;
    map.LoadFromFile(dir / "elsewhere/full.map");
    EXPECT_NE(map.Tiles().Tile(100), nullptr);

    // Backslashes and another case in a full path resolve the same way.
    std::string dos = full;
    for (char& c : dos)
        if (c == '/') c = '\\';
    dos.replace(dos.size() - 8, 8, "demo.til");
    WriteMap(dir / "elsewhere/dos.map", SmallMap(dos));
    TMap dosMap;
    dosMap.LoadFromFile(dir / "elsewhere/dos.map");
    EXPECT_NE(dosMap.Tiles().Tile(100), nullptr);
}

TEST(MapLoading, MissingTileSetFailsTheLoad) {
    TempDir dir;
    WriteTileSet(dir, kTileSet);
    for (const std::string& name : {std::string(), std::string("nothing.til"), std::string("tiles"),
                                    std::string("/no/such/dir/x.til")}) {
        WriteMap(dir / "bad.map", SmallMap(name));
        TMap map;
        try {
            map.LoadFromFile(dir / "bad.map");
            ADD_FAILURE() << "no error for '" << name << "'";
        } catch (const formats::EMapLoad& e) {
            EXPECT_EQ(std::string(e.what()), "Map file did not have a valid TileSet filename");
        }
    }
    // A file that is not a map, and one that is not there.
    test::WriteText(dir / "junk.map", "not a map at all");
    TMap map;
    EXPECT_THROW(map.LoadFromFile(dir / "junk.map"), formats::EMapLoad);
    EXPECT_THROW(map.LoadFromFile(dir / "absent.map"), formats::EFOpenError);
}

namespace {

// A map file made of these chunks (ID and data), FORM length the file size.
void WriteChunks(const std::filesystem::path& path,
                 const std::vector<std::pair<std::string, std::string>>& chunks) {
    auto be32 = [](uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    std::string body = "ZMAP";
    for (const auto& [id, data] : chunks) {
        body += id + be32(uint32_t(data.size())) + data;
        if (data.size() % 2) body += '\0';
    }
    test::WriteText(path, "FORM" + be32(uint32_t(body.size() + 8)) + body);
}

std::string Thdr(int w, int h) {
    return {char(w >> 8), char(w), char(h >> 8), char(h), 0, 32, 0, 32, 12, 0};
}

std::string Kids(const std::string& name) {
    return char(name.size() + 3) + name + "\r\r";
}

} // namespace

TEST(MapLoading, TheLastTileSetNamedIsLoadedAndHeadersNeedNoBody) {
    TempDir dir;
    WriteTileSet(dir, "TILE 5 PICS\\SINGLE.PBM\r\n");
    test::WriteText(dir / "tiles/OTHER.TIL", "BLOKTEXT\r\nTILE 6 PICS\\SINGLE.PBM\r\n");
    const std::string cells(3 * 2 * 12, '\0');

    // Each name is checked as it comes, one tile set is loaded: the last.
    WriteChunks(dir / "two.map", {{"THDR", Thdr(3, 2)},
                                  {"KIDS", Kids("TILES\\DEMO.TIL")},
                                  {"KIDS", Kids("TILES\\OTHER.TIL")},
                                  {"BODY", cells}});
    TMap two;
    two.LoadFromFile(dir / "two.map");
    EXPECT_EQ(two.Tiles().Tile(5), nullptr);
    EXPECT_NE(two.Tiles().Tile(6), nullptr);
    WriteChunks(dir / "missing.map", {{"THDR", Thdr(3, 2)},
                                      {"KIDS", Kids("TILES\\NONE.TIL")},
                                      {"KIDS", Kids("TILES\\OTHER.TIL")},
                                      {"BODY", cells}});
    TMap missing;
    EXPECT_THROW(missing.LoadFromFile(dir / "missing.map"), formats::EMapLoad);

    // Of two headers the second counts, though the first is larger than the file.
    WriteChunks(dir / "headers.map", {{"THDR", Thdr(4000, 4000)},
                                      {"THDR", Thdr(3, 2)},
                                      {"KIDS", Kids("TILES\\DEMO.TIL")},
                                      {"BODY", cells}});
    TMap headers;
    headers.LoadFromFile(dir / "headers.map");
    EXPECT_EQ(headers.Width(), 3);
    EXPECT_EQ(headers.Cells().size(), 6u);

    // A header and a tile set but no body: an empty map of the header's size.
    WriteChunks(dir / "nobody.map", {{"THDR", Thdr(300, 200)}, {"KIDS", Kids("TILES\\DEMO.TIL")}});
    TMap empty;
    empty.LoadFromFile(dir / "nobody.map");
    EXPECT_EQ(empty.Width(), 300);
    EXPECT_EQ(empty.Height(), 200);
    EXPECT_EQ(empty.Cells(), std::vector<TCell>(300 * 200));
    EXPECT_NE(empty.Tiles().Tile(5), nullptr);
}

TEST(TileSetLoading, PicturesCostWhatTheirDataCanFill) {
    // Three pictures of 8192 x 8192 in 40 bytes each: no rows to hold, so a
    // store with room for 64 KB keeps all three and decodes each once.
    TempDir dir;
    std::string announced("FORM\0\0\0\x28PBM BMHD\0\0\0\x14\x20\0\x20\0", 24);
    announced.resize(40, '\0');
    for (const char* name : {"A.PBM", "B.PBM", "C.PBM"})
        test::WriteText(dir / name, announced);
    TTilePictures pictures(dir.Path(), {}, 64 * 1024);
    const auto a = pictures.Get("A.PBM");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Width(), 8192);
    EXPECT_TRUE(a->Pixels.empty());
    pictures.Get("B.PBM");
    pictures.Get("C.PBM");
    EXPECT_EQ(pictures.Get("A.PBM").get(), a.get());

    // Cutting is bounded by the pixels a picture holds: blocks beyond them are
    // empty at once, however many a line asks for.
    test::WriteText(dir / "t.til", "BLOKTEXT\r\nTILES 0 91,91 A.PBM\r\nTILE 5 B.PBM\r\n");
    TTiles tiles;
    tiles.LoadFromFile(dir / "t.til");
    for (int id = 0; id < TTiles::kCount; ++id)
        ASSERT_EQ(tiles.Tile(id), nullptr) << id;
    const formats::TPBMImage zero = test::MakeImage(1, 1, {0});
    EXPECT_EQ(MakeSprite(zero, {0, 0, 65535, 65535}), nullptr);
    const formats::TPBMImage one = test::MakeImage(1, 1, {70});
    const SpriteRecord tall = MakeSprite(one, {0, -65535, 0, 0});
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(SpriteHeight(tall.get()), 65536);
    EXPECT_EQ(GetSpriteKind(tall.get()), SpriteKind::Transparent);
}
