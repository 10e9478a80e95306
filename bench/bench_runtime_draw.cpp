// Full frames of the runtime: TZorvGame::Draw (three layers and the test sprite
// from run-length records) against the same scene blitted with SDL2, and
// against a memcpy of the bytes the frame writes; and single shaded tiles
// against copying tiles of the same coverage.
//
// Scenes: the demo level (from ZORV_DEMO_DIR, else ../demo, else generated) at
// four fixed views and in a sweep over view positions all over the level; and
// a busy generated level (runtime_scenes.h) at its middle and in a sweep. After
// the table, the ratios that the drawing is held to are printed from the same
// run (medians when --benchmark_repetitions is given).
#include "maprun/core/expandedtile.h"
#include "maprun/core/game.h"
#include "maprun/core/render.h"
#include "ratio_reporter.h"
#include "runtime_scenes.h"
#include "sdl_scene.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace maprun;
using bench::Scene;
using bench::SdlScene;

namespace {

constexpr int kSpriteTicks = 150; // the test sprite then sits at y = 100

// ---- what a frame writes ----

// Pixels that drawing `sprite` at (x, y) puts inside a w x h frame.
int64_t CoveredPixels(const uint8_t* sprite, int x, int y, int w, int h) {
    if (!sprite) return 0;
    x -= SpriteHotspotX(sprite);
    y -= SpriteHotspotY(sprite);
    int64_t covered = 0;
    const uint8_t* row = FirstSpriteRow(sprite);
    for (int r = 0; r < SpriteHeight(sprite); ++r, row += ReadLE32(row)) {
        if (y + r < 0 || y + r >= h) continue;
        const uint8_t* span = row + kRowHeaderSize;
        for (int column = x;;) {
            column += ReadLE32(span);
            const int count = ReadLE32(span + 4);
            if (count == 0) break;
            covered += std::max(0, std::min(column + count, w) - std::max(column, 0));
            column += count;
            span += kSpanHeaderSize + ((count + 3) & ~3);
        }
    }
    return covered;
}

// Bytes one frame of `game` at `pos` writes: every pixel that a visible tile
// of the three layers, or the sprite, puts into the frame.
int64_t BytesWritten(const TZorvGame& game, const TPoint& pos) {
    const TMap& map = game.Map();
    const int w = game.FrameBuffer().Width(), h = game.FrameBuffer().Height();
    const TPoint origin = map.ViewOrigin(pos, w, h);
    int64_t bytes = CoveredPixels(game.Sprite(), TZorvGame::kSpriteX, game.SpriteY(), w, h);
    const int endRow = std::min(map.Height(), (origin.Y + h - 1) / kTileSize + 1);
    const int endColumn = std::min(map.Width(), (origin.X + w - 1) / kTileSize + 1);
    for (int layer = 0; layer < 3; ++layer)
        for (int row = std::max(0, origin.Y / kTileSize); row < endRow; ++row)
            for (int column = std::max(0, origin.X / kTileSize); column < endColumn; ++column) {
                const int x = column * kTileSize - origin.X, y = row * kTileSize - origin.Y;
                const unsigned tile = CellWord(map.Cell(column, row), layer) & kTileNumberMask;
                if (tile != 0) bytes += CoveredPixels(map.Tiles().Tile(tile), x, y, w, h);
            }
    return bytes;
}

// ---- view positions ----

struct Views {
    std::string label;
    std::vector<TPoint> centres;
};

// Centres whose view origins step by `step` pixels over the whole level on both
// axes (a step prime to 32 meets every alignment of the tiles to the frame).
Views Sweep(const RuntimeCells& cells, int w, int h, int step) {
    Views views{"sweep" + std::to_string(step), {}};
    for (int y0 = 0; y0 <= cells.Height * kTileSize - h; y0 += step)
        for (int x0 = 0; x0 <= cells.Width * kTileSize - w; x0 += step)
            views.centres.push_back({x0 + w / 2, y0 + h / 2});
    return views;
}

Views At(TPoint pos) {
    return Views{"view:" + std::to_string(pos.X) + "," + std::to_string(pos.Y), {pos}};
}

// ---- registration ----

struct LoadedScene {
    std::string name;
    Scene scene;
    RuntimeCells cells;
    std::unique_ptr<SdlScene> sdl;
    std::unique_ptr<TZorvGame> games[2]; // low and high resolution
};

void RegisterFrames(LoadedScene& s, TZorvGame& game, const Views& views) {
    const int w = game.FrameBuffer().Width(), h = game.FrameBuffer().Height();
    const std::string name =
        s.name + "/" + std::to_string(w) + "x" + std::to_string(h) + "/" + views.label;
    const std::vector<TPoint>& centres = views.centres;
    benchmark::RegisterBenchmark(("ZorvGame_Draw/" + name).c_str(),
                                 [&game, centres](benchmark::State& state) {
                                     for (auto _ : state)
                                         for (const TPoint& pos : centres) {
                                             game.SetViewPos(pos);
                                             game.Draw();
                                             benchmark::ClobberMemory();
                                         }
                                     state.SetItemsProcessed(state.iterations() * centres.size());
                                 });
    SdlScene* sdl = s.sdl.get();
    benchmark::RegisterBenchmark(("SDL2_Blit/" + name).c_str(),
                                 [sdl, &game, w, h, centres](benchmark::State& state) {
                                     sdl->SetFrameSize(w, h);
                                     for (auto _ : state)
                                         for (const TPoint& pos : centres) {
                                             sdl->Draw(pos, TZorvGame::kSpriteX, game.SpriteY());
                                             benchmark::ClobberMemory();
                                         }
                                     state.SetItemsProcessed(state.iterations() * centres.size());
                                 });
    // The same bytes copied frame-sized piece by piece into one frame-sized
    // buffer, as the drawing writes them over one frame.
    std::vector<int64_t> bytes;
    for (const TPoint& pos : centres)
        bytes.push_back(BytesWritten(game, pos));
    const size_t frameBytes = size_t(w) * h;
    benchmark::RegisterBenchmark(
        ("Memcpy_Written/" + name).c_str(), [bytes, frameBytes](benchmark::State& state) {
            std::vector<uint8_t> from(frameBytes, 0x55), to(frameBytes);
            int64_t total = 0;
            for (auto _ : state)
                for (int64_t n : bytes) {
                    for (; n > 0; n -= int64_t(frameBytes))
                        std::memcpy(to.data(), from.data(), std::min<size_t>(n, frameBytes));
                    benchmark::ClobberMemory();
                }
            for (int64_t n : bytes)
                total += n;
            state.SetBytesProcessed(state.iterations() * total);
        });
}

// A record with the spans of a shaded one whose pixels copy instead: the same
// coverage, drawn by the copying routine.
SpriteRecord CopyingTwin(const uint8_t* shaded) {
    const size_t size = SpriteSize(shaded);
    SpriteRecord twin(new uint8_t[size]);
    std::memcpy(twin.get(), shaded, size);
    twin[16] = static_cast<uint8_t>(SpriteKind::Transparent);
    uint8_t* row = twin.get() + kSpriteHeaderSize;
    for (int r = 0; r < SpriteHeight(shaded); ++r, row += ReadLE32(row))
        for (uint8_t* span = row + kRowHeaderSize; ReadLE32(span + 4) != 0;) {
            const int count = ReadLE32(span + 4);
            for (int i = 0; i < count; ++i)
                span[kSpanHeaderSize + i] |= 0x40; // 2..15 become colours 0x42..0x4F
            span += kSpanHeaderSize + ((count + 3) & ~3);
        }
    return twin;
}

// A tile drawn as DrawMap draws it (its expanded form), wholly inside a frame.
void RegisterTile(const std::string& name, const uint8_t* record) {
    static TFrameBuffer frame(320, 200);
    static std::vector<std::unique_ptr<TExpandedTile>> expanded;
    expanded.push_back(ExpandTile(record));
    const TExpandedTile* tile = expanded.back().get();
    benchmark::RegisterBenchmark(name.c_str(), [tile](benchmark::State& state) {
        for (auto _ : state) {
            frame.DrawTile(*tile, 64, 64);
            benchmark::ClobberMemory();
        }
    });
}

// Each shaded tile of a scene against its copying twin, and one solid tile.
void RegisterTiles(const LoadedScene& s) {
    static std::vector<SpriteRecord> twins;
    const TTiles& tiles = s.games[0]->Map().Tiles();
    bool solidDone = false;
    for (int i = 1; i < TTiles::kCount; ++i) {
        const uint8_t* tile = tiles.Tile(i);
        if (!tile) continue;
        const std::string id = s.name + ":" + std::to_string(i);
        if (GetSpriteKind(tile) == SpriteKind::Shaded) {
            twins.push_back(CopyingTwin(tile));
            RegisterTile("Tile_Shaded/" + id, tile);
            RegisterTile("Tile_Copying/" + id, twins.back().get());
        } else if (!solidDone && IsPlainBlock(tile)) {
            RegisterTile("Tile_Solid/" + id, tile);
            solidDone = true;
        }
    }
}

// Pixels on which the two renderers disagree for one view, leaving out those
// under shaded tiles (SDL2 can only copy them). 0 means both drew the same scene.
size_t Disagreement(const LoadedScene& s, const TPoint& pos) {
    TZorvGame game(false, s.scene.map.string(), s.scene.dir);
    game.Advance(kSpriteTicks);
    game.SetViewPos(pos);
    game.Draw();
    SdlScene sdl(s.scene.dir, s.scene.map, s.cells);
    sdl.SetFrameSize(320, 200);
    const TFrameBuffer& frame = game.FrameBuffer();
    auto* sdlPixels = static_cast<uint8_t*>(sdl.Frame()->pixels);
    std::memcpy(sdlPixels, frame.Bits(), 320 * 200); // both start from the same picture
    game.Draw();
    sdl.Draw(pos, TZorvGame::kSpriteX, game.SpriteY());

    const TMap& map = game.Map();
    const TPoint origin = map.ViewOrigin(pos, 320, 200);
    size_t differ = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const TCell& cell = map.Cell((origin.X + x) / 32, (origin.Y + y) / 32);
            bool shaded = false;
            for (int layer = 1; layer < 3; ++layer) {
                const uint8_t* tile = map.Tiles().Tile(CellWord(cell, layer) & kTileNumberMask);
                shaded |= tile && GetSpriteKind(tile) == SpriteKind::Shaded;
            }
            differ += !shaded && sdlPixels[y * 320 + x] != frame.GetPixel(x, y);
        }
    return differ;
}

