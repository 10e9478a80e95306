#include "mapedit/ui/commandline.h"

#include <filesystem>

namespace mapedit::ui {

std::string CommandLineMap(int argc, char** argv) {
    if (argc < 2 || !argv[1] || !*argv[1]) return {};
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(argv[1], ec);
    return ec ? std::string(argv[1]) : full.string();
}

} // namespace mapedit::ui
