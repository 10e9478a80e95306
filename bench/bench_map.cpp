// Writing and reading a 1024 x 1024 map: to and from a file, and from memory.
#include "formats/mapfile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace formats;
namespace fs = std::filesystem;

namespace {

constexpr int kSide = 1024;

MapData MakeMap() {
    MapData map;
    map.width = kSide;
    map.height = kSide;
    map.tileSet = "TILES\\BENCH.TIL";
    map.cells.resize(static_cast<size_t>(kSide) * kSide);
    for (size_t i = 0; i < map.cells.size(); ++i) {
        const auto v = static_cast<uint16_t>(i * 2654435761u >> 16);
        map.cells[i] = MapCell{v,
                               uint16_t(v ^ 1),
                               uint16_t(v >> 3),
                               uint16_t(i & 7),
                               uint16_t(i & 0x1F1F),
                               uint16_t(v & 0xFF)};
    }
    return map;
}

const MapData& BenchMap() {
    static const MapData map = MakeMap();
    return map;
}

fs::path BenchFile() {
    static const fs::path file =
        fs::temp_directory_path() / ("zorv_bench_" + std::to_string(::getpid()) + ".map");
    return file;
}

const fs::path& WrittenFile() {
    static const fs::path file = [] {
        WriteMapData(BenchFile(), BenchMap());
        return BenchFile();
    }();
    return file;
}

int64_t FileBytes() {
    return static_cast<int64_t>(fs::file_size(WrittenFile()));
}

// Keeps every cell, as a program loading the map would.
class StoringSink : public MapSink {
public:
    void SetSize(int width, int height) override {
        width_ = width;
        cells_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), MapCell{});
    }
    void SetRow(int y, const MapCell* cells, int width, bool) override {
        std::copy(cells, cells + width, cells_.begin() + static_cast<ptrdiff_t>(y) * width_);
    }
    void TileSetName(const std::string&) override {}
    const std::vector<MapCell>& Cells() const { return cells_; }

private:
    int width_ = 0;
    std::vector<MapCell> cells_;
};

void BM_WriteMap(benchmark::State& state) {
    const MapData& map = BenchMap();
    for (auto _ : state)
        WriteMapData(BenchFile(), map);
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

void BM_ReadMapFromMemory(benchmark::State& state) {
    // Stream and sink are reused so that the figure is the reader's, not the
    // cost of faulting in fresh memory on every run.
    MemoryStream stream(ReadWholeFile(WrittenFile()));
    StoringSink sink;
    for (auto _ : state) {
        stream.Seek(0);
        ReadMap(stream, sink, MapReader::Runtime);
        benchmark::DoNotOptimize(sink.Cells().data());
    }
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

void BM_ReadMapFromFile(benchmark::State& state) {
    const fs::path& file = WrittenFile();
    StoringSink sink;
    for (auto _ : state) {
        FileStream stream(file);
        ReadMap(stream, sink, MapReader::Editor);
        benchmark::DoNotOptimize(sink.Cells().data());
    }
    state.SetBytesProcessed(state.iterations() * FileBytes());
}

} // namespace

BENCHMARK(BM_WriteMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMapFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMapFromFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove(BenchFile(), ec);
    return 0;
}
