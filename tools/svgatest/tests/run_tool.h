#pragma once
// Test support: runs the built svgatest with its output and error text
// captured, under a clean emulated-PC environment.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace svgatest_test {

struct ToolResult {
    int code = -1;
    std::string out, err;
};

inline std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// `args` go on a shell command line as they are. PCEMU_BIOS and
// PCEMU_VRAM_KB are cleared first, so that only the options choose the PC.
inline ToolResult RunTool(const std::string& args) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("svgatest_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto out = dir / "out", err = dir / "err";
    const std::string command = "env -u PCEMU_BIOS -u PCEMU_VRAM_KB '" SVGATEST_EXE "' " + args +
                                " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    ToolResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
    std::filesystem::remove_all(dir);
    return result;
}

} // namespace svgatest_test
