// The virtual linear buffer against the linear frame buffer: a 640 x 480 x 8
// page filled through each, in the same run, and what one bank fault costs.
#include "bank_fragments.h"
#include "tobrin16/tobrin16.h"
#include "tobrin32/tobrin32.h"

#include "pcemu/machine.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

namespace {

constexpr size_t kPage = 640 * 480;

// Mode 101h with the virtual buffer over the video BIOS's own SetWindow code;
// null when the BIOS cannot give that.
struct Screens {
    uint8_t* linear = nullptr;
    uint8_t* virtualBuffer = nullptr;
};

Screens Open() {
    static Screens screens = [] {
        Screens s;
        RealRegs r = {};
        r.x.ax = 0x4F02;
        r.x.bx = 0x101;
        TB_int86(0x10, &r, &r);
        const std::vector<uint8_t> code = tobrin_test::RomSetWindowFragment();
        if (r.x.ax != 0x004F || code.empty()) return s;
        s.linear = static_cast<uint8_t*>(TB_mapPhysicalAddr(
            pcemu::kLinearBufferBase, pcemu::TheMachine().space().vramSize() - 1));
        s.virtualBuffer = static_cast<uint8_t*>(
            VF_init(0xA0000, 64, static_cast<uint32_t>(code.size()), code.data()));
        return s;
    }();
    return screens;
}

void Fill(benchmark::State& state, uint8_t* screen) {
    if (!screen) {
        state.SkipWithError("no VBE mode 101h or no protected-mode SetWindow");
        return;
    }
    const uint64_t faults = Tobrin16_BankFaults();
    uint8_t colour = 0;
    for (auto _ : state) {
        std::memset(screen, ++colour, kPage);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPage));
    state.counters["faults/page"] = static_cast<double>(Tobrin16_BankFaults() - faults) /
                                    static_cast<double>(state.iterations());
}

void BM_PageFillLinearView(benchmark::State& state) {
    Fill(state, Open().linear);
}
BENCHMARK(BM_PageFillLinearView);

void BM_PageFillVirtualBuffer(benchmark::State& state) {
    Fill(state, Open().virtualBuffer);
}
BENCHMARK(BM_PageFillVirtualBuffer);

// Time of one page through the virtual buffer minus the same page through
// the linear view, divided by the bank faults it took.
void BM_CostPerBankFault(benchmark::State& state) {
    const Screens s = Open();
    if (!s.linear || !s.virtualBuffer) {
        state.SkipWithError("no VBE mode 101h or no protected-mode SetWindow");
        return;
    }
    using Clock = std::chrono::steady_clock;
    uint8_t colour = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::memset(s.linear, ++colour, kPage);
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        const uint64_t faults = Tobrin16_BankFaults();
        std::memset(s.virtualBuffer, colour, kPage);
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        const double perFault = (std::chrono::duration<double>(t2 - t1).count() -
                                 std::chrono::duration<double>(t1 - t0).count()) /
                                static_cast<double>(Tobrin16_BankFaults() - faults);
        state.SetIterationTime(perFault > 0 ? perFault : 0);
    }
}
BENCHMARK(BM_CostPerBankFault)->UseManualTime();

} // namespace

BENCHMARK_MAIN();