std::unique_ptr<LoadedScene> Load(const std::string& name, const Scene& scene) {
    auto s = std::make_unique<LoadedScene>();
    s->name = name;
    s->scene = scene;
    s->cells = ReadRuntimeCells(scene.map);
    s->sdl = std::make_unique<SdlScene>(scene.dir, scene.map, s->cells);
    for (bool hiRes : {false, true}) {
        s->games[hiRes] = std::make_unique<TZorvGame>(hiRes, scene.map.string(), scene.dir);
        s->games[hiRes]->Advance(kSpriteTicks);
    }
    const TPoint middle{s->cells.Width * 16 + 13, s->cells.Height * 16 + 7};
    benchmark::AddCustomContext(name + " scene", scene.source);
    benchmark::AddCustomContext(name + ": pixels differing from SDL2 (outside shaded tiles)",
                                std::to_string(Disagreement(*s, middle)));
    return s;
}

// ---- the ratios the drawing is held to ----

// For every case measured under both prefixes: time(over) / time(under).
void Ratios(bench::RatioReporter& r, const char* title, const std::string& over,
            const std::string& under) {
    bool titled = false;
    for (const std::string& name : r.Names()) {
        if (name.rfind(over, 0) != 0) continue;
        const std::string rest = name.substr(over.size());
        const double a = r.Seconds(name), b = r.Seconds(under + rest);
        if (a <= 0 || b <= 0) continue;
        if (!titled) r.Out() << "  " << title << ":\n";
        titled = true;
        char line[160];
        std::snprintf(line, sizeof line, "    %-36s %6.2f\n", rest.c_str(), a / b);
        r.Out() << line;
    }
}

