// The reference VBE/AF driver on the emulated adapter at 640 x 480 x 8:
// a full-screen DrawRect (a clear), DrawLine, each followed by WaitTillIdle,
// and the engine's operations called directly, to show what the emulated
// entry code and the register traffic add; plus the cost of one touch of
// video memory while the engine is busy (the fault and its recovery).
// Then the library itself in the same run: SV_clear and 10 000 SV_line
// through the driver (SV_init(1); each iteration ends with the bracket that
// waits for the engine) and in software on the VBE BIOS (banked and linear).
#include "driver_host.h"
#include "image.h"

#include <pcemu/machine.h>
#include <vidlib32/vidlib32.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

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

// The library at 640 x 480 x 8 through the reference driver, or through the
// VBE BIOS (the process's emulated PC, vbe20 unless PCEMU_BIOS says
// otherwise) with its software routines.
enum class Path { Driver, SoftwareBanked, SoftwareLinear };

// The reference driver, loaded once from a file as SV_init would find it.
AF_DriverHeader* LibraryDriver() {
    static AF_DriverHeader* driver = [] {
        namespace fs = std::filesystem;
        const fs::path dir =
            fs::temp_directory_path() / ("bench_vbeaf_" + std::to_string(getpid()));
        fs::create_directories(dir);
        const std::vector<uint8_t> image = mkvbeaf::BuildImage({});
        std::ofstream(dir / "VBEAF.DRV", std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()),
                   static_cast<std::streamsize>(image.size()));
        AF_DriverHeader* loaded = AF_loadDriver(dir.c_str());
        fs::remove_all(dir);
        return loaded;
    }();
    return driver;
}

bool UseLibrary(benchmark::State& state, Path path) {
    AF_DriverHeader* driver = path == Path::Driver ? LibraryDriver() : nullptr;
    if (path == Path::Driver && !driver) {
        state.SkipWithError(AF_errorMsg(AF_status()));
        return false;
    }
    SV_setACCELDriver(driver);
    const SV_DeviceInfo* device = SV_init(path == Path::Driver ? 1 : 0);
    const int32_t mode = path == Path::SoftwareLinear ? 0x4101 : 0x101;
    if (!device || !SV_setMode(mode, 0, 0, 1)) {
        state.SkipWithError("640 x 480 x 8 cannot be set");
        return false;
    }
    if ((device->accelDriver != nullptr) != (path == Path::Driver)) {
        state.SkipWithError("the driver is not in use");
        return false;
    }
    return true;
}

// Drawing is complete once the engine is idle: the bracket waits for it.
void Finish() {
    SV_beginDirectAccess();
    SV_endDirectAccess();
}

void BM_LibraryClear(benchmark::State& state, Path path) {
    if (!UseLibrary(state, path)) return;
    uint32_t colour = 0;
    for (auto _ : state) {
        SV_clear(++colour & 0xFF);
        Finish();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480);
    SV_restoreMode();
}
BENCHMARK_CAPTURE(BM_LibraryClear, driver, Path::Driver);
BENCHMARK_CAPTURE(BM_LibraryClear, software_banked, Path::SoftwareBanked);
BENCHMARK_CAPTURE(BM_LibraryClear, software_linear, Path::SoftwareLinear);

void BM_LibraryLines(benchmark::State& state, Path path) {
    if (!UseLibrary(state, path)) return;
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i)
            SV_line((i * 37) % 640, (i * 91) % 480, (i * 53 + 300) % 640, (i * 17 + 200) % 480,
                    static_cast<uint32_t>(i & 0xFF));
        Finish();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
    SV_restoreMode();
}
BENCHMARK_CAPTURE(BM_LibraryLines, driver, Path::Driver)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LibraryLines, software_banked, Path::SoftwareBanked)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LibraryLines, software_linear, Path::SoftwareLinear)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
