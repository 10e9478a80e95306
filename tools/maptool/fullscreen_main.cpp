// maptool_fullscreen: the fullscreen run of maptool fullscreen on the
// emulated PC (started by maptool with PCEMU_BIOS set). Writes the scanout
// after each frame as OUTDIR/frame-K.png and what the run did as
// OUTDIR/run.json.
#include "maptool/commands.h"
#include "maptool/failure.h"
#include "maptool/fullscreen_options.h"

#include "maprun/fullscreen/fullscreenunit.h"
#include "maprun/fullscreen/headlesskeys.h"
#include "maprun/fullscreen/headlessrun.h"

#include "pcemu/machine.h"

#include <nlohmann/json.hpp>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

// "esc", "1", or "stopped" when the keys did not end the run.
const char* EndName(const maprun::THeadlessRun& run) {
    if (run.Stopped) return "stopped";
    return run.End == maprun::TRunEnd::Escape ? "esc" : "1";
}

std::string EndText(const maprun::THeadlessRun& run) {
    if (run.Stopped) return "stopped: the keys did not end the run";
    return run.End == maprun::TRunEnd::Escape ? "ended by esc" : "ended by the 1 key";
}

Json RunJson(const maptool::FullscreenOptions& options, const maprun::THeadlessRun& run) {
    Json frames = Json::array();
    for (size_t i = 0; i < run.Frames.size(); ++i) {
        const maprun::TFrameRecord& f = run.Frames[i];
        frames.push_back({{"file", "frame-" + std::to_string(i + 1) + ".png"},
                          {"banks", f.Banks},
                          {"visiblePage", f.VisiblePage},
                          {"activePage", f.ActivePage},
                          {"ticks", f.Ticks}});
    }
    Json events = Json::array();
    for (const VTEventRecord& e : run.Events)
        events.push_back({{"kind", e.Kind},
                          {"scanCode", (e.Code >> 8) & 0xFF},
                          {"char", e.Code & 0xFF},
                          {"x", e.X},
                          {"y", e.Y},
                          {"modifiers", e.Modifiers},
                          {"time", e.Time}});
    return {{"map", options.map},     {"bios", options.bios},
            {"hires", options.hiRes}, {"mode", options.hiRes ? run.Mode : 0x13},
            {"frames", frames},       {"events", events},
            {"ended", EndName(run)}};
}

void WriteOutputs(const maptool::FullscreenOptions& options, const maprun::THeadlessRun& run) {
    const fs::path dir = options.outDir;
    for (size_t i = 0; i < run.Frames.size(); ++i) {
        const fs::path file = dir / ("frame-" + std::to_string(i + 1) + ".png");
        std::string error;
        if (!pcemu::WritePng(file.string(), run.Frames[i].Scanout, &error))
            throw maptool::Failure(file.string() + ": " + error);
    }
    const fs::path json = dir / "run.json";
    std::ofstream out(json, std::ios::binary);
    out << RunJson(options, run).dump(2) << '\n';
    if (!out.flush()) throw maptool::Failure(json.string() + ": cannot be written");
}

void RunFullscreen(const maptool::Arguments& args) {
    const maptool::FullscreenOptions options = maptool::ParseFullscreenOptions(args);
    try {
        maprun::CheckKeyNames(options.keys);
    } catch (const std::invalid_argument& e) {
        throw maptool::UsageError(e.what());
    }
    std::error_code ec;
    fs::create_directories(options.outDir, ec);
    if (!fs::is_directory(options.outDir))
        throw maptool::Failure(options.outDir + ": not a folder that can be written");

    maprun::TZorvGame game(options.hiRes, options.map, options.assets);
    maprun::StartFullscreenSupport();
    maprun::THeadlessScript script;
    script.Frames = options.frames;
    script.Keys = options.keys;
    const maprun::THeadlessRun run = maprun::RunHeadless(game, script);
    WriteOutputs(options, run);
    const maprun::TFrameRecord& last = run.Frames.back();
    std::cout << options.outDir << ": " << run.Frames.size() << " frames of " << last.Scanout.width
              << " x " << last.Scanout.height << ", " << EndText(run) << '\n';
}

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const maptool::Arguments args(argv + 1, argv + argc);
    try {
        RunFullscreen(args);
        return 0;
    } catch (const maptool::UsageError& e) {
        const char* usage = "";
        for (const maptool::Command& c : maptool::Commands())
            if (std::strcmp(c.name, "fullscreen") == 0) usage = c.usage;
        std::cerr << "maptool: " << OneLine(e.what()) << " (usage: maptool fullscreen " << usage
                  << ")\n";
    } catch (const std::exception& e) {
        std::cerr << "maptool: " << OneLine(e.what()) << '\n';
    }
    return 1;
}
