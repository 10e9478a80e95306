// PBM decoding throughput on a 2048 x 2048 tile sheet (32 x 32 tiles with flat
// areas, shapes and, in the textured sheet, dithered detail; ByteRun1), for
// each decoder, beside a memcpy of the same 4 MiB in the same run. ByteRun1
// decoding is serial from run to run, so its cost follows the number of runs.
#include "formats/iff.h"
#include "formats/pbm.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kSide = 2048;
constexpr int kTile = 32;
constexpr size_t kPixels = size_t(kSide) * kSide;

// Colours from 2 up, so that no colour-1 rule changes the picture.
uint8_t Colour(std::mt19937& rng, int from, int count) {
    return uint8_t(from + int(rng() % unsigned(count)));
}

enum Detail { kTextured = 0, kFlat = 1 };

void DrawTile(std::vector<uint8_t>& sheet, int tx, int ty, std::mt19937& rng, Detail detail) {
    auto at = [&](int x, int y) -> uint8_t& {
        return sheet[size_t(ty * kTile + y) * kSide + size_t(tx * kTile + x)];
    };
    // Background: transparent or a flat colour.
    uint8_t background = rng() % 3 == 0 ? 0 : Colour(rng, 2, 40);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x)
            at(x, y) = background;
    // A few solid shapes.
    int shapes = int(rng() % 3);
    for (int s = 0; s < shapes; ++s) {
        int x0 = int(rng() % 24), y0 = int(rng() % 24);
        int w = 4 + int(rng() % (kTile - x0 - 3)), h = 4 + int(rng() % (kTile - y0 - 3));
        uint8_t c = Colour(rng, 40, 60);
        for (int y = y0; y < std::min(kTile, y0 + h); ++y)
            for (int x = x0; x < std::min(kTile, x0 + w); ++x)
                at(x, y) = c;
    }
    // Textured detail: a band of dithered shades (short runs and literals).
    if (detail == kTextured && rng() % 2) {
        int y0 = int(rng() % 20), h = 4 + int(rng() % 12);
        uint8_t base = Colour(rng, 100, 140);
        for (int y = y0; y < std::min(kTile, y0 + h); ++y)
            for (int x = 0; x < kTile; ++x)
                at(x, y) = uint8_t(base + rng() % 4);
    }
}

struct TileSheet {
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> file;
    int64_t runs = 0;
};

int64_t CountRuns(const std::vector<uint8_t>& packed) {
    int64_t runs = 0;
    for (size_t i = 0; i < packed.size(); ++runs) {
        int n = int8_t(packed[i]);
        i += n < 0 ? 2 : size_t(n) + 2;
    }
    return runs;
}

TileSheet MakeTileSheet(Detail detail) {
    TileSheet t;
    t.pixels.resize(kPixels);
    std::mt19937 rng(1234);
    for (int ty = 0; ty < kSide / kTile; ++ty)
        for (int tx = 0; tx < kSide / kTile; ++tx)
            DrawTile(t.pixels, tx, ty, rng, detail);

    std::vector<uint8_t> body;
    for (int y = 0; y < kSide; ++y) {
        auto row = formats::EncodeByteRun1Row(t.pixels.data() + size_t(y) * kSide, kSide);
        t.runs += CountRuns(row);
        body.insert(body.end(), row.begin(), row.end());
    }
    auto put32 = [&](uint32_t v) {
        for (int s = 24; s >= 0; s -= 8)
            t.file.push_back(uint8_t(v >> s));
    };
    auto putId = [&](const char* id) { t.file.insert(t.file.end(), id, id + 4); };
    putId("FORM");
    put32(0);
    putId("PBM ");
    putId("BMHD");
    put32(20);
    uint8_t header[20] = {kSide >> 8, 0, kSide >> 8, 0, 0, 0, 0, 0, 8, 0, 1, 0, 0, 0, 1, 1};
    t.file.insert(t.file.end(), header, header + 20);
    putId("CMAP");
    put32(768);
    for (int i = 0; i < 768; ++i)
        t.file.push_back(uint8_t(i));
    putId("BODY");
    put32(uint32_t(body.size()));
    t.file.insert(t.file.end(), body.begin(), body.end());
    if (t.file.size() & 1) t.file.push_back(0);
    uint32_t size = uint32_t(t.file.size());
    for (int i = 0; i < 4; ++i)
        t.file[4 + i] = uint8_t(size >> (24 - 8 * i));
    return t;
}

