// pcdump: what a video BIOS on the emulated PC reports, and what interrupt
// 10h calls do to the display.
#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace pcdump {

// A failure the user sees as one line "pcdump: <message>".
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Runs `pcdump ARGS...`; the exit code (0, or 1 after one line on err).
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace pcdump
