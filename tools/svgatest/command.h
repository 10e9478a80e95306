#pragma once
// The commands of svgatest: their arguments, how they report a failure, and
// how each registers itself with the dispatch in main.cpp.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace svgatest {

// The command line after the command's name. When a command runs, the
// emulated PC is already the one --bios and --vram ask for (environment.h);
// they are kept here for what a command reports.
struct Arguments {
    std::vector<std::string> positional;
    std::optional<std::string> bios;
    std::optional<uint32_t> vramKB;
    // --accel: SV_init(1), with a VBE/AF driver when one is found (VBEAF_PATH,
    // or VBEAF.DRV in the folder PCEMU_DRIVE_C names).
    bool accel = false;
};

// A command's result: the process's exit code.
using CommandFunction = int (*)(const Arguments& arguments);

// One line on stderr ("svgatest: message"); the exit code 1 to return.
int Fail(const std::string& message);

// A command file defines one of these at namespace scope:
//   const svgatest::RegisterCommand kInfo{"info", "info [--bios NAME] [--vram KB]", RunInfo};
struct RegisterCommand {
    RegisterCommand(const char* name, const char* usage, CommandFunction run);
};

struct Command {
    const char* name;
    const char* usage;
    CommandFunction run;
};
// Every registered command, in the order of their names.
std::vector<Command> Commands();

} // namespace svgatest
