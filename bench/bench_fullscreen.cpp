// One fullscreen frame of the runtime on the emulated PC (model BIOS from
// PCEMU_BIOS, default vbe20) at 640 x 400 (draw, four and a bit bank copies,
// raster marker and page flip) and at 320 x 200 (draw and one copy), against
// the draw alone, in one run, on the demo level.
//
// The flip waits for the emulated monitor's vertical retrace (70 Hz, real
// time, two scan lines long), so a whole frame takes at least 14 ms whatever
// the work: the copy and flip are also measured with the flip not waiting
// (the raster marker still waits for two edges of a line's blanking), the
// flip alone at retrace, and a plain memcpy of the frame into video memory
// without the bank window. The ratios printed at the end hold the copy and
// flip to less than half the draw.
#include "maprun/fullscreen/fullscreenunit.h"
#include "maprun/fullscreen/vantorcontrol.h"

#include "demogen/generate.h"
#include "pcemu/machine.h"
#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

using namespace maprun;

namespace {

const std::filesystem::path& DemoDir() {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() /
                 ("zorv_bench_fullscreen_" + std::to_string(::getpid()));
        demo::GenerateDemo(d);
        return d;
    }();
    return dir;
}

// The control object's parts, for timing them one by one.
class BenchControl : public TVantorControlObject {
public:
    using TVantorControlObject::BeginRun;
    using TVantorControlObject::CopyFrame;
    using TVantorControlObject::FlipPage;
};

enum class Work { Draw, Frame, CopyAndFlipNoWait, Copy, FlipAtRetrace, MemcpyToVram };

void Fullscreen(benchmark::State& state, bool hiRes, Work work) {
    StartFullscreenSupport();
    TZorvGame game(hiRes, (DemoDir() / "demo.map").string(), DemoDir());
    game.SetViewPos({1200, 800});
    BenchControl control;
    try {
        control.BeginRun(game);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    for (auto _ : state) {
        switch (work) {
        case Work::Draw:
            game.Advance(1);
            game.Draw();
            break;
        case Work::Frame:
            game.Advance(1);
            game.Draw();
            control.ShowFrame();
            break;
        case Work::CopyAndFlipNoWait:
            control.CopyFrame();
            if (hiRes) control.FlipPage(0);
            break;
        case Work::Copy:
            control.CopyFrame();
            break;
        case Work::FlipAtRetrace:
            if (hiRes) control.FlipPage(1);
            break;
        case Work::MemcpyToVram: // the same bytes into video memory without a window
            std::memcpy(pcemu::TheMachine().space().vram(), game.FrameBuffer().Bits(),
                        static_cast<size_t>(game.FrameBuffer().Width()) *
                            game.FrameBuffer().Height());
            benchmark::ClobberMemory();
            break;
        }
    }
    control.RestoreDesktop();
    const int64_t bytes = int64_t{game.FrameBuffer().Width()} * game.FrameBuffer().Height();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

#define FULLSCREEN_BENCH(name, work)                                                               \
    BENCHMARK_CAPTURE(Fullscreen, name##_640x400, true, work)->Unit(benchmark::kMicrosecond);      \
    BENCHMARK_CAPTURE(Fullscreen, name##_320x200, false, work)->Unit(benchmark::kMicrosecond)

FULLSCREEN_BENCH(Draw, Work::Draw);
FULLSCREEN_BENCH(Frame, Work::Frame);
FULLSCREEN_BENCH(CopyAndFlipNoWait, Work::CopyAndFlipNoWait);
FULLSCREEN_BENCH(Copy, Work::Copy);
FULLSCREEN_BENCH(FlipAtRetrace, Work::FlipAtRetrace);
FULLSCREEN_BENCH(MemcpyToVram, Work::MemcpyToVram);

void PrintRatios(bench::RatioReporter& r) {
    r.Out() << "\nRatios of CPU times from this run (goal: copy and flip < 0.5 x draw):\n";
    for (const std::string size : {"640x400", "320x200"}) {
        const std::string draw = "Fullscreen/Draw_" + size;
        r.Ratio("Fullscreen/CopyAndFlipNoWait_" + size, draw,
                "copy and flip, the flip not waiting: goal < 0.5");
        r.Ratio("Fullscreen/Copy_" + size, draw, "the bank copies alone");
        r.Ratio("Fullscreen/MemcpyToVram_" + size, draw,
                "the same bytes copied without the window");
        r.Ratio("Fullscreen/Frame_" + size, draw,
                "the whole frame, the flip waiting for the retrace");
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::RatioReporter reporter(PrintRatios);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::error_code ec;
    std::filesystem::remove_all(DemoDir(), ec);
    benchmark::Shutdown();
    return 0;
}
