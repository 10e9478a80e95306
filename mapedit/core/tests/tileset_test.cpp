#include "fake_ui.h"
#include "mapedit/core/tilecollection.h"
#include "mapedit/core/tilepictures.h"

#include <gtest/gtest.h>

using namespace mapedit;
using mapedit::testing::FakeUi;
using mapedit::testing::TempDir;
using mapedit::testing::WritePicture;
using mapedit::testing::WriteText;

namespace {

// A sheet of columns x rows tiles; the tile in column c and row r is filled with
// colour 20 + c + 10 r, except `blank`, which is all colour 0.
void WriteSheet(const std::filesystem::path& file, int columns, int rows, int blank = -1) {
    WritePicture(file, 32 * columns, 32 * rows, [&](int x, int y) {
        int tile = x / 32 + columns * (y / 32);
        return uint8_t(tile == blank ? 0 : 20 + x / 32 + 10 * (y / 32));
    });
}

struct Loader {
    TempDir dir;
    FakeUi ui;
    TColourTable colours;
    TTileCollection tiles{colours, ui};

    void Load(const std::string& text) {
        WriteText(dir / "set.til", text);
        tiles.LoadTileSet((dir / "set.til").string());
    }
    uint8_t SlotColour(int slot) const { return tiles.Strip().Pixel(5, 32 * slot + 5); }
};

} // namespace

TEST(TileSetLoading, SlotsFollowNewlineAndSheetRows) {
    Loader l;
    WriteSheet(l.dir / "s.pbm", 3, 2, /*blank=*/4);
    WritePicture(l.dir / "a.pbm", 32, 32, [](int, int) { return 70; });
    WritePicture(l.dir / "b.pbm", 32, 32, [](int, int) { return 80; });
    l.Load("BLOKTEXT any text\n"
           "; TILE 5 A.PBM is a comment\n"
           "TILES 100 3,2 S.PBM\n"
           "tile 7 a.pbm\n"
           "NEWLINE\n"
           "TILE 8 B.PBM\n"
           "TILE5 A.PBM\n"
           "  TILE 6 A.PBM\n"
           "WIDTH=32\nHEIGHT=32\nNAME=X\n");
    const int expected[][3] = {{10, 100, 20}, {11, 101, 21}, {12, 102, 22}, {20, 103, 30},
                               {22, 105, 32}, {23, 7, 70},   {30, 8, 80}};
    for (const auto& e : expected) {
        EXPECT_EQ(l.tiles.Id(e[0]), e[1]) << "slot " << e[0];
        EXPECT_EQ(l.SlotColour(e[0]), e[2]) << "slot " << e[0];
    }
    // The blank sheet tile leaves its slot empty but still takes it.
    EXPECT_EQ(l.tiles.Id(21), 0);
    EXPECT_EQ(l.tiles.CountCopies(0), 1022 - 7);
    EXPECT_TRUE(l.ui.messages.empty());
    EXPECT_EQ(l.tiles.FileName, (l.dir / "set.til").string());

    ASSERT_EQ(l.ui.progress.size(), 1u);
    const auto& box = l.ui.progress[0];
    EXPECT_EQ(box[0], "Loading TileSet");
    auto has = [&](const std::string& s) {
        return std::find(box.begin(), box.end(), s) != box.end();
    };
    EXPECT_TRUE(has("Label1=File format is BLOCKTEXT"));
    EXPECT_TRUE(has("CurrentString=Loading image S.PBM"));
    EXPECT_TRUE(has("CurrentString=Reading tiles from image"));
    EXPECT_TRUE(has("CurrentString=Loading single tileA.PBM"));
    EXPECT_TRUE(has("Label2=Tiles Loaded: 8"));
    EXPECT_TRUE(has("Label3=Tile Width: 32"));
    EXPECT_TRUE(has("Label4=Tile Height: 32"));
    EXPECT_EQ(l.ui.openBoxes, 0);
    EXPECT_GT(l.ui.pendingEventRuns, 10);
    // The last picture's colours are the editor's.
    EXPECT_EQ(l.colours.SourceColours()[3].red, 3);
}

