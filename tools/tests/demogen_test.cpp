// The demo data: every file parses with the readers, the art keeps the pixel
// rules the programs rely on, and two runs give the same bytes.
#include "demogen/generate.h"
#include "demogen/palette.h"
#include "demogen/tile_ids.h"

#include "formats/mapfile.h"
#include "formats/pbm.h"
#include "formats/stream.h"
#include "formats/tilepalette.h"
#include "formats/tileset.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using namespace formats;

namespace {

fs::path TestRoot() {
    return fs::temp_directory_path() / ("zorv_demogen_" + std::to_string(::getpid()));
}

fs::path FreshDir(const std::string& name) {
    fs::path dir = TestRoot() / name;
    fs::remove_all(dir);
    return dir;
}

class RemoveTestRoot : public testing::Environment {
public:
    void TearDown() override { fs::remove_all(TestRoot()); }
};
const auto* const kCleanup = testing::AddGlobalTestEnvironment(new RemoveTestRoot);

// Generated once for all tests of this file.
const fs::path& DemoDir() {
    static const fs::path dir = [] {
        fs::path d = FreshDir("a");
        demo::GenerateDemo(d);
        return d;
    }();
    return dir;
}

bool IsShadingTile(int id) {
    return id >= demo::tile::ShadowTop && id <= demo::tile::Glow;
}

// Every tile of the set as 32 x 32 pixels, decoded as the runtime does.
std::map<int, std::vector<uint8_t>> CutTiles(const TileSetListing& listing) {
    std::map<std::string, TPBMImage> pictures;
    std::map<int, std::vector<uint8_t>> tiles;
    for (const TileSetEntry& t : listing.tiles) {
        auto it = pictures.find(t.file);
        if (it == pictures.end())
            it = pictures.emplace(t.file, TPBMImage(DemoDir() / t.file)).first;
        std::vector<uint8_t>& pixels = tiles[t.id];
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x)
                pixels.push_back(it->second.GetPixel(t.x + x, t.y + y));
        }
    }
    return tiles;
}

int Luminance(const demo::PaletteRgb& rgb, int colour) {
    return 299 * rgb[3 * colour] + 587 * rgb[3 * colour + 1] + 114 * rgb[3 * colour + 2];
}

} // namespace

TEST(DemoPalette, SixteenRampsRunFromDarkToBright) {
    const demo::PaletteRgb& rgb = demo::DemoPalette();
    for (int ramp = 0; ramp < demo::kRamps; ++ramp) {
        for (int shade = 1; shade < demo::kShades; ++shade) {
            int colour = ramp * 16 + shade;
            EXPECT_GT(Luminance(rgb, colour), Luminance(rgb, colour - 1))
                << "ramp " << ramp << " shade " << shade;
        }
    }
    EXPECT_EQ(demo::Colour(demo::SkyBlue, 7), 0x47);
    EXPECT_EQ(demo::Colour(demo::SkyBlue, 20), 0x4F); // shades are cut to the ramp
}

TEST(DemoTileSet, ListsSheetsAndSingleTilesThatAllExist) {
    std::ifstream in(DemoDir() / demo::kTileSetFile, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> lines = SplitTileSetLines(text.str());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "BLOKTEXT");
    int sheets = 0, singles = 0, newLines = 0;
    for (const std::string& line : lines) {
        sheets += line.rfind("TILES ", 0) == 0;
        singles += line.rfind("TILE ", 0) == 0;
        newLines += line == "NEWLINE";
    }
    EXPECT_GE(sheets, 2);
    EXPECT_GE(singles, 5);
    EXPECT_GE(newLines, 1);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "WIDTH=32"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "HEIGHT=32"), lines.end());

    TileSetListing listing = ListTileSet(DemoDir() / demo::kTileSetFile);
    EXPECT_TRUE(listing.faulty.empty());
    EXPECT_EQ(listing.tiles.size(), 32u + 8u + 7u);
    std::set<int> ids;
    for (const TileSetEntry& t : listing.tiles) {
        EXPECT_TRUE(ids.insert(t.id).second) << "duplicate ID " << t.id;
        EXPECT_TRUE(fs::exists(DemoDir() / t.file)) << t.file; // names match the files exactly
    }
}

TEST(DemoTileSet, TilesKeepThePixelRulesOfShadingAndTransparency) {
    std::map<int, std::vector<uint8_t>> tiles =
        CutTiles(ListTileSet(DemoDir() / demo::kTileSetFile));
    int shading = 0;
    for (const auto& [id, pixels] : tiles) {
        bool anyOpaque = std::any_of(pixels.begin(), pixels.end(), [](uint8_t p) { return p; });
        EXPECT_TRUE(anyOpaque) << "tile " << id << " is empty";
        for (uint8_t p : pixels) {
            if (IsShadingTile(id)) {
                ASSERT_TRUE(p == 0 || (p >= 2 && p <= 15)) << "tile " << id << " pixel " << int(p);
            } else {
                ASSERT_TRUE(p == 0 || p >= 16) << "tile " << id << " pixel " << int(p);
            }
        }
        shading += IsShadingTile(id);
    }
    EXPECT_EQ(shading, 8);
    // shading tiles both darken (below 7) and brighten (above 7)
    auto has = [&](int id, auto test) {
        return std::any_of(tiles[id].begin(), tiles[id].end(), test);
    };
    EXPECT_TRUE(has(demo::tile::ShadowTop, [](uint8_t p) { return p && p < 7; }));
    EXPECT_TRUE(has(demo::tile::LightBeam, [](uint8_t p) { return p > 7; }));
    // tiles with see-through parts, and solid ones
    for (int id : {demo::tile::Ladder, demo::tile::PipeOutlet, demo::tile::GrassTuft,
                   demo::tile::GrassTop, demo::tile::Plank}) {
        EXPECT_TRUE(has(id, [](uint8_t p) { return p == 0; })) << "tile " << id;
    }
    for (int id : {demo::tile::Sky, demo::tile::Brick, demo::tile::Dirt, demo::tile::WaterDeep}) {
        EXPECT_FALSE(has(id, [](uint8_t p) { return p == 0; })) << "tile " << id;
    }
}