void PrintRatios(bench::RatioReporter& r) {
    r.Out() << "\nRatios of CPU times from this run (medians of repetitions):\n";
    Ratios(r, "SDL2 time / ours, frames (goal >= 2.5 on the busy scene)", "SDL2_Blit/",
           "ZorvGame_Draw/");
    Ratios(r, "ours / memcpy of the bytes the frame writes (goal <= 3)", "ZorvGame_Draw/",
           "Memcpy_Written/");
    Ratios(r, "shaded tile / copying tile of the same coverage (goal <= 3)", "Tile_Shaded/",
           "Tile_Copying/");
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    static std::unique_ptr<LoadedScene> demo = Load("demo", bench::DemoScene());
    static std::unique_ptr<LoadedScene> busy = Load("busy", bench::BusyScene());

    for (LoadedScene* s : {demo.get(), busy.get()})
        for (auto& game : s->games) {
            const int w = game->FrameBuffer().Width(), h = game->FrameBuffer().Height();
            const RuntimeCells& c = s->cells;
            std::vector<Views> views;
            if (s == demo.get())
                for (TPoint p : {TPoint{0, 0}, TPoint{c.Width * 16 + 13, c.Height * 16 + 7},
                                 TPoint{c.Width * 32 / 3 + 5, c.Height * 64 / 3 + 21},
                                 TPoint{c.Width * 32, c.Height * 32}})
                    views.push_back(At(p));
            else
                views.push_back(At(TPoint{c.Width * 16 + 13, c.Height * 16 + 7}));
            views.push_back(Sweep(c, w, h, s == demo.get() ? 13 : 31));
            for (const Views& v : views)
                RegisterFrames(*s, *game, v);
        }
    RegisterTiles(*demo);
    RegisterTiles(*busy);

    bench::RatioReporter reporter(PrintRatios);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
