// Full frames of the runtime: TZorvGame::Draw (three layers and the test sprite
// from run-length records) against the same scene blitted cell by cell with
// SDL2 (8-bit surfaces, colour-keyed tiles with RLE acceleration), and a plain
// memcpy of three frames as the floor.
//
// The scene is the demo data: from ZORV_DEMO_DIR, else ../demo as `./dev demo`
// leaves it beside the benchmark folder, else written by the demo generator of
// the same build. Without any of these (or with ZORV_BENCH_SCENE=generated) a
// comparable map is generated here: 80 x 50 cells, four layers, 40 tiles of the
// transparent, solid and shaded kinds, with more ragged transparent tiles than
// the demo has.
#include "formats/dospath.h"
#include "formats/mapfile.h"
#include "formats/pbm.h"
#include "formats/text.h"
#include "formats/tileset.h"
#include "maprun/core/game.h"
#include "maprun/core/render.h"

#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace maprun;

namespace {

struct Scene {
    fs::path dir;
    fs::path map;
    std::string source;
};

bool HasDemoFiles(const fs::path& dir) {
    std::error_code ec;
    for (const char* name : {"demo.map", "DEMO.TIL", "testpbm.lbm", "smile.bbm"})
        if (!fs::exists(dir / name, ec)) return false;
    return true;
}

// ---- the generated scene ----

constexpr int kSheetColumns = 8, kSheetRows = 5; // tiles 1..40

// Tiles 1-16 solid, 17-32 transparent, 33-40 shaded (values 2..15 with holes).
uint8_t TilePixel(int tile, int x, int y) {
    const int base = 16 + (tile * 29) % 200;
    if (tile <= 16) return static_cast<uint8_t>(base + (x / 4 + y / 4) % 8);
    if (tile <= 32) {
        const bool hole = ((x - 16) * (x - 16) + (y - 16) * (y - 16)) > 14 * 14 || (x + y) % 7 == 0;
        return hole ? 0 : static_cast<uint8_t>(base + (x + y) % 4);
    }
    const bool hole = (x / 8 + y / 8) % 2 == 0;
    return hole ? 0 : static_cast<uint8_t>(2 + (tile + x + y) % 14);
}

void WriteGeneratedScene(const fs::path& dir) {
    fs::create_directories(dir);
    std::vector<uint8_t> rgb(768);
    for (int i = 0; i < 256; ++i) {
        rgb[3 * i] = static_cast<uint8_t>(i);
        rgb[3 * i + 1] = static_cast<uint8_t>((i * 5) & 0xFF);
        rgb[3 * i + 2] = static_cast<uint8_t>(255 - i);
    }
    const int sheetW = 32 * kSheetColumns, sheetH = 32 * kSheetRows;
    std::vector<uint8_t> sheet(size_t(sheetW) * sheetH);
    for (int r = 0; r < kSheetRows; ++r)
        for (int c = 0; c < kSheetColumns; ++c)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    sheet[size_t(32 * r + y) * sheetW + 32 * c + x] =
                        TilePixel(1 + c + r * kSheetColumns, x, y);
    formats::WritePbmFile(dir / "SHEET.LBM", sheetW, sheetH, sheet.data(), rgb.data(), 256, true);

    std::vector<uint8_t> picture(320 * 200);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<uint8_t>(i % 256);
    formats::WritePbmFile(dir / "testpbm.lbm", 320, 200, picture.data(), rgb.data(), 256, true);
    std::vector<uint8_t> smile(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            smile[y * 32 + x] = (x - 16) * (x - 16) + (y - 16) * (y - 16) < 225 ? 0xE0 : 0;
    formats::WritePbmFile(dir / "smile.bbm", 32, 32, smile.data(), rgb.data(), 256, true);

    FILE* til = std::fopen((dir / "GEN.TIL").c_str(), "wb");
    std::fputs("BLOKTEXT\nWIDTH=32\nHEIGHT=32\nTILES 1 8,5 SHEET.LBM\n", til);
    std::fclose(til);

    formats::MapData map;
    map.width = 80;
    map.height = 50;
    map.tileSet = "GEN.TIL";
    std::mt19937 rng(1);
    auto pick = [&](int from, int to) {
        return static_cast<uint16_t>(from + rng() % (to - from + 1));
    };
    for (int i = 0; i < map.width * map.height; ++i) {
        formats::MapCell c;
        c.back = pick(1, 16);
        const unsigned m = rng() % 100;
        c.middle = m < 40 ? pick(17, 32) : m < 50 ? pick(1, 16) : 0;
        const unsigned f = rng() % 100;
        c.fore = f < 15 ? pick(17, 32) : f < 20 ? pick(33, 40) : 0;
        c.collision = static_cast<uint16_t>(rng() % 2);
        map.cells.push_back(c);
    }
    formats::WriteMapData(dir / "gen.map", map);
}

Scene GeneratedScene() {
    const fs::path dir = fs::temp_directory_path() / "bench_runtime_draw_scene";
    WriteGeneratedScene(dir);
    return Scene{dir, dir / "gen.map", "generated 80 x 50 map, 40 tiles"};
}

Scene FindScene() {
    const char* choice = std::getenv("ZORV_BENCH_SCENE");
    if (choice && std::string(choice) == "generated") return GeneratedScene();
    std::vector<fs::path> candidates;
    if (const char* env = std::getenv("ZORV_DEMO_DIR")) candidates.emplace_back(env);
    candidates.emplace_back("../demo");
    for (const fs::path& dir : candidates)
        if (HasDemoFiles(dir)) return Scene{dir, dir / "demo.map", "demo data in " + dir.string()};

    const fs::path generator = fs::path(formats::ProgramDir()) / ".." / "tools" / "demogen";
    const fs::path demo = fs::temp_directory_path() / "bench_runtime_draw_demo";
    std::error_code ec;
    if (fs::exists(generator, ec)) {
        const std::string command =
            "'" + generator.string() + "' '" + demo.string() + "' >/dev/null";
        if (std::system(command.c_str()) == 0 && HasDemoFiles(demo))
            return Scene{demo, demo / "demo.map", "demo data from " + generator.string()};
    }
    return GeneratedScene();
}

// ---- the SDL2 renderer of the same scene ----

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

class SdlScene {
public:
    SdlScene(const Scene& scene, const RuntimeCells& cells) : cells_(cells) {
        palette_ = SDL_AllocPalette(256);
        map_.Resize(cells.Width, cells.Height);
        LoadTiles(scene);
        formats::TPBMImage smile(formats::DosNameToPath(scene.dir, "smile.bbm"));
        sprite_ = MakeSurface(smile, 0, 0, smile.Width(), smile.Height());
    }
    ~SdlScene() {
        tiles_.clear();
        sprite_.reset();
        frame_.reset();
        SDL_FreePalette(palette_);
    }

    void SetFrameSize(int w, int h) {
        frame_.reset(SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8));
        SDL_SetSurfacePalette(frame_.get(), palette_);
    }

    void Draw(const TPoint& centre, int spriteY) {
        const TPoint origin = map_.ViewOrigin(centre, frame_->w, frame_->h);
        DrawLayer(origin, 0);
        DrawLayer(origin, 1);
        SDL_Rect at{TZorvGame::kSpriteX, spriteY, 0, 0};
        SDL_BlitSurface(sprite_.get(), nullptr, frame_.get(), &at);
        DrawLayer(origin, 2);
    }

    const SDL_Surface* Frame() const { return frame_.get(); }

private:
    Surface MakeSurface(const formats::TPBMImage& image, int left, int top, int w, int h) {
        Surface s(SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8));
        bool any = false;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t p = image.GetPixel(left + x, top + y);
                if (p == 1) p = 0; // transparent, as in the run-length records
                any |= p != 0;
                static_cast<uint8_t*>(s->pixels)[y * s->pitch + x] = p;
            }
        if (!any) return nullptr;
        // One shared palette, so blits copy indices without a colour mapping.
        SDL_SetSurfacePalette(s.get(), palette_);
        SDL_SetColorKey(s.get(), SDL_TRUE, 0);
        SDL_SetSurfaceRLE(s.get(), 1);
        return s;
    }

    void LoadTiles(const Scene& scene) {
        formats::TileSetListing listing;
        const fs::path tileSet = TileSetPath(scene);
        listing = formats::ListTileSet(tileSet);
        std::map<std::string, std::unique_ptr<formats::TPBMImage>> pictures;
        tiles_.resize(TTiles::kCount);
        for (const formats::TileSetEntry& e : listing.tiles) {
            if (e.id <= 0 || e.id >= TTiles::kMaxIndex) continue;
            auto& picture = pictures[e.file];
            if (!picture) {
                picture = std::make_unique<formats::TPBMImage>(
                    formats::DosNameToPath(tileSet.parent_path(), e.file));
                if (palette_->ncolors == 256 && !paletteSet_) {
                    SDL_Color colours[256];
                    for (int i = 0; i < 256; ++i)
                        colours[i] = SDL_Color{picture->Palette[3 * i], picture->Palette[3 * i + 1],
                                               picture->Palette[3 * i + 2], 255};
                    SDL_SetPaletteColors(palette_, colours, 0, 256);
                    paletteSet_ = true;
                }
            }
            tiles_[e.id] = MakeSurface(*picture, e.x, e.y, 32, 32);
        }
    }

    static fs::path TileSetPath(const Scene& scene) {
        formats::FileStream stream(scene.map);
        formats::MapData data = formats::ReadMapData(stream, formats::MapReader::Runtime);
        return *formats::ResolveDosName(scene.map.parent_path(), data.tileSet);
    }

    void DrawLayer(const TPoint& origin, int layer) {
        const int w = frame_->w, h = frame_->h;
        const int firstColumn = std::max(0, origin.X / 32), firstRow = std::max(0, origin.Y / 32);
        const int endColumn = std::min(cells_.Width, (origin.X + w - 1) / 32 + 1);
        const int endRow = std::min(cells_.Height, (origin.Y + h - 1) / 32 + 1);
        for (int row = firstRow; row < endRow; ++row)
            for (int column = firstColumn; column < endColumn; ++column) {
                const TCell& cell = cells_.Cells[size_t(row) * cells_.Width + column];
                const unsigned tile = CellWord(cell, layer) & kTileNumberMask;
                if (tile == 0 || !tiles_[tile]) continue;
                SDL_Rect at{column * 32 - origin.X, row * 32 - origin.Y, 0, 0};
                SDL_BlitSurface(tiles_[tile].get(), nullptr, frame_.get(), &at);
            }
    }

    const RuntimeCells& cells_;
    TMap map_; // for the view origin only
    SDL_Palette* palette_ = nullptr;
    bool paletteSet_ = false;
    std::vector<Surface> tiles_;
    Surface sprite_;
    Surface frame_;
};

