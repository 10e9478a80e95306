// vidlib32's inner loops at 640 x 480 x 8 on the model BIOS: SV_clear and
// 10 000 random lines through the bank window (with the BIOS's real-mode
// bank switch, forced in place of the protected-mode one, and with the
// protected-mode routine), through the linear buffer and through the
// virtual linear buffer, beside a memset of the page, all in one run. The
// ratios the routines are held to are printed at the end: a banked clear
// within 1.5 x the memset, banked lines within 3 x the same lines drawn
// linearly.
#include "state.h"
#include "vidlib32/vidlib32.h"

#include "pcemu/machine.h"
#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr size_t kPageBytes = size_t{kWidth} * kHeight;
constexpr int kLines = 10000;

enum class Access { BankedRealMode, BankedProtectedMode, Linear, Virtual };

// Sets 640 x 480 x 8 for the access asked for; false (and the benchmark
// skipped) when the PC cannot give it.
bool Use(benchmark::State& state, Access access) {
    SV_DeviceInfo* device = SV_init(0);
    if (device == nullptr) {
        state.SkipWithError("no VBE BIOS");
        return false;
    }
    const int32_t flags = access == Access::Linear ? SV_MODE_LINEAR : 0;
    if (!SV_setMode(0x101 | flags, 0, access == Access::Virtual ? 1 : 0, 1)) {
        state.SkipWithError("mode 101h cannot be set");
        return false;
    }
    if ((access == Access::Virtual) != (device->virtualActive != 0)) {
        state.SkipWithError("no virtual linear buffer");
        return false;
    }
    if (access == Access::BankedProtectedMode && vidlib32::gMode.pmSetBank == nullptr) {
        state.SkipWithError("the BIOS has no protected-mode window routine");
        return false;
    }
    if (access == Access::BankedRealMode) vidlib32::gMode.bankRoutine = _VBE_setBankA;
    return true;
}

void CountWindowMoves(benchmark::State& state, uint64_t before) {
    state.counters["windowMoves"] = benchmark::Counter(
        static_cast<double>(pcemu::TheMachine().adapter().windowMoves() - before),
        benchmark::Counter::kAvgIterations);
}

void BM_MemsetPage(benchmark::State& state) {
    uint8_t* page = pcemu::TheMachine().space().vram();
    int colour = 0;
    for (auto _ : state) {
        std::memset(page, ++colour & 0xFF, kPageBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPageBytes));
}

void BM_Clear(benchmark::State& state, Access access) {
    if (!Use(state, access)) return;
    const uint64_t moves = pcemu::TheMachine().adapter().windowMoves();
    uint32_t colour = 0;
    for (auto _ : state) {
        SV_clear(++colour & 0xFF);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPageBytes));
    CountWindowMoves(state, moves);
    SV_restoreMode();
}

// What one bank of a banked clear costs before any drawing code runs: the
// window moved to the next bank (the emulated PC remaps its view of video
// memory) and its 64 KB written with memset.
void BM_MoveWindowAndMemsetIt(benchmark::State& state) {
    if (!Use(state, Access::BankedProtectedMode)) return;
    const SV_DeviceInfo* device = SV_init(0);
    int32_t bank = 0;
    for (auto _ : state) {
        bank = (bank + 1) % 5;
        SV_setBank(bank);
        std::memset(device->frameMemory, bank, 0x10000);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * 0x10000));
    SV_restoreMode();
}

struct Line {
    int32_t x1, y1, x2, y2;
    uint32_t colour;
};

// 10 000 lines over the whole page, or kept to rows 0-101 (the first bank),
// where the window never moves and only the stepping costs.
std::vector<Line> RandomLines(int32_t lastRow) {
    std::mt19937 random(1995);
    std::uniform_int_distribution<int32_t> x(0, kWidth - 1), y(0, lastRow);
    std::vector<Line> out(kLines);
    for (Line& l : out)
        l = {x(random), y(random), x(random), y(random), static_cast<uint32_t>(random() & 0xFF)};
    return out;
}

void BM_Lines(benchmark::State& state, Access access) {
    if (!Use(state, access)) return;
    const std::vector<Line> lines = RandomLines(static_cast<int32_t>(state.range(0)));
    const uint64_t moves = pcemu::TheMachine().adapter().windowMoves();
    for (auto _ : state) {
        for (const Line& l : lines)
            SV_line(l.x1, l.y1, l.x2, l.y2, l.colour);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * lines.size()));
    CountWindowMoves(state, moves);
    SV_restoreMode();
}

BENCHMARK(BM_MemsetPage);
BENCHMARK(BM_MoveWindowAndMemsetIt);
BENCHMARK_CAPTURE(BM_Clear, BankedRealMode, Access::BankedRealMode);
BENCHMARK_CAPTURE(BM_Clear, BankedProtectedMode, Access::BankedProtectedMode);
BENCHMARK_CAPTURE(BM_Clear, Linear, Access::Linear);
BENCHMARK_CAPTURE(BM_Clear, Virtual, Access::Virtual);
// Argument: the last row the lines reach (479: the whole page; 101: bank 0).
BENCHMARK_CAPTURE(BM_Lines, BankedRealMode, Access::BankedRealMode)
    ->Arg(kHeight - 1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lines, BankedProtectedMode, Access::BankedProtectedMode)
    ->Arg(kHeight - 1)
    ->Arg(101)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lines, Linear, Access::Linear)
    ->Arg(kHeight - 1)
    ->Arg(101)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Lines, Virtual, Access::Virtual)
    ->Arg(kHeight - 1)
    ->Unit(benchmark::kMillisecond);

void PrintRatios(bench::RatioReporter& r) {
    r.Out() << "\nRatios of CPU times (user and system) from this run:\n";
    for (const char* banked : {"BankedRealMode", "BankedProtectedMode"})
        r.Ratio(std::string("BM_Clear/") + banked, "BM_MemsetPage", "goal <= 1.5");
    for (const char* other : {"Linear", "Virtual"})
        r.Ratio(std::string("BM_Clear/") + other, "BM_MemsetPage", "");
    // The page spans five banks: the clear against five moves of the
    // window each followed by a memset of the bank.
    for (const char* banked : {"BankedRealMode", "BankedProtectedMode"})
        r.Ratio(std::string("BM_Clear/") + banked, "BM_MoveWindowAndMemsetIt",
                "against 5 x (window move + memset of the bank)", 5);
    for (const char* banked : {"BankedRealMode", "BankedProtectedMode", "Virtual"})
        r.Ratio(std::string("BM_Lines/") + banked + "/479", "BM_Lines/Linear/479", "goal <= 3");
    r.Ratio("BM_Lines/BankedProtectedMode/101", "BM_Lines/Linear/101",
            "the stepping alone: no window moves");
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::RatioReporter reporter(PrintRatios);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
