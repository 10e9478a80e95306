// svgatest: the graphics library on the emulated PC. The first word names
// the command; each command registers itself (command.h).
#include "arguments.h"
#include "command.h"
#include "environment.h"

#include <cstring>
#include <string>

namespace {

std::string Usage() {
    std::string usage = "usage:";
    for (const svgatest::Command& command : svgatest::Commands())
        usage += std::string(" svgatest ") + command.usage + " |";
    if (usage.back() == '|') usage.pop_back();
    return usage;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return svgatest::Fail(Usage());
    for (const svgatest::Command& command : svgatest::Commands()) {
        if (std::strcmp(argv[1], command.name) != 0) continue;
        svgatest::Arguments arguments;
        std::string error;
        if (!svgatest::ParseArguments(std::vector<std::string>(argv + 2, argv + argc), arguments,
                                      error))
            return svgatest::Fail(error);
        if (!svgatest::RunOnRequestedMachine(arguments, argv))
            return svgatest::Fail("cannot start again with the emulated PC asked for");
        return command.run(arguments);
    }
    return svgatest::Fail("unknown command " + std::string(argv[1]) + "; " + Usage());
}