TEST(TileSetLoading, ProblemsAreReportedOrEndTheLoad) {
    Loader l;
    WritePicture(l.dir / "a.pbm", 32, 32, [](int, int) { return 70; });

    l.tiles.LoadTileSet((l.dir / "nothing.til").string());
    EXPECT_TRUE(l.ui.HasMessage("No file by that name"));
    EXPECT_TRUE(l.tiles.FileName.empty());

    // Missing pictures are reported and skipped without using a slot.
    l.Load("BLOKTEXT\nTILE 1 GONE.PBM\nTILES 5 2,2 GONE2.PBM\nTILE 2 A.PBM\n");
    EXPECT_TRUE(l.ui.HasMessage("Error loading GONE.PBM"));
    EXPECT_TRUE(l.ui.HasMessage("Error loading GONE2.PBM"));
    EXPECT_EQ(l.ui.messages.back().buttons, MessageButtons::Ignore);
    EXPECT_EQ(l.tiles.Id(1), 2);

    // The header is compared before upper-casing; IDs and pictures stay.
    EXPECT_THROW(l.Load("blocktext\nTILE 3 A.PBM\n"), formats::ENotBlockFile);
    EXPECT_EQ(l.tiles.Id(1), 2);
    EXPECT_EQ(l.ui.openBoxes, 0);
    EXPECT_THROW(l.Load(""), formats::ENotBlockFile);

    // Wrong tile size ends the load; what was stored stays.
    EXPECT_THROW(l.Load("BLOKTEXT\nTILE 4 A.PBM\nWIDTH=16\nTILE 5 A.PBM\n"),
                 formats::ETileWrongSize);
    EXPECT_EQ(l.tiles.Id(1), 4);
    EXPECT_EQ(l.tiles.FindSlot(5), 0);
    EXPECT_THROW(l.Load("BLOKTEXT\nTILE X A.PBM\n"), formats::EConvertError);
    mapedit::testing::WriteText(l.dir / "bad.pbm", "not a picture");
    EXPECT_THROW(l.Load("BLOKTEXT\nTILE 1 BAD.PBM\n"), formats::EInvalidGraphic);

    // A line missing its picture is skipped.
    l.Load("BLOKTEXT\nTILE 9\nTILE 6 A.PBM\n");
    EXPECT_EQ(l.tiles.Id(1), 6);
}

TEST(TileSetLoading, StopsWhenTheSlotsAreFull) {
    Loader l;
    WriteSheet(l.dir / "big.pbm", 10, 2);
    WritePicture(l.dir / "a.pbm", 32, 32, [](int, int) { return 70; });
    // 50 sheets of 20 tiles fill slots 10 to 1009, one more row 1010 to 1019;
    // three single tiles fit after it, the fourth does not.
    std::string text = "BLOKTEXT\n";
    for (int i = 0; i < 50; ++i)
        text += "TILES " + std::to_string(1000 + 20 * i) + " 10,2 BIG.PBM\n";
    text += "TILES 3000 10,1 BIG.PBM\n";
    text += "TILE 7 A.PBM\nTILE 8 A.PBM\nTILE 9 A.PBM\nTILE 10 A.PBM\nTILE 11 A.PBM\n";
    l.Load(text);
    EXPECT_EQ(l.tiles.Id(1009), 1999);
    EXPECT_EQ(l.tiles.Id(1019), 3009);
    EXPECT_EQ(l.tiles.Id(1020), 7);
    EXPECT_EQ(l.tiles.Id(1022), 9);
    EXPECT_EQ(l.tiles.FindSlot(10), 0);
    EXPECT_EQ(l.tiles.FindSlot(11), 0);
    EXPECT_EQ(l.tiles.Id(1023), 0);
    ASSERT_EQ(l.ui.messages.size(), 1u);
    EXPECT_NE(l.ui.messages[0].text.find("1022"), std::string::npos);

    // A sheet that claims more tiles than its picture holds stops the same way.
    l.ui.messages.clear();
    l.Load("BLOKTEXT\nTILES 1 2147483647,1 A.PBM\n");
    EXPECT_EQ(l.tiles.Id(10), 1);
    EXPECT_EQ(l.ui.messages.size(), 1u);
}

