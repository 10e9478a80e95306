// Composing the editor's map view: every visible cell stacked in the cell
// surface from four tile layers with shading, then shown on a 32-bit frame.
#include "mapedit/core/editor.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace mapedit;

namespace {

constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;
constexpr int kTileIds = 60;

// An editor with 60 tiles and a 60 x 34 map whose four tile layers are all set.
// Background tiles are opaque; the upper layers mix holes, shades and colours.
struct ViewScene {
    QuietUi ui;
    TEditor ed{ui};
    std::vector<uint32_t> frame = std::vector<uint32_t>(size_t(kViewWidth) * kViewHeight);
    RgbTarget target{frame.data(), kViewWidth, kViewHeight, kViewWidth};

    ViewScene(int cellSize) {
        std::mt19937 random(7);
        for (int id = 1; id <= kTileIds; ++id) {
            TDIB tile(kTileSize, kTileSize);
            for (int y = 0; y < kTileSize; ++y)
                for (int x = 0; x < kTileSize; ++x) {
                    int roll = int(random() % 10);
                    uint8_t colour = uint8_t(16 + random() % 240);
                    if (id > 20 && roll < 4) colour = 0;
                    if (id > 20 && roll >= 4 && roll < 6) colour = uint8_t(1 + random() % 15);
                    tile.SetPixel(x, y, colour);
                }
            ed.Tiles.SetTile(tile, id, id);
        }
        const int columns = (kViewWidth + cellSize - 1) / cellSize;
        const int rows = (kViewHeight + cellSize - 1) / cellSize;
        ed.ResizePlanes(columns, rows);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x) {
                ed.Doc.SetCell(0, x, y, uint16_t(1 + random() % 20));
                for (int layer = 1; layer <= 3; ++layer)
                    ed.Doc.SetCell(layer, x, y, uint16_t(21 + random() % 40));
            }
        ed.Show.DrawCollisions = true;
        ed.SetShadeMode(true);
    }

    void DrawView(int cellSize) {
        for (int y = 0; y < ed.Doc.H(); ++y)
            for (int x = 0; x < ed.Doc.W(); ++x)
                ed.DrawCell(target, x, y,
                            {x * cellSize, y * cellSize, (x + 1) * cellSize, (y + 1) * cellSize});
    }
};

void BM_ComposeFullView(benchmark::State& state) {
    const int cellSize = int(state.range(0));
    ViewScene scene(cellSize);
    for (auto _ : state) {
        scene.DrawView(cellSize);
        benchmark::DoNotOptimize(scene.frame.data());
        benchmark::ClobberMemory();
    }
    state.counters["cells"] = double(scene.ed.Doc.W() * scene.ed.Doc.H());
}
BENCHMARK(BM_ComposeFullView)->Arg(32)->Arg(16)->Unit(benchmark::kMillisecond);

// The cell composition alone, without showing the surface.
void BM_ComposeCellsOnly(benchmark::State& state) {
    ViewScene scene(32);
    for (auto _ : state) {
        for (int y = 0; y < scene.ed.Doc.H(); ++y)
            for (int x = 0; x < scene.ed.Doc.W(); ++x)
                scene.ed.ComposeCell(x, y);
        benchmark::DoNotOptimize(scene.ed.CellSurface.Bits());
    }
}
BENCHMARK(BM_ComposeCellsOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
