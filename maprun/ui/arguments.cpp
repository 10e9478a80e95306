#include "maprun/ui/arguments.h"

namespace maprun {

std::optional<std::string> MapArgument(int argc, char** argv, const ErrorBox& box) {
    if (argc >= 2 && argv[1] && *argv[1]) return std::string(argv[1]);
    box("Error", "Needs a .map file as a parameter ");
    return std::nullopt;
}

} // namespace maprun
