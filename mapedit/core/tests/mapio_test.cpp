#include "fake_ui.h"
#include "formats/mapfile.h"
#include "formats/text.h"
#include "mapedit/core/editor.h"
#include "mapedit/core/mapio.h"

#include <gtest/gtest.h>

using namespace mapedit;
using mapedit::testing::FakeUi;
using mapedit::testing::TempDir;
using mapedit::testing::WritePicture;
using mapedit::testing::WriteText;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

void PutWord(Bytes& b, uint16_t v) {
    b.push_back(uint8_t(v >> 8)), b.push_back(uint8_t(v));
}
void PutLong(Bytes& b, uint32_t v) {
    PutWord(b, uint16_t(v >> 16)), PutWord(b, uint16_t(v));
}

struct Chunk {
    std::string id;
    Bytes data;
};

// A "ZMAP" form with these chunks; the FORM length is the file size.
Bytes MapFile(const std::vector<Chunk>& chunks) {
    Bytes b = {'F', 'O', 'R', 'M', 0, 0, 0, 0, 'Z', 'M', 'A', 'P'};
    for (const Chunk& c : chunks) {
        b.insert(b.end(), c.id.begin(), c.id.end());
        PutLong(b, uint32_t(c.data.size()));
        b.insert(b.end(), c.data.begin(), c.data.end());
        if (c.data.size() % 2) b.push_back(0);
    }
    Bytes size;
    PutLong(size, uint32_t(b.size()));
    std::copy(size.begin(), size.end(), b.begin() + 4);
    return b;
}

Chunk Thdr(uint16_t w, uint16_t h, uint8_t cellBytes) {
    Chunk c{"THDR", {}};
    PutWord(c.data, w), PutWord(c.data, h), PutWord(c.data, 32), PutWord(c.data, 32);
    c.data.push_back(cellBytes), c.data.push_back(0);
    return c;
}

Chunk Kids(const std::string& name) {
    Chunk c{"KIDS", {uint8_t(name.size() + 3)}};
    c.data.insert(c.data.end(), name.begin(), name.end());
    c.data.push_back(13), c.data.push_back(13);
    return c;
}

struct Editor {
    FakeUi ui;
    TEditor ed{ui};
    void Read(const Bytes& bytes, const fs::path& mapFile) {
        formats::MemoryStream stream(bytes);
        ed.MapFromStream(stream, mapFile);
    }
};

// A tile set in dir/tiles: tiles 5 and 6 from pictures beside it.
fs::path MakeTileSet(const fs::path& dir) {
    fs::create_directories(dir / "tiles");
    WritePicture(dir / "tiles" / "a.pbm", 32, 32, [](int, int) { return 70; });
    WritePicture(dir / "tiles" / "b.pbm", 32, 32, [](int, int) { return 80; });
    WriteText(dir / "tiles" / "set.til", "BLOKTEXT\nTILE 5 A.PBM\nTILE 6 B.PBM\n");
    return dir / "tiles" / "set.til";
}

} // namespace