// ---- benchmarks ----

constexpr int kSpriteTicks = 150; // the test sprite then sits at y = 100

std::vector<TPoint> ViewPositions(const RuntimeCells& cells) {
    const int w = cells.Width * 32, h = cells.Height * 32;
    return {{0, 0}, {w / 2 + 13, h / 2 + 7}, {w / 3 + 5, 2 * h / 3 + 21}, {w, h}};
}

void RegisterAll(const Scene& scene, const RuntimeCells& cells) {
    static std::vector<std::unique_ptr<TZorvGame>> games;
    static std::unique_ptr<SdlScene> sdl;
    sdl = std::make_unique<SdlScene>(scene, cells);
    const std::vector<TPoint> views = ViewPositions(cells);

    for (bool hiRes : {false, true}) {
        games.push_back(std::make_unique<TZorvGame>(hiRes, scene.map.string(), scene.dir));
        TZorvGame* game = games.back().get();
        game->Advance(kSpriteTicks);
        const int w = game->FrameBuffer().Width(), h = game->FrameBuffer().Height();
        const std::string size = std::to_string(w) + "x" + std::to_string(h);

        for (size_t v = 0; v < views.size(); ++v) {
            const TPoint pos = views[v];
            const std::string at = "/view:" + std::to_string(pos.X) + "," + std::to_string(pos.Y);
            benchmark::RegisterBenchmark(("ZorvGame_Draw/" + size + at).c_str(),
                                         [game, pos](benchmark::State& state) {
                                             game->SetViewPos(pos);
                                             for (auto _ : state) {
                                                 game->Draw();
                                                 benchmark::ClobberMemory();
                                             }
                                         });
            benchmark::RegisterBenchmark(("SDL2_Blit/" + size + at).c_str(),
                                         [w, h, game, pos](benchmark::State& state) {
                                             sdl->SetFrameSize(w, h);
                                             const int spriteY = game->SpriteY();
                                             for (auto _ : state) {
                                                 sdl->Draw(pos, spriteY);
                                                 benchmark::ClobberMemory();
                                             }
                                         });
        }
        benchmark::RegisterBenchmark(("Memcpy_3Frames/" + size).c_str(),
                                     [game](benchmark::State& state) {
                                         const TFrameBuffer& frame = game->FrameBuffer();
                                         const size_t n = size_t(frame.Width()) * frame.Height();
                                         std::vector<uint8_t> out(3 * n);
                                         for (auto _ : state) {
                                             for (int i = 0; i < 3; ++i)
                                                 std::memcpy(out.data() + i * n, frame.Bits(), n);
                                             benchmark::ClobberMemory();
                                         }
                                     });
    }
}