TEST(DemoPictures, DecodeTheSameInEveryDecoderWithTheDemoPalette) {
    for (const char* name :
         {"SHEET1.LBM", "SHEET2.LBM", "SIGN.LBM", demo::kTestPictureFile, demo::kSpriteFile}) {
        SCOPED_TRACE(name);
        TPBMImage image(DemoDir() / name);
        EXPECT_EQ(image.Bmhd.compression, 1);
        EXPECT_EQ(image.PaletteColours, 256);
        EXPECT_TRUE(std::equal(image.Palette, image.Palette + 768, demo::DemoPalette().begin()));
        // no colour 1 anywhere, so the editor (which drops every 1) sees the same pixels
        EXPECT_EQ(std::count(image.Pixels.begin(), image.Pixels.end(), 1), 0);
        struct Surface : PbmSurfaceTarget {
            int w = 0;
            std::vector<uint8_t> pixels;
            void SetPictureSize(int width, int height) override {
                w = width;
                pixels.assign(size_t(width) * height, 0);
            }
            void SetPictureColours(const uint8_t (&)[768]) override {}
            uint8_t* PictureRow(int y) override { return pixels.data() + size_t(y) * w; }
        } surface;
        FileStream stream(DemoDir() / name);
        LoadPbmIntoSurface(stream, surface);
        EXPECT_EQ(surface.pixels, image.Pixels);
    }
    TPBMImage test(DemoDir() / demo::kTestPictureFile);
    EXPECT_EQ(test.Width(), 320);
    EXPECT_EQ(test.Height(), 200);
    TPBMImage smile(DemoDir() / demo::kSpriteFile);
    EXPECT_EQ(smile.Width(), 32);
    EXPECT_EQ(smile.GetPixel(0, 0), 0);   // transparent around the face
    EXPECT_GE(smile.GetPixel(16, 4), 16); // the face, in a colour that does not shade
    for (uint8_t p : smile.Pixels)
        ASSERT_TRUE(p == 0 || p >= 16);
}

TEST(DemoMap, UsesEveryLayerAndOnlyTilesOfItsTileSet) {
    FileStream stream(DemoDir() / demo::kMapFile);
    MapData map = ReadMapData(stream, MapReader::Runtime);
    EXPECT_EQ(map.width, 80);
    EXPECT_EQ(map.height, 50);
    EXPECT_EQ(map.cellWords, 6);
    EXPECT_EQ(map.tileSet, "DEMO.TIL");
    ASSERT_EQ(map.cells.size(), 80u * 50u);
    EXPECT_EQ(map.cells, demo::BuildDemoLevel().cells);

    std::set<int> known;
    for (const TileSetEntry& t : ListTileSet(DemoDir() / map.tileSet).tiles)
        known.insert(t.id);
    int used[4] = {}, attributesA = 0, attributesB = 0, shadingOnFore = 0;
    for (const MapCell& cell : map.cells) {
        const uint16_t layers[4] = {cell.back, cell.middle, cell.fore, cell.collision};
        for (int l = 0; l < 4; ++l) {
            if (!layers[l]) continue;
            ++used[l];
            ASSERT_TRUE(known.count(layers[l])) << "unknown tile " << layers[l];
        }
        int codeA = cell.attributes & 0xFF, codeB = cell.attributes >> 8;
        ASSERT_LE(codeA, 25);
        ASSERT_LE(codeB, 25);
        attributesA += codeA != 0;
        attributesB += codeB != 0;
        shadingOnFore += IsShadingTile(cell.fore);
    }
    for (int l = 0; l < 4; ++l)
        EXPECT_GT(used[l], 0) << "layer " << l;
    EXPECT_EQ(used[0], 80 * 50); // the background is never empty
    EXPECT_GT(attributesA, 0);
    EXPECT_GT(attributesB, 0);
    EXPECT_GT(shadingOnFore, 0);
}

TEST(DemoTilePalette, ArrangesEveryTileOnceWithSlotZeroEmpty) {
    TilePaletteIds ids = ReadTilePalette(DemoDir() / demo::kTilePaletteFile);
    EXPECT_EQ(fs::file_size(DemoDir() / demo::kTilePaletteFile), kTilePaletteFileSize);
    EXPECT_EQ(ids[0], 0);
    std::multiset<int> placed;
    for (uint16_t id : ids) {
        if (id) placed.insert(id);
    }
    for (const TileSetEntry& t : ListTileSet(DemoDir() / demo::kTileSetFile).tiles) {
        EXPECT_EQ(placed.count(t.id), 1u) << "tile " << t.id;
    }
    EXPECT_EQ(placed.size(), 47u);
}

TEST(Demogen, TwoRunsWriteIdenticalBytes) {
    fs::path second = FreshDir("b");
    std::vector<std::string> files = demo::GenerateDemo(second);
    EXPECT_EQ(files.size(), 14u);
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadWholeFile(DemoDir() / name), ReadWholeFile(second / name));
    }
    std::set<std::string> onDisk;
    for (const auto& entry : fs::directory_iterator(second))
        onDisk.insert(entry.path().filename());
    EXPECT_EQ(onDisk, std::set<std::string>(files.begin(), files.end()));
}