TEST(MapFiles, RoundTripThroughTheDocument) {
    TempDir dir;
    const fs::path tileSet = MakeTileSet(dir.path());
    Editor a;
    a.ed.Tiles.LoadTileSet(tileSet.string());
    a.ed.ResizePlanes(3, 2);
    const uint16_t cell0[6] = {0x0102, 0, 0x0A0B, 5, 0x0307, 0x1602}; // layers 0 to 5
    for (int layer = 0; layer < kLayerCount; ++layer) {
        a.ed.Doc.SetCell(layer, 0, 0, cell0[layer]);
        a.ed.Doc.SetCell(layer, 2, 1, uint16_t(0xF000 + layer));
    }
    const fs::path mapFile = dir / "m.map";
    a.ed.WriteMap(mapFile.string());
    EXPECT_FALSE(a.ed.Doc.Modified);
    EXPECT_EQ(a.ed.Doc.DocName, "Untitled"); // writing does not rename

    // The tile set lies below the map's directory: recorded relative to it.
    const Bytes bytes = formats::ReadWholeFile(mapFile);
    const std::string name = "tiles\\set.til";
    ASSERT_GT(bytes.size(), 40u);
    EXPECT_EQ(bytes[38], name.size() + 3);
    EXPECT_EQ(std::string(bytes.begin() + 39, bytes.begin() + 39 + long(name.size())), name);
    const size_t body = 41 + name.size() + (name.size() % 2 ? 0 : 1) + 8;
    const Bytes first(bytes.begin() + long(body), bytes.begin() + long(body) + 12);
    EXPECT_EQ(first, (Bytes{1, 2, 0, 0, 0x0A, 0x0B, 0, 5, 2, 0x16, 7, 3}));
    EXPECT_EQ(bytes.size(), body + 6 * 12);

    // A palette saved under its own name leaves the recorded tile set alone.
    a.ed.Tiles.PaletteFileName = (dir / "p.tpl").string();
    a.ed.Tiles.SavePalette(a.ed.Tiles.PaletteFileName);
    a.ed.WriteMap(mapFile.string());
    EXPECT_EQ(formats::ReadWholeFile(mapFile), bytes);

    Editor b;
    b.ed.Doc.Modified = true;
    b.ed.ClearDocument();
    b.ed.OpenMapFile(mapFile.string());
    EXPECT_EQ(b.ed.Doc.W(), 3);
    EXPECT_EQ(b.ed.Doc.H(), 2);
    EXPECT_EQ(b.ed.Doc.Planes, a.ed.Doc.Planes);
    EXPECT_EQ(b.ed.Doc.LayerFlags, 0x3D);
    EXPECT_FALSE(b.ed.Doc.Modified);
    EXPECT_EQ(b.ed.Doc.DocPath, mapFile.string());
    EXPECT_EQ(b.ui.caption, b.ed.Doc.DocName);
    EXPECT_EQ(fs::canonical(b.ed.Tiles.FileName), fs::canonical(tileSet));
    EXPECT_EQ(b.ed.Tiles.FindSlot(6), 2);
    EXPECT_EQ(b.ui.realized, 1);
    EXPECT_EQ(b.ui.sizes.back(), (std::pair<int32_t, int32_t>{3, 2}));
    ASSERT_EQ(b.ui.progress.size(), 2u); // the map's box and, inside it, the tile set's
    EXPECT_EQ(b.ui.progress[0][0], "Loading Map");
    EXPECT_EQ(b.ui.progress[1][0], "Loading TileSet");
    const auto& lines = b.ui.progress[0];
    EXPECT_NE(std::find(lines.begin(), lines.end(), "CurrentString=Loading map body"), lines.end());
    EXPECT_EQ(b.ui.openBoxes, 0);
    EXPECT_GE(b.ui.pendingEventRuns, 2);
}

TEST(MapFiles, FiveWordBodiesAndAttributeChunks) {
    TempDir dir;
    Editor e;
    e.ed.Doc.SetCell(1, 0, 0, 77);
    // Two 5-word cells: background, foreground, collision, then the attribute
    // and argument words in memory order.
    Chunk body{"BODY", {0, 1, 0, 2, 0, 3, 0x04, 0x05, 0x06, 0x07, //
                        0, 9, 0, 8, 0, 7, 0x02, 0x16, 0x07, 0x03}};
    e.Read(MapFile({Thdr(2, 1, 10), body}), dir / "x.map");
    EXPECT_EQ(e.ed.Doc.W(), 2);
    EXPECT_EQ(e.ed.Doc.Cell(0, 0, 0), 1);
    EXPECT_EQ(e.ed.Doc.Cell(1, 0, 0), 0);
    EXPECT_EQ(e.ed.Doc.Cell(2, 0, 0), 2);
    EXPECT_EQ(e.ed.Doc.Cell(3, 0, 0), 3);
    EXPECT_EQ(e.ed.Doc.Cell(kAttributeLayer, 0, 0), 0x0504);
    EXPECT_EQ(e.ed.Doc.Cell(kArgumentLayer, 0, 0), 0x0706);
    EXPECT_EQ(e.ed.Doc.Cell(kAttributeLayer, 1, 0), 0x1602);
    EXPECT_EQ(e.ed.Doc.Cell(3, 1, 0), 7);
    EXPECT_TRUE(e.ui.messages.empty()); // no KIDS chunk, no tile set to look for

    // AT32 replaces the attribute planes: codes B then A, arguments B then A.
    Chunk six{"BODY", Bytes(24, 0)};
    six.data[2] = 0, six.data[3] = 42; // middle ground of cell 0
    Chunk at32{"AT32", {0x16, 0x02, 0x03, 0x07, 0xAA, 0xBB, 0x00, 0x14, 0x00, 0x2C, 0, 0}};
    e.ed.ClearDocument();
    e.Read(MapFile({Thdr(2, 1, 12), six, at32}), dir / "x.map");
    EXPECT_EQ(e.ed.Doc.Cell(1, 0, 0), 42);
    EXPECT_EQ(e.ed.Doc.Cell(kAttributeLayer, 0, 0), 0x1602);
    EXPECT_EQ(e.ed.Doc.Cell(kArgumentLayer, 0, 0), 0x0307);
    EXPECT_EQ(e.ed.Doc.Cell(kAttributeLayer, 1, 0), 0x0014);
    EXPECT_EQ(e.ed.Doc.Cell(kArgumentLayer, 1, 0), 0x002C);
    EXPECT_EQ(e.ed.Doc.LayerFlags, 0x3D);

    // Rejections leave the reader with its message; the progress box closes.
    EXPECT_THROW(e.Read(MapFile({Thdr(5000, 5000, 12)}), dir / "x.map"), formats::EmapLoad);
    EXPECT_THROW(e.Read(MapFile({Thdr(2, 1, 12), Chunk{"BODY", Bytes(20, 0)}}), dir / "x.map"),
                 formats::EmapLoad);
    EXPECT_EQ(e.ui.openBoxes, 0);
}

