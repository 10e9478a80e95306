// Repainting the editor's whole map view at 1920 x 1080 on the offscreen
// platform: every visible cell composed from four tile layers with shading,
// attribute labels printed, and the frame copied to the window. Goal: < 16 ms.
#include "mapedit/core/editor.h"
#include "mapedit/ui/mapview.h"

#include <QApplication>
#include <QScrollBar>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <random>

using namespace mapedit;
using namespace mapedit::ui;

namespace {

constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;
constexpr int kTileIds = 60;

// 60 tiles and a map larger than the view with all four tile layers set;
// `labelShare` percent of the cells carry attributes A and B.
struct RepaintScene {
    QuietUi ui;
    TEditor ed{ui};
    TMapView view{ed, nullptr};

    RepaintScene(int cellSize, int labelShare) {
        std::mt19937 random(11);
        for (int id = 1; id <= kTileIds; ++id) {
            TDIB tile(kTileSize, kTileSize);
            for (int y = 0; y < kTileSize; ++y)
                for (int x = 0; x < kTileSize; ++x) {
                    const int roll = int(random() % 10);
                    uint8_t colour = uint8_t(16 + random() % 240);
                    if (id > 20 && roll < 4) colour = 0;
                    if (id > 20 && roll >= 4 && roll < 6) colour = uint8_t(1 + random() % 15);
                    tile.SetPixel(x, y, colour);
                }
            ed.Tiles.SetTile(tile, id, id);
        }
        uint8_t rgb[768];
        for (int i = 0; i < 768; ++i)
            rgb[i] = uint8_t(random());
        ed.Colours.SetColours(rgb);
        const int columns = kViewWidth / cellSize + 10, rows = kViewHeight / cellSize + 10;
        ed.ResizePlanes(columns, rows);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x) {
                ed.Doc.SetCell(0, x, y, uint16_t(1 + random() % 20));
                for (int layer = 1; layer <= 3; ++layer)
                    ed.Doc.SetCell(layer, x, y, uint16_t(21 + random() % 40));
                if (int(random() % 100) < labelShare)
                    ed.Doc.SetCell(kAttributeLayer, x, y,
                                   uint16_t((1 + random() % 25) | (1 + random() % 25) << 8));
            }
        ed.Show.DrawCollisions = true;
        ed.SetShadeMode(true);

        view.setFrameStyle(QFrame::NoFrame);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.SetCellSize(cellSize);
        view.SetGridSize(columns, rows);
        view.resize(kViewWidth, kViewHeight);
        view.show();
        for (int i = 0; i < 100 && !(view.windowHandle() && view.windowHandle()->isExposed()); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
};

void BM_RepaintMapView(benchmark::State& state) {
    RepaintScene scene(int(state.range(0)), int(state.range(1)));
    if (scene.view.viewport()->size() != QSize(kViewWidth, kViewHeight)) {
        state.SkipWithError("the view did not get its size");
        return;
    }
    for (auto _ : state) {
        scene.view.RepaintAll();
        scene.view.viewport()->repaint();
    }
    const int cellSize = int(state.range(0));
    state.counters["cells"] = double(((kViewWidth + cellSize - 1) / cellSize) *
                                     ((kViewHeight + cellSize - 1) / cellSize));
}

// Cell sizes 8 to 64; no labels, and a quarter of the cells labelled.
BENCHMARK(BM_RepaintMapView)
    ->ArgsProduct({{8, 16, 32, 64}, {0, 25}})
    ->ArgNames({"cell", "labels%"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
