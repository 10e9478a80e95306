#pragma once
// Reading the command line: the options every command takes.
#include "command.h"

#include <string>
#include <vector>

namespace svgatest {

// --bios NAME, --vram KB and --accel anywhere after the command, the rest in
// order.
// False and a message for an option without its value, a --vram that is
// not a whole number, or an unknown option.
bool ParseArguments(const std::vector<std::string>& words, Arguments& out, std::string& error);

// The KB of a --vram value: decimal digits only.
std::optional<uint32_t> ParseKB(const char* text);

} // namespace svgatest