TEST(MapFiles, MissingOrDamagedTileSetsOnlyWarn) {
    TempDir dir;
    Editor e;
    Chunk body{"BODY", Bytes(12, 0)};
    body.data[1] = 9;
    e.Read(MapFile({Thdr(1, 1, 12), Kids("NOPE.TIL"), body}), dir / "x.map");
    ASSERT_EQ(e.ui.messages.size(), 1u);
    EXPECT_EQ(e.ui.messages[0].text, "Map file did not have a valid TileSet filename");
    EXPECT_EQ(e.ui.messages[0].buttons, MessageButtons::Ignore);
    EXPECT_EQ(e.ed.Doc.Cell(0, 0, 0), 9);

    WriteText(dir / "bad.til", "not a tile set");
    e.Read(MapFile({Thdr(1, 1, 12), Kids("BAD.TIL"), body}), dir / "x.map");
    // The reader's message, and the tile set it concerns on a line of its own.
    EXPECT_EQ(e.ui.messages.back().text,
              "Cannot read this file format\n" + fs::weakly_canonical(dir / "bad.til").string());
    EXPECT_EQ(e.ed.Doc.Cell(0, 0, 0), 9);

    // Without a tile set the writer records an empty name; reading it warns.
    e.ed.Tiles.FileName.clear();
    e.ed.WriteMap((dir / "empty.map").string());
    const Bytes bytes = formats::ReadWholeFile(dir / "empty.map");
    EXPECT_EQ(Bytes(bytes.begin() + 30, bytes.begin() + 42),
              (Bytes{'K', 'I', 'D', 'S', 0, 0, 0, 3, 3, 13, 13, 0}));
    e.ui.messages.clear();
    e.ed.ClearDocument();
    e.ed.OpenMapFile((dir / "empty.map").string());
    EXPECT_EQ(e.ui.messages.size(), 1u);

    // Not a map: the name stays "Untitled", Modified and the layer flags as they were.
    WriteText(dir / "text.map", "hello, world");
    e.ed.ClearDocument();
    e.ed.Doc.Modified = true;
    e.ed.Doc.LayerFlags = 0x2F;
    try {
        e.ed.OpenMapFile((dir / "text.map").string());
        FAIL();
    } catch (const formats::EmapLoad& err) {
        EXPECT_STREQ(err.what(), "Not an IFF File");
    }
    EXPECT_EQ(e.ed.Doc.DocName, "Untitled");
    EXPECT_TRUE(e.ed.Doc.Modified);
    EXPECT_EQ(e.ed.Doc.LayerFlags, 0x2F);
    EXPECT_THROW(e.ed.OpenMapFile((dir / "none.map").string()), formats::FormatError);
}