TEST(TileSetLoading, PicturesSmallerThanATile) {
    Loader l;
    WritePicture(l.dir / "small.pbm", 8, 8, [](int, int) { return 44; });
    WriteSheet(l.dir / "s.pbm", 2, 1);
    // The sheet after the small picture is cut in whole 32 x 32 blocks.
    l.Load("BLOKTEXT\nTILE 1 SMALL.PBM\nTILES 2 2,1 S.PBM\n");
    EXPECT_EQ(l.tiles.Strip().Pixel(7, 32 + 7), 44);
    EXPECT_EQ(l.tiles.Strip().Pixel(8, 32 + 8), 0);
    EXPECT_EQ(l.tiles.Id(10), 2);
    EXPECT_EQ(l.tiles.Strip().Pixel(31, 320 + 31), 20);
    EXPECT_EQ(l.tiles.Strip().Pixel(31, 352 + 31), 21);
}

namespace {

// 32 x 320, block r of colour 30 + r with a diagonal of 150 + r: decoding it
// lets pending events run 20 times (every 16 rows).
void WriteTall(const std::filesystem::path& file) {
    WritePicture(file, 32, 320,
                 [](int x, int y) { return uint8_t((x == y % 32 ? 150 : 30) + y / 32); });
}

// A 32 x 32 picture whose colour i is (255 - i, i, 7).
void WriteOtherColours(const std::filesystem::path& file) {
    std::vector<uint8_t> pixels(32 * 32, 90);
    uint8_t rgb[768];
    for (int i = 0; i < 256; ++i) {
        rgb[3 * i] = uint8_t(255 - i);
        rgb[3 * i + 1] = uint8_t(i);
        rgb[3 * i + 2] = 7;
    }
    formats::WritePbmFile(file, 32, 32, pixels.data(), rgb, 256, true);
}

} // namespace

TEST(TileSetLoading, EachPictureIsDecodedOncePerLoad) {
    Loader l;
    WriteTall(l.dir / "tall.pbm");
    WriteOtherColours(l.dir / "other.pbm");
    l.Load("BLOKTEXT\nTILE 1 TALL.PBM\n");
    ASSERT_EQ(l.ui.pendingEventRuns, 1 + 20); // the line, then the decoding

    // 30 single tiles and a sheet of 10 from one picture, under either case.
    std::string text = "BLOKTEXT\n";
    for (int i = 1; i <= 30; ++i)
        text += "TILE " + std::to_string(i) + (i % 2 ? " TALL.PBM\n" : " tall.pbm\n");
    text += "TILES 100 1,10 TALL.PBM\n";
    l.ui.pendingEventRuns = 0;
    l.Load(text);
    EXPECT_EQ(l.ui.pendingEventRuns, 31 + 10 + 20); // lines, sheet tiles, one decoding
    for (int slot = 1; slot <= 30; ++slot) {
        ASSERT_EQ(l.tiles.Id(slot), slot);
        EXPECT_EQ(l.SlotColour(slot), 150) << slot; // on the diagonal
        EXPECT_EQ(l.tiles.Strip().Pixel(6, 32 * slot + 5), 30) << slot;
    }
    for (int r = 0; r < 10; ++r) {
        const int slot = 40 + 10 * r;
        ASSERT_EQ(l.tiles.Id(slot), 100 + r);
        EXPECT_EQ(l.SlotColour(slot), 150 + r);
        EXPECT_EQ(l.tiles.Strip().Pixel(6, 32 * slot + 5), 30 + r);
    }
    EXPECT_TRUE(l.ui.messages.empty());

    // A picture named again brings its colours back: the last one read decides.
    l.Load("BLOKTEXT\nTILE 1 TALL.PBM\nTILE 2 OTHER.PBM\n");
    EXPECT_EQ(l.colours.SourceColours()[3], (RgbQuad{7, 3, 252, 0}));
    l.Load("BLOKTEXT\nTILE 1 TALL.PBM\nTILE 2 OTHER.PBM\nTILE 3 TALL.PBM\n");
    EXPECT_EQ(l.colours.SourceColours()[3], (RgbQuad{1, 252, 3, 0}));
    EXPECT_EQ(l.SlotColour(3), 150);
}

