#pragma once
// Test support: runs the built svgatest with its output and error text
// captured, under a clean emulated-PC environment.
#include "formats/tests/run_command.h"

#include <string>

namespace svgatest_test {

using ToolResult = testing_support::CommandResult;
using testing_support::FileText;

// `args` go on a shell command line as they are. PCEMU_BIOS and
// PCEMU_VRAM_KB are cleared first, so that only the options choose the PC.
inline ToolResult RunTool(const std::string& args) {
    return testing_support::RunCommand("env -u PCEMU_BIOS -u PCEMU_VRAM_KB '" SVGATEST_EXE "' " +
                                           args,
                                       testing_support::ScratchDir("svgatest_test_"));
}

} // namespace svgatest_test
