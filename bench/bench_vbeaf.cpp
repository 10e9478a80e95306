// The reference VBE/AF driver on the emulated adapter at 640 x 480 x 8:
// a full-screen DrawRect (a clear), DrawLine, each followed by WaitTillIdle,
// and the engine's operations called directly, to show what the emulated
// entry code and the register traffic add; plus the cost of one touch of
// video memory while the engine is busy (the fault and its recovery).
#include "driver_host.h"
#include "image.h"

#include <pcemu/machine.h>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int32_t kFixed = 65536;

struct Bench {
    Bench() {
        pcemu::MachineConfig config;
        config.bios = "none";
        config.vramKB = 4096;
        pc = std::move(pcemu::Machine::Create(config).machine);
        host = std::make_unique<mkvbeaf::DriverHost>(*pc);
        image = mkvbeaf::BuildImage({});
        ok = pc && host->load(image) && host->init() == 0;
        pcemu::CpuRegs r;
        r.eax = 0x101;
        r.ecx = 0xFFFFFFFF;
        ok = ok && host->call(&AF_DriverHeader::SetVideoMode, r) == 0;
        block = pc->space().guestAllocLinear(64).value_or(0);
    }
    void call(uint32_t AF_DriverHeader::*field, pcemu::CpuRegs r = {}) { host->call(field, r); }
    void callBlock(uint32_t AF_DriverHeader::*field, uint32_t eax,
                   std::initializer_list<int32_t> values) {
        uint32_t at = block;
        for (int32_t v : values) {
            pc->memory().write32(at, static_cast<uint32_t>(v));
            at += 4;
        }
        pcemu::CpuRegs r;
        r.eax = eax;
        r.esi = block;
        host->call(field, r);
    }

    std::unique_ptr<pcemu::Machine> pc;
    std::unique_ptr<mkvbeaf::DriverHost> host;
    std::vector<uint8_t> image;
    uint32_t block = 0;
    bool ok = false;
};

void BM_DriverClear(benchmark::State& state) {
    Bench b;
    if (!b.ok) return state.SkipWithError("driver did not start");
    uint32_t colour = 0;
    for (auto _ : state) {
        b.callBlock(&AF_DriverHeader::DrawRect, ++colour & 0xFF, {0, 0, 640, 480});
        b.call(&AF_DriverHeader::WaitTillIdle);
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(BM_DriverClear);

// 10 000 lines across the screen per iteration, then one wait.
void BM_DriverLines(benchmark::State& state) {
    Bench b;
    if (!b.ok) return state.SkipWithError("driver did not start");
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            int32_t x1 = (i * 37) % 640, y1 = (i * 91) % 480;
            int32_t x2 = (i * 53 + 300) % 640, y2 = (i * 17 + 200) % 480;
            b.callBlock(&AF_DriverHeader::DrawLine, i & 0xFF,
                        {x1 * kFixed, y1 * kFixed, x2 * kFixed, y2 * kFixed});
        }
        b.call(&AF_DriverHeader::WaitTillIdle);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_DriverLines)->Unit(benchmark::kMillisecond);

// The same lines written straight to the engine's registers from the host.
void BM_EngineLines(benchmark::State& state) {
    Bench b;
    if (!b.ok) return state.SkipWithError("driver did not start");
    pcemu::MemoryBus& m = b.pc->memory();
    auto reg = [&](uint32_t r, uint32_t v) { m.write32(pcemu::kAccelRegisterBase + r, v); };
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            reg(pcemu::kAccelForeColour, i & 0xFF);
            reg(pcemu::kAccelParam0, ((i * 37) % 640) * kFixed);
            reg(pcemu::kAccelParam0 + 4, ((i * 91) % 480) * kFixed);
            reg(pcemu::kAccelParam0 + 8, ((i * 53 + 300) % 640) * kFixed);
            reg(pcemu::kAccelParam0 + 12, ((i * 17 + 200) % 480) * kFixed);
            reg(pcemu::kAccelCommand, pcemu::kAccelLine);
        }
        while (m.read32(pcemu::kAccelRegisterBase + pcemu::kAccelStatus) & pcemu::kAccelBusy) {
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_EngineLines)->Unit(benchmark::kMillisecond);

// A one-pixel command, then a touch of video memory without waiting: the
// fault, the count and the reopening of the views.
void BM_TouchWhileBusy(benchmark::State& state) {
    Bench b;
    if (!b.ok) return state.SkipWithError("driver did not start");
    volatile uint8_t* linear = b.pc->space().vram();
    for (auto _ : state) {
        b.callBlock(&AF_DriverHeader::DrawRect, 1, {0, 0, 1, 1});
        linear[100] = 2;
    }
    state.counters["violations"] = static_cast<double>(b.pc->adapter().accelerator().violations());
}
BENCHMARK(BM_TouchWhileBusy);

} // namespace

BENCHMARK_MAIN();