// Pixels on which the two renderers disagree for one view, leaving out those
// under shaded tiles (SDL2 can only copy them). 0 means both drew the same scene.
size_t Disagreement(const Scene& scene, const RuntimeCells& cells, const TPoint& pos) {
    TZorvGame game(false, scene.map.string(), scene.dir);
    game.Advance(kSpriteTicks);
    game.SetViewPos(pos);
    game.Draw();
    SdlScene sdl(scene, cells);
    sdl.SetFrameSize(320, 200);
    const TFrameBuffer& frame = game.FrameBuffer();
    auto* sdlPixels = static_cast<uint8_t*>(sdl.Frame()->pixels);
    std::memcpy(sdlPixels, frame.Bits(), 320 * 200); // both start from the same picture
    game.Draw();
    sdl.Draw(pos, game.SpriteY());

    const TMap& map = game.Map();
    const TPoint origin = map.ViewOrigin(pos, 320, 200);
    size_t differ = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const int mx = origin.X + x, my = origin.Y + y;
            bool shaded = false;
            for (int layer = 1; layer < 3; ++layer) {
                const TCell& cell = map.Cell(mx / 32, my / 32);
                const uint8_t* tile = map.Tiles().Tile(CellWord(cell, layer) & kTileNumberMask);
                shaded |= tile && GetSpriteKind(tile) == SpriteKind::Shaded;
            }
            differ += !shaded && sdlPixels[y * 320 + x] != frame.GetPixel(x, y);
        }
    return differ;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const Scene scene = FindScene();
    const RuntimeCells cells = ReadRuntimeCells(scene.map);
    benchmark::AddCustomContext("scene", scene.source);
    benchmark::AddCustomContext("map", std::to_string(cells.Width) + " x " +
                                           std::to_string(cells.Height) + " cells");
    const TPoint middle = ViewPositions(cells)[1];
    benchmark::AddCustomContext(
        "pixels differing from SDL2 at the middle view (outside shaded tiles)",
        std::to_string(Disagreement(scene, cells, middle)));
    RegisterAll(scene, cells);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
