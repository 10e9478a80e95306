// Command-line options shared by the pcdump commands.
#pragma once

#include "pcemu/machine.h"

#include <memory>
#include <string>
#include <vector>

namespace pcdump {

struct Options {
    pcemu::MachineConfig config; // from the environment, then --bios and --vram
    std::string png;             // --png OUT.png
    std::vector<std::string> positional;
};

// Parses everything after the command name. Throws Failure.
Options ParseOptions(const std::vector<std::string>& args, bool allowPng);

// Builds the machine the options describe. Throws Failure.
std::unique_ptr<pcemu::Machine> BuildMachine(const Options& options);

} // namespace pcdump
