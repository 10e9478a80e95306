// The emulated PC's costly steps: one bank switch by interrupt 10h AX=4F05h
// through a real ROM or the model BIOS, and through the 32-bit
// protected-mode routine of the Bochs ROM or the model BIOS (argument 1:
// every switch moves the window view to another bank; 0: the same bank
// again, so only the emulated code costs), and the scanout of a
// 640 x 400 x 8 page beside a memcpy of the page in the same run.
#include "pcemu/machine.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<pcemu::Machine> MachineInMode(benchmark::State& state, const char* bios,
                                              uint16_t mode) {
    pcemu::MachineConfig config;
    config.bios = bios;
    pcemu::MachineOrError made = pcemu::Machine::Create(config);
    if (!made) {
        state.SkipWithError(made.error.c_str());
        return nullptr;
    }
    pcemu::CpuRegs r;
    r.eax = 0x4F02;
    r.ebx = mode;
    if (!made.machine->int86(0x10, r).ok() || r.ax() != 0x004F) {
        state.SkipWithError("mode set failed");
        return nullptr;
    }
    return std::move(made.machine);
}

void ReportInstructions(benchmark::State& state, pcemu::Machine& pc, uint64_t before) {
    state.counters["instructions"] =
        benchmark::Counter(static_cast<double>(pc.cpu().instructionsExecuted() - before),
                           benchmark::Counter::kAvgIterations);
}

void BM_BankSwitchInt10(benchmark::State& state, const char* bios) {
    auto pc = MachineInMode(state, bios, 0x0101);
    if (!pc) return;
    uint64_t before = pc->cpu().instructionsExecuted();
    const uint16_t flip = static_cast<uint16_t>(state.range(0));
    uint16_t bank = 0;
    for (auto _ : state) {
        pcemu::CpuRegs r;
        r.eax = 0x4F05;
        r.edx = bank ^= flip;
        pcemu::RunResult run = pc->int86(0x10, r);
        if (!run.ok()) state.SkipWithError(run.message.c_str());
    }
    ReportInstructions(state, *pc, before);
}
BENCHMARK_CAPTURE(BM_BankSwitchInt10, seabios, "rom:seabios")->Arg(1)->Arg(0);
BENCHMARK_CAPTURE(BM_BankSwitchInt10, bochs, "rom:bochs")->Arg(1)->Arg(0);
BENCHMARK_CAPTURE(BM_BankSwitchInt10, model, "vbe20")->Arg(1)->Arg(0);

void BM_BankSwitchProtectedMode(benchmark::State& state, const char* bios) {
    auto pc = MachineInMode(state, bios, 0x0101);
    if (!pc) return;
    pcemu::CpuRegs r;
    r.eax = 0x4F0A;
    pc->int86(0x10, r);
    if (r.ax() != 0x004F) return state.SkipWithError("no protected-mode table");
    auto* copy = static_cast<uint8_t*>(pc->space().guestAlloc(r.cx()));
    std::memcpy(copy, pc->hostPointer((uint32_t{r.es} << 4) + r.di()), r.cx());
    uint32_t entry = *pc->linearOf(copy) + (copy[0] | (copy[1] << 8));
    uint64_t before = pc->cpu().instructionsExecuted();
    const uint16_t flip = static_cast<uint16_t>(state.range(0));
    uint16_t bank = 0;
    for (auto _ : state) {
        pcemu::CpuRegs pm;
        pm.edx = bank ^= flip;
        pcemu::RunResult run = pc->call32(entry, pm);
        if (!run.ok()) state.SkipWithError(run.message.c_str());
    }
    ReportInstructions(state, *pc, before);
}
BENCHMARK_CAPTURE(BM_BankSwitchProtectedMode, bochs, "rom:bochs")->Arg(1)->Arg(0);
BENCHMARK_CAPTURE(BM_BankSwitchProtectedMode, model, "vbe20")->Arg(1)->Arg(0);

constexpr size_t kPage = 640 * 400;

void BM_Scanout640x400x8(benchmark::State& state) {
    auto pc = MachineInMode(state, "rom:bochs", 0x0100);
    if (!pc) return;
    for (size_t i = 0; i < kPage; ++i)
        pc->space().vram()[i] = static_cast<uint8_t>(i * 7);
    pcemu::Image image;
    for (auto _ : state) {
        pc->adapter().scanout(image);
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPage));
}
BENCHMARK(BM_Scanout640x400x8);

void BM_MemcpyOfThePage(benchmark::State& state) {
    std::vector<uint8_t> from(kPage, 1), to(kPage);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kPage);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPage));
}
BENCHMARK(BM_MemcpyOfThePage);

} // namespace

BENCHMARK_MAIN();
