#include "pcemu/clock.h"

namespace pcemu {

std::chrono::nanoseconds SteadyClock::now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

} // namespace pcemu