TEST(TileSetLoading, PictureStoreKeepsWithinItsBudget) {
    TempDir dir;
    WriteTall(dir / "A.PBM");
    WriteTall(dir / "B.PBM");
    TColourTable colours;
    int decodeRuns = 0;
    // Room for one 32 x 320 picture only.
    TTilePictures pictures(
        dir.path(), colours, [&decodeRuns] { ++decodeRuns; }, 32 * 320);
    const auto a = pictures.Load("a.pbm");
    EXPECT_EQ(pictures.Load("A.PBM").get(), a.get());
    EXPECT_EQ(decodeRuns, 20);
    EXPECT_EQ(a->Height(), 320);
    const auto b = pictures.Load("B.PBM");
    EXPECT_EQ(pictures.Load("B.PBM").get(), b.get());
    EXPECT_EQ(decodeRuns, 40);
    // A was dropped for B: asked for again, it is decoded again.
    EXPECT_NE(pictures.Load("A.PBM").get(), a.get());
    EXPECT_EQ(decodeRuns, 60);
    EXPECT_THROW(pictures.Load("MISSING.PBM"), formats::EFOpenError);
}

namespace {

// A picture whose header announces width x height pixels, followed by `body`
// as its BODY (none when empty): 40 bytes without one.
void WriteAnnouncedPicture(const std::filesystem::path& file, int width, int height,
                           const std::vector<uint8_t>& body = {}) {
    std::string b = "FORM....PBM BMHD";
    b += std::string{0, 0, 0, 20, char(width >> 8), char(width), char(height >> 8), char(height)};
    b += std::string(6, '\0') + '\1' + std::string(9, '\0'); // compressed rows
    if (!body.empty()) {
        const auto n = uint32_t(body.size());
        b += "BODY" + std::string{char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
        b.append(body.begin(), body.end());
        if (n % 2) b += '\0';
    }
    const auto size = uint32_t(b.size());
    b.replace(4, 4, std::string{char(size >> 24), char(size >> 16), char(size >> 8), char(size)});
    WriteText(file, b);
}

} // namespace

TEST(TileSetLoading, PicturesCostWhatTheirDataCanFill) {
    // Three pictures of 8192 x 8192 in 40 bytes each: no rows to hold, so a
    // store with room for 64 KB keeps all three and decodes each once.
    Loader l;
    for (const char* name : {"A.PBM", "B.PBM", "C.PBM"})
        WriteAnnouncedPicture(l.dir / name, 8192, 8192);
    TTilePictures pictures(l.dir.path(), l.colours, {}, 64 * 1024);
    const auto a = pictures.Load("A.PBM");
    EXPECT_EQ(a->Width(), 8192);
    EXPECT_EQ(a->Height(), 0);
    pictures.Load("B.PBM");
    pictures.Load("C.PBM");
    EXPECT_EQ(pictures.Load("A.PBM").get(), a.get());

    // Their tiles are blank: the slots stay empty, the counts go on.
    l.Load("BLOKTEXT\nTILES 1 3,2 A.PBM\nTILE 50 B.PBM\nTILES 60 2,2 C.PBM\nTILE 7 A.PBM\n");
    for (int slot = 1; slot <= 40; ++slot)
        EXPECT_EQ(l.tiles.Id(slot), 0) << slot;
    EXPECT_TRUE(l.ui.messages.empty());

    // 300 bytes of body fill two rows and part of a third: the surface holds
    // those three rows and the tile cut from them shows them.
    std::vector<uint8_t> body;
    for (int i = 0; i < 150; ++i)
        body.insert(body.end(), {0x81, 9}); // 128 pixels of 9
    WriteAnnouncedPicture(l.dir / "P.PBM", 8192, 8192, body);
    EXPECT_EQ(pictures.Load("P.PBM")->Height(), 3);
    l.Load("BLOKTEXT\nTILES 5 2,1 P.PBM\n");
    ASSERT_EQ(l.tiles.Id(10), 5);
    EXPECT_EQ(l.tiles.Strip().Pixel(5, 32 * 10 + 2), 9);
    EXPECT_EQ(l.tiles.Strip().Pixel(5, 32 * 10 + 3), 0);
}
