// mkvbeaf's command line.
#pragma once

#include "image.h"

#include <string>
#include <vector>

namespace mkvbeaf {

struct Arguments {
    bool help = false;
    ImageOptions image;
    std::string output;
    std::string error; // set when the command line cannot be used
};

Arguments ParseArguments(const std::vector<std::string>& args);

extern const char kUsage[];

} // namespace mkvbeaf
