#include "command.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace svgatest {
namespace {

// A function-local list: command files register during static
// initialisation, in no particular order.
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

} // namespace

int Fail(const std::string& message) {
    std::fprintf(stderr, "svgatest: %s\n", message.c_str());
    return 1;
}

RegisterCommand::RegisterCommand(const char* name, const char* usage, CommandFunction run) {
    Registry().push_back({name, usage, run});
}

std::vector<Command> Commands() {
    std::vector<Command> commands = Registry();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    return commands;
}

} // namespace svgatest
