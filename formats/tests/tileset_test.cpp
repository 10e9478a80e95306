#include "formats/tileset.h"

#include "formats/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace formats;
namespace fs = std::filesystem;
using Kind = TileSetLine::Kind;

namespace {

fs::path WriteTileSet(const std::string& name, const std::string& text) {
    const fs::path& d = testing_support::ScratchDir("zorv_tileset_");
    std::ofstream(d / name, std::ios::binary) << text;
    return d / name;
}

std::string ListError(const std::string& text) {
    try {
        ListTileSet(WriteTileSet("error.til", text));
    } catch (const ETileLoader& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(TileSetText, HeaderAndLineSplitting) {
    EXPECT_TRUE(IsBlockTextHeader("BLOKTEXT"));
    EXPECT_TRUE(IsBlockTextHeader("BLOKTEXT version 2"));
    EXPECT_FALSE(IsBlockTextHeader("blocktext"));
    EXPECT_FALSE(IsBlockTextHeader("bloktext"));
    EXPECT_FALSE(IsBlockTextHeader(" BLOKTEXT"));
    EXPECT_FALSE(IsBlockTextHeader("BLOKTEX"));

    EXPECT_EQ(SplitTileSetLines("A\nB\r\nC\rD"), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(SplitTileSetLines("A\n\nB\n"), (std::vector<std::string>{"A", "", "B"}));
    EXPECT_EQ(SplitTileSetLines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(SplitTileSetLines("").empty());
    auto lines = SplitTileSetLines(std::string(300, 'x') + "\nTILE 1 A");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(255, 'x'));
    EXPECT_EQ(lines[1], "TILE 1 A");
}

TEST(TileSetText, LinesOneAtATime) {
    // Each line is a view into the contents, numbered from 1 and cut to 255.
    const std::string contents = "BLOKTEXT\r\n" + std::string(300, 'y') + "\rTILE 1 A\n\nLAST";
    std::vector<std::pair<int, std::string>> seen;
    ForEachTileSetLine(contents, [&](int number, std::string_view line) {
        EXPECT_GE(line.data(), contents.data());
        EXPECT_LE(line.data() + line.size(), contents.data() + contents.size());
        seen.emplace_back(number, line);
        return true;
    });
    EXPECT_EQ(
        seen,
        (std::vector<std::pair<int, std::string>>{
            {1, "BLOKTEXT"}, {2, std::string(255, 'y')}, {3, "TILE 1 A"}, {4, ""}, {5, "LAST"}}));
    EXPECT_EQ(SplitTileSetLines(contents).size(), seen.size());

    // Returning false stops at once.
    int calls = 0;
    ForEachTileSetLine("A\nB\nC\n", [&](int number, std::string_view) {
        ++calls;
        return number < 2;
    });
    EXPECT_EQ(calls, 2);
    ForEachTileSetLine("", [&](int, std::string_view) {
        ++calls;
        return true;
    });
    EXPECT_EQ(calls, 2);
}

TEST(TileSetText, LineGrammar) {
    EXPECT_EQ(ParseTileSetLine("").kind, Kind::Ignored);
    EXPECT_EQ(ParseTileSetLine(";TILE 5 A.PBM").kind, Kind::Ignored);
    EXPECT_EQ(ParseTileSetLine("TILE5 A.PBM").kind, Kind::Ignored);
    EXPECT_EQ(ParseTileSetLine("  TILE 5 A").kind, Kind::Ignored);
    EXPECT_EQ(ParseTileSetLine("SOMETHING ELSE").kind, Kind::Ignored);

    TileSetLine tile = ParseTileSetLine("tile 5 a.pbm");
    EXPECT_EQ(tile.kind, Kind::Tile);
    EXPECT_EQ(tile.id, "5");
    EXPECT_EQ(tile.file, "A.PBM");
    EXPECT_FALSE(tile.faulty);
    EXPECT_FALSE(tile.newLine);

    TileSetLine sheet = ParseTileSetLine("TILES  100 3,2 S.PBM\r");
    EXPECT_EQ(sheet.kind, Kind::Tiles);
    EXPECT_EQ(sheet.id, "100");
    EXPECT_EQ(sheet.columns, "3");
    EXPECT_EQ(sheet.rows, "2");
    EXPECT_EQ(sheet.file, "S.PBM");
    EXPECT_FALSE(sheet.faulty);

    EXPECT_TRUE(ParseTileSetLine("TILE 5").faulty);
    EXPECT_TRUE(ParseTileSetLine("TILE ").faulty);
    EXPECT_TRUE(ParseTileSetLine("TILES 100 3,2").faulty);
    EXPECT_TRUE(ParseTileSetLine("TILES 100").faulty);
    // A missing comma leaves rows empty; converting it is the loader's business.
    TileSetLine noComma = ParseTileSetLine("TILES 1 3 S.PBM");
    EXPECT_FALSE(noComma.faulty);
    EXPECT_EQ(noComma.columns, "3");
    EXPECT_EQ(noComma.rows, "");

    TileSetLine width = ParseTileSetLine("width=32");
    EXPECT_EQ(width.kind, Kind::Setting);
    EXPECT_EQ(width.key, "WIDTH");
    EXPECT_EQ(width.value, "32");
    TileSetLine equals = ParseTileSetLine("TILE 1 A=B");
    EXPECT_EQ(equals.kind, Kind::Setting); // '=' decides before TILE
    EXPECT_EQ(equals.key, "TILE 1 A");
    EXPECT_EQ(equals.value, "B");

    EXPECT_TRUE(ParseTileSetLine("newline").newLine);
    EXPECT_EQ(ParseTileSetLine("NEWLINE").kind, Kind::Ignored);
    EXPECT_TRUE(ParseTileSetLine("NEWLINE=1").newLine);
    EXPECT_FALSE(ParseTileSetLine("NEWLINE ").newLine);
    EXPECT_FALSE(ParseTileSetLine("NEWLINES").newLine);
}

TEST(TileSetListing, ExpandsTilesAndSheets) {
    fs::path file = WriteTileSet("list.til", "BLOKTEXT\r\n"
                                             "; a comment\r\n"
                                             "WIDTH=32\r\n"
                                             "height=32\r\n"
                                             "NAME=X\r\n"
                                             "tile 7 a.pbm\r\n"
                                             "NEWLINE\r\n"
                                             "TILES 100 3,2 S.PBM\r\n"
                                             "TILES 200 0,5 EMPTY.PBM\r\n");
    TileSetListing listing = ListTileSet(file);
    EXPECT_TRUE(listing.faulty.empty());
    ASSERT_EQ(listing.tiles.size(), 7u);
    EXPECT_EQ(listing.tiles[0].id, 7);
    EXPECT_EQ(listing.tiles[0].file, "A.PBM");
    EXPECT_EQ(listing.tiles[0].line, 6);
    for (int i = 0; i < 6; ++i) {
        const TileSetEntry& t = listing.tiles[1 + i];
        EXPECT_EQ(t.id, 100 + i);
        EXPECT_EQ(t.x, 32 * (i % 3));
        EXPECT_EQ(t.y, 32 * (i / 3));
        EXPECT_EQ(t.file, "S.PBM");
        EXPECT_EQ(t.line, 8);
    }
}

TEST(TileSetListing, FaultyLinesAreListed) {
    fs::path file = WriteTileSet("faulty.til", "BLOKTEXT\n"
                                               "TILE 5\n"                      // 2
                                               "TILE X A.PBM\n"                // 3
                                               "TILES 1 3 S.PBM\n"             // 4
                                               "TILES 1 -1,2 S.PBM\n"          // 5
                                               "TILES 1 99999999,99999999 X\n" // 6
                                               "TILES 1 3000,1 X\n"            // 7
                                               "TILE 70000 A.PBM\n"            // 8
                                               "TILES 65534 2,2 S.PBM\n"       // 9
                                               "TILE -1 A.PBM\n"               // 10
                                               "TILES 1 2,2\n"                 // 11
                                               "TILE 65535 LAST.PBM\n");       // fine
    TileSetListing listing = ListTileSet(file);
    EXPECT_EQ(listing.faulty, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    ASSERT_EQ(listing.tiles.size(), 1u);
    EXPECT_EQ(listing.tiles[0].id, 65535);

    // The listing stays bounded however many sheets a file names.
    std::string many = "BLOKTEXT\n";
    for (int i = 0; i < 40; ++i)
        many += "TILES 0 256,256 BIG.PBM\n";
    TileSetListing big = ListTileSet(WriteTileSet("many.til", many));
    EXPECT_EQ(big.tiles.size(), kMaxListedTiles);
    EXPECT_EQ(big.faulty.size(), 39u);
}

TEST(TileSetListing, RejectedFiles) {
    EXPECT_EQ(ListError("BLOKTEXT\nWIDTH=16\n"), "The Tileset has the wrong size tiles");
    EXPECT_EQ(ListError("BLOKTEXT\nHEIGHT=64\n"), "The Tileset has the wrong size tiles");
    EXPECT_EQ(ListError("blocktext\nTILE 1 A\n"), "Cannot read this file format");
    EXPECT_EQ(ListError(""), "Cannot read this file format");
    EXPECT_EQ(ListError("\nBLOKTEXT\n"), "Cannot read this file format");

    // A file above the size limit is refused before it is read (a sparse file
    // here); one of exactly the limit is read.
    fs::path large = WriteTileSet("large.til", "BLOKTEXT\nTILE 1 A.PBM\n");
    fs::resize_file(large, kMaxTileSetFileBytes + 1);
    try {
        ListTileSet(large);
        ADD_FAILURE();
    } catch (const ETileLoader& e) {
        EXPECT_STREQ(e.what(), "Tile set file is too large");
    }
    fs::resize_file(large, kMaxTileSetFileBytes);
    EXPECT_EQ(ListTileSet(large).tiles.size(), 1u);
    fs::remove(large);
    EXPECT_THROW(ListTileSet(WriteTileSet("conv.til", "BLOKTEXT\nWIDTH=WIDE\n")), EConvertError);
    try {
        ListTileSet(fs::temp_directory_path() / "zorv_no_such_tileset.til");
        ADD_FAILURE();
    } catch (const ETileLoader& e) {
        EXPECT_STREQ(e.what(), "No file by that name");
    }
}
