#include "runtime_scenes.h"

#include "demogen/generate.h"
#include "formats/mapfile.h"
#include "formats/pbm.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace fs = std::filesystem;

namespace bench {

namespace {

bool HasDemoFiles(const fs::path& dir) {
    std::error_code ec;
    for (const char* name : {"demo.map", "DEMO.TIL", "testpbm.lbm", "smile.bbm"})
        if (!fs::exists(dir / name, ec)) return false;
    return true;
}

// ---- the busy scene's tiles: a sheet of 8 x 5, numbered 1 to 40 ----

constexpr int kSheetColumns = 8, kSheetRows = 5;
constexpr int kSolidFirst = 1, kSolidLast = 16;
constexpr int kRaggedFirst = 17, kRoundLast = 32; // 17-24 ragged, 25-32 round
constexpr int kShadowFirst = 33, kShadeLast = 40; // 33-36 whole shadows, 37-40 chequers

// A shading value (2 to 15, never the neutral 7, which tiles leave transparent).
uint8_t ShadeValue(int tile, int x, int y) {
    const int v = 2 + (tile + x + 3 * y) % 14;
    return static_cast<uint8_t>(v == 7 ? 6 : v);
}

uint8_t TilePixel(int tile, int x, int y) {
    const int colour = 16 + (tile * 29) % 200;
    const int dx = x - 16, dy = y - 16;
    if (tile <= kSolidLast) return static_cast<uint8_t>(colour + (x / 4 + y / 4) % 8);
    if (tile < 25) { // a disc with diagonal gaps: four to five runs a row
        const bool hole = dx * dx + dy * dy > 14 * 14 || (x + y) % 7 == 0;
        return hole ? 0 : static_cast<uint8_t>(colour + (x + y) % 4);
    }
    if (tile <= kRoundLast) { // a disc of radius 10 to 15: one run a row
        const int r = 10 + tile % 6;
        return dx * dx + dy * dy > r * r ? 0 : static_cast<uint8_t>(colour + y % 4);
    }
    if (tile < 37) return ShadeValue(tile, x, y);
    return (x / 8 + y / 8) % 2 == 0 ? 0 : ShadeValue(tile, x, y);
}

void WriteBusyTiles(const fs::path& dir) {
    std::vector<uint8_t> grey(768);
    for (int i = 0; i < 768; ++i)
        grey[i] = static_cast<uint8_t>(i / 3);
    const int sheetW = 32 * kSheetColumns, sheetH = 32 * kSheetRows;
    std::vector<uint8_t> sheet(size_t(sheetW) * sheetH);
    for (int r = 0; r < kSheetRows; ++r)
        for (int c = 0; c < kSheetColumns; ++c)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    sheet[size_t(32 * r + y) * sheetW + 32 * c + x] =
                        TilePixel(1 + c + r * kSheetColumns, x, y);
    formats::WritePbmFile(dir / "SHEET.LBM", sheetW, sheetH, sheet.data(), grey.data(), 256, true);
    FILE* til = std::fopen((dir / "BUSY.TIL").c_str(), "wb");
    if (!til) throw formats::EInOutError("Cannot create " + (dir / "BUSY.TIL").string());
    std::fputs("BLOKTEXT\nWIDTH=32\nHEIGHT=32\nTILES 1 8,5 SHEET.LBM\n", til);
    std::fclose(til);
}

// Background solid; middle ground half transparent, half solid; foreground
// half transparent, three tenths shaded, a fifth solid. Over the 3 x 4000
// tiles: a third transparent, a tenth shaded.
void WriteBusyMap(const fs::path& file) {
    formats::MapData map;
    map.width = 80;
    map.height = 50;
    map.tileSet = "BUSY.TIL";
    std::mt19937 rng(1);
    auto pick = [&](int from, int to) {
        return static_cast<uint16_t>(from + rng() % unsigned(to - from + 1));
    };
    for (int i = 0; i < map.width * map.height; ++i) {
        formats::MapCell c;
        c.back = pick(kSolidFirst, kSolidLast);
        c.middle = rng() % 2 ? pick(kRaggedFirst, kRoundLast) : pick(kSolidFirst, kSolidLast);
        const unsigned f = rng() % 10;
        c.fore = f < 5   ? pick(kRaggedFirst, kRoundLast)
                 : f < 8 ? pick(kShadowFirst, kShadeLast)
                         : pick(kSolidFirst, kSolidLast);
        map.cells.push_back(c);
    }
    formats::WriteMapData(file, map);
}

} // namespace

Scene DemoScene() {
    std::vector<fs::path> candidates;
    if (const char* env = std::getenv("ZORV_DEMO_DIR")) candidates.emplace_back(env);
    candidates.emplace_back("../demo");
    for (const fs::path& dir : candidates)
        if (HasDemoFiles(dir)) return Scene{dir, dir / "demo.map", "demo data in " + dir.string()};
    const fs::path dir = fs::temp_directory_path() / "bench_runtime_draw_demo";
    demo::GenerateDemo(dir);
    return Scene{dir, dir / demo::kMapFile, "demo data generated in " + dir.string()};
}

Scene BusyScene() {
    const fs::path dir = fs::temp_directory_path() / "bench_runtime_draw_busy";
    fs::create_directories(dir);
    WriteBusyTiles(dir);
    WriteBusyMap(dir / "busy.map");
    demo::WriteTestPicture(dir);
    demo::WriteSmileSprite(dir);
    return Scene{dir, dir / "busy.map", "busy: 80 x 50 cells, three layers, 40 tiles"};
}

} // namespace bench
