#include "formats/tilepalette.h"

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
    return testing_support::ScratchDir("zorv_tilepal_");
}

} // namespace

TEST(TilePalette, WrittenBytesAndRoundTrip) {
    TilePaletteIds ids{};
    ids[1] = 7;
    ids[2] = 8;
    ids[3] = 9;
    ids[500] = 0xBEEF;
    ids[1023] = 0x1234;
    fs::path file = TempDir() / "a.tpl";
    WriteTilePalette(file, ids);
    Bytes bytes = FileBytes(file);
    ASSERT_EQ(bytes.size(), kTilePaletteFileSize);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "TILE PAL");
    EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.begin() + 20),
              (Bytes{0x00, 0x04, 0x00, 0x00, 0, 0, 7, 0, 8, 0, 9, 0}));
    EXPECT_EQ(bytes[12 + 1000], 0xEF);
    EXPECT_EQ(bytes[12 + 1001], 0xBE);
    EXPECT_EQ(bytes[2058], 0x34);
    EXPECT_EQ(bytes[2059], 0x12);

    EXPECT_EQ(ReadTilePalette(file), ids);
    MemoryStream s(bytes);
    EXPECT_EQ(ReadTilePalette(s), ids);

    // Trailing bytes are ignored; a file that stops after 1023 entries is read
    // with slot 1023 empty.
    Bytes longer = bytes;
    longer.insert(longer.end(), 10, 0xFF);
    MemoryStream sl(longer);
    EXPECT_EQ(ReadTilePalette(sl), ids);
    Bytes shorter(bytes.begin(), bytes.begin() + kMinTilePaletteFileSize);
    MemoryStream ss(shorter);
    TilePaletteIds cut = ReadTilePalette(ss);
    EXPECT_EQ(cut[1023], 0);
    EXPECT_EQ(cut[500], 0xBEEF);
}

TEST(TilePalette, RejectedFiles) {
    auto readBytes = [](const Bytes& b) {
        MemoryStream s(b);
        return ReadTilePalette(s);
    };
    Bytes tileSet{'B', 'L', 'O', 'K', 'T', 'E', 'X', 'T', '\r', '\n'};
    tileSet.resize(kTilePaletteFileSize, 'x');
    try {
        readBytes(tileSet);
        ADD_FAILURE();
    } catch (const ENotPaletteFile& e) {
        EXPECT_STREQ(e.what(), "Not a Tile Palette File");
    }
    EXPECT_THROW(readBytes({'T', 'I', 'L', 'E', ' ', 'P', 'A'}), EInOutError);
    EXPECT_THROW(readBytes({}), EInOutError);
    Bytes header{'T', 'I', 'L', 'E', ' ', 'P', 'A', 'L', 0, 4, 0, 0};
    EXPECT_THROW(readBytes(header), EInOutError);
    Bytes oneShort = header;
    oneShort.resize(kMinTilePaletteFileSize - 1);
    EXPECT_THROW(readBytes(oneShort), EInOutError);
    EXPECT_THROW(ReadTilePalette(TempDir() / "missing.tpl"), EInOutError);
}

TEST(TilePalette, WritingReplacesOrReportsFailure) {
    fs::path file = TempDir() / "keep.tpl";
    TilePaletteIds ids{};
    ids[0] = 1;
    WriteTilePalette(file, ids);
    EXPECT_THROW(WriteTilePalette(TempDir() / "no_dir" / "x.tpl", ids), EInOutError);
    ids[0] = 2;
    WriteTilePalette(file, ids); // replaces an existing file
    EXPECT_EQ(ReadTilePalette(file)[0], 2);
}
