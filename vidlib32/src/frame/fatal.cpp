#include "frame/fatal.h"

#include <cstdio>
#include <cstdlib>

namespace vidlib32 {

void FatalError(const char* caption, const char* text) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    std::exit(1);
}

void FatalExit() {
    std::exit(1);
}

} // namespace vidlib32
