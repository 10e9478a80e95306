// maptool fullscreen: checks the command line, then hands it to the program
// that runs on the emulated PC. The PC is built while that program's
// libraries load, from PCEMU_BIOS, so the BIOS is chosen in its environment.
#include "maptool/commands.h"
#include "maptool/failure.h"
#include "maptool/fullscreen_options.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace maptool {

void Fullscreen(const Arguments& args, std::ostream& out) {
    const FullscreenOptions options = ParseFullscreenOptions(args);
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path runner = self.parent_path() / kFullscreenRunner;
    if (ec || !std::filesystem::is_regular_file(runner, ec))
        throw Failure(std::string(kFullscreenRunner) + " is missing beside maptool");
    if (setenv("PCEMU_BIOS", options.bios.c_str(), 1) != 0)
        throw Failure("cannot choose the BIOS: the environment is full");

    std::vector<std::string> words{runner.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    out.flush();
    std::cout.flush();
    execv(runner.c_str(), argv.data());
    throw Failure("cannot start " + runner.string());
}

} // namespace maptool