const TileSheet& Sheet(int64_t detail) {
    static const TileSheet textured = MakeTileSheet(kTextured);
    static const TileSheet flat = MakeTileSheet(kFlat);
    return detail == kFlat ? flat : textured;
}

class PlainSurface : public formats::PbmSurfaceTarget {
public:
    void SetPictureSize(int w, int h) override {
        width_ = w;
        pixels_.resize(size_t(w) * h);
    }
    void SetPictureColours(const uint8_t (&rgb)[768]) override { std::memcpy(rgb_, rgb, 768); }
    uint8_t* PictureRow(int y) override { return pixels_.data() + size_t(y) * width_; }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

private:
    int width_ = 0;
    std::vector<uint8_t> pixels_;
    uint8_t rgb_[768];
};

void Report(benchmark::State& state, const TileSheet& sheet) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixels));
    state.counters["compressed_KiB"] = double(sheet.file.size()) / 1024.0;
    state.counters["runs"] = double(sheet.runs);
}

void BM_Memcpy4MiB(benchmark::State& state) {
    const auto& src = Sheet(kTextured).pixels;
    std::vector<uint8_t> dst(kPixels);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kPixels);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixels));
}

void BM_EditorSurfaceLoader(benchmark::State& state) {
    const TileSheet& sheet = Sheet(state.range(0));
    formats::MemoryStream stream(sheet.file);
    PlainSurface surface;
    for (auto _ : state) {
        stream.Seek(0);
        formats::LoadPbmIntoSurface(stream, surface);
        benchmark::ClobberMemory();
    }
    if (surface.Pixels() != sheet.pixels) state.SkipWithError("decoded picture differs");
    Report(state, sheet);
}

void BM_TPBMImage(benchmark::State& state) {
    const TileSheet& sheet = Sheet(state.range(0));
    formats::MemoryStream stream(sheet.file);
    formats::TPBMImage image;
    for (auto _ : state) {
        stream.Seek(0);
        image.LoadFromStream(stream);
        benchmark::ClobberMemory();
    }
    if (image.Pixels != sheet.pixels) state.SkipWithError("decoded picture differs");
    Report(state, sheet);
}

// Streaming decoder into a frame, either through std::function per pixel or
// with the per-pixel callback inlined.
template <bool Inline> void BM_DrawPBM(benchmark::State& state) {
    const TileSheet& sheet = Sheet(state.range(0));
    formats::MemoryStream stream(sheet.file);
    std::vector<uint8_t> frame(kPixels);
    uint8_t* out = frame.data();
    auto store = [out](int x, int y, uint8_t c) { out[size_t(y) * kSide + size_t(x)] = c; };
    for (auto _ : state) {
        stream.Seek(0);
        if constexpr (Inline)
            formats::DrawPBMStreamInline(stream, store);
        else
            formats::DrawPBMStream(stream, store);
        benchmark::ClobberMemory();
    }
    if (frame != sheet.pixels) state.SkipWithError("decoded picture differs");
    Report(state, sheet);
}
void BM_DrawPBMStream(benchmark::State& state) {
    BM_DrawPBM<false>(state);
}
void BM_DrawPBMStreamInline(benchmark::State& state) {
    BM_DrawPBM<true>(state);
}

} // namespace

BENCHMARK(BM_Memcpy4MiB)->Unit(benchmark::kMicrosecond);
// Argument: 0 = textured tiles (dithered detail bands), 1 = flat tiles only.
BENCHMARK(BM_EditorSurfaceLoader)->Arg(kTextured)->Arg(kFlat)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TPBMImage)->Arg(kTextured)->Arg(kFlat)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawPBMStream)->Arg(kTextured)->Arg(kFlat)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawPBMStreamInline)->Arg(kTextured)->Arg(kFlat)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