TEST(MapFiles, TileSetNamesAreRecordedAndFoundBesideTheMap) {
    TempDir dir;
    fs::create_directories(dir / "maps" / "sub");
    fs::create_directories(dir / "other");
    fs::create_directories(dir / "cwd");
    const fs::path map = dir / "maps" / "m.map";
    EXPECT_EQ(RecordedTileSetName(dir / "maps" / "sub" / "t.til", map), "sub\\t.til");
    EXPECT_EQ(RecordedTileSetName(dir / "maps" / "t.til", map), "t.til");
    EXPECT_EQ(RecordedTileSetName(dir / "other" / "t.til", map),
              fs::weakly_canonical(dir / "other" / "t.til").string());
    EXPECT_EQ(RecordedTileSetName(dir / "maps" / "sub" / ".." / "..", map),
              fs::weakly_canonical(dir.path()).string());
    EXPECT_EQ(RecordedTileSetName("", map), "");

    WriteText(dir / "maps" / "sub" / "t.til", "BLOKTEXT\n");
    WriteText(dir / "cwd" / "t.til", "BLOKTEXT\n");
    WriteText(dir / "cwd" / "only.til", "BLOKTEXT\n");
    WriteText(dir / "other" / "t.til", "BLOKTEXT\n");
    const fs::path before = fs::current_path();
    fs::current_path(dir / "cwd");
    const auto sub = ResolveTileSetName("SUB\\T.TIL", map);
    const auto only = ResolveTileSetName("ONLY.TIL", map);
    const auto mapFirst = ResolveTileSetName("T.TIL", dir / "other" / "m.map");
    const auto full =
        ResolveTileSetName(fs::weakly_canonical(dir / "other" / "t.til").string(), map);
    const auto none = ResolveTileSetName("SUB", map); // a directory is no tile set
    fs::current_path(before);
    ASSERT_TRUE(sub && only && mapFirst && full);
    EXPECT_EQ(fs::canonical(*sub), fs::canonical(dir / "maps" / "sub" / "t.til"));
    EXPECT_EQ(fs::canonical(*only), fs::canonical(dir / "cwd" / "only.til"));
    EXPECT_EQ(fs::canonical(*mapFirst), fs::canonical(dir / "other" / "t.til")); // map's dir first
    EXPECT_EQ(fs::canonical(*full), fs::canonical(dir / "other" / "t.til"));
    EXPECT_FALSE(none);
    EXPECT_FALSE(ResolveTileSetName("", map));

    // The program's directory comes last.
    const fs::path beside = fs::path(formats::ProgramDir()) / "mapedit-core-test-tileset.til";
    WriteText(beside, "BLOKTEXT\n");
    const auto found = ResolveTileSetName("MAPEDIT-CORE-TEST-TILESET.TIL", map);
    fs::remove(beside);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->filename(), beside.filename());
}

TEST(MapFiles, OneTileSetPerMapAndTheHeadersAsTheFormatReadsThem) {
    TempDir dir;
    const fs::path tileSet = MakeTileSet(dir.path());
    auto tileSetLoads = [](const FakeUi& ui) {
        return std::count_if(ui.progress.begin(), ui.progress.end(),
                             [](const auto& box) { return box[0] == "Loading TileSet"; });
    };

    // Fifty names of the tile set load it once; a name of nothing still warns.
    std::vector<Chunk> chunks{Thdr(1, 1, 12)};
    for (int i = 0; i < 50; ++i)
        chunks.push_back(Kids("TILES\\SET.TIL"));
    chunks.push_back(Kids("NOPE.TIL"));
    chunks.push_back(Chunk{"BODY", Bytes(12, 0)});
    Editor many;
    many.Read(MapFile(chunks), dir / "m.map");
    EXPECT_EQ(tileSetLoads(many.ui), 1);
    EXPECT_EQ(many.ed.Tiles.FindSlot(6), 2);
    EXPECT_EQ(many.ui.messages.size(), 1u);

    // A header and a tile set but no body: an empty map of the header's size.
    Editor noBody;
    noBody.ed.Doc.SetCell(0, 0, 0, 9);
    noBody.Read(MapFile({Thdr(300, 200, 12), Kids("TILES\\SET.TIL")}), dir / "m.map");
    EXPECT_EQ(noBody.ed.Doc.W(), 300);
    EXPECT_EQ(noBody.ed.Doc.H(), 200);
    EXPECT_EQ(noBody.ed.Doc.Cell(0, 0, 0), 0);
    EXPECT_EQ(tileSetLoads(noBody.ui), 1);

    // Of two headers the second counts, though the first is larger than the file.
    Editor second;
    Chunk body{"BODY", Bytes(24, 0)};
    body.data[1] = 4;
    second.Read(MapFile({Thdr(5000, 3000, 12), Thdr(2, 1, 12), body}), dir / "m.map");
    EXPECT_EQ(second.ed.Doc.W(), 2);
    EXPECT_EQ(second.ed.Doc.Cell(0, 0, 0), 4);
    EXPECT_EQ(second.ui.sizes, (std::vector<std::pair<int32_t, int32_t>>{{2, 1}}));

    // A short file gets the header's own message; the document takes its size
    // and the tile set named before the failure.
    Editor wrong;
    Chunk thdr = Thdr(30, 20, 12);
    thdr.data[5] = 16; // 16-pixel tiles
    try {
        wrong.Read(MapFile({Kids("TILES\\SET.TIL"), thdr}), dir / "m.map");
        FAIL();
    } catch (const formats::EmapLoad& e) {
        EXPECT_STREQ(e.what(), "File has wrong tile width");
    }
    EXPECT_EQ(wrong.ed.Doc.W(), 30);
    EXPECT_EQ(wrong.ed.Doc.H(), 20);
    EXPECT_EQ(tileSetLoads(wrong.ui), 1);
    EXPECT_EQ(wrong.ui.openBoxes, 0);
}
