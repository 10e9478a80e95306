#pragma once
// maptool fullscreen MAP OUTDIR [--hires] [--frames N] [--keys KEYS]
// [--assets DIR] [--bios NAME]: the command line, read once by maptool
// (which checks it before it starts the run) and once by the run itself.
#include "maptool/commands.h"

#include <string>
#include <vector>

namespace maptool {

struct FullscreenOptions {
    std::string map;
    std::string outDir;
    bool hiRes = false;
    int frames = 3;
    std::vector<std::string> keys{"esc"}; // as given: the run checks the names
    std::string assets;
    std::string bios = "vbe20";
};

inline constexpr int kMaxFullscreenFrames = 1000;

// Raises UsageError for anything the command does not take.
FullscreenOptions ParseFullscreenOptions(const Arguments& args);

// The program beside maptool that runs on the emulated PC; it takes the
// same arguments.
inline constexpr const char* kFullscreenRunner = "maptool_fullscreen";

} // namespace maptool
