#include "maprun/window/framestats.h"

#include <algorithm>

namespace maprun {

void FrameStats::AddFrame(int ticks) {
    FrameTicks[FrameIndex] = ticks;
    if (++FrameIndex > kFrames - 1) {
        FrameIndex = 0;
        FramesFull_ = true;
    }
    sum_ = 0;
    smallest_ = 1000;
    largest_ = 0;
    for (int t : FrameTicks) {
        sum_ += t;
        smallest_ = std::min(smallest_, t);
        largest_ = std::max(largest_, t);
    }
}

// A zero divisor (a frame of 0 ticks) shows as 0 fps instead of faulting.
static std::string Rate(const char* label, int numerator, int divisor) {
    return std::string(label) + std::to_string(divisor > 0 ? numerator / divisor : 0) + "fps";
}

std::optional<std::string> FrameStats::AverageText() const {
    if (!FramesFull_) return std::nullopt;
    return Rate("Avg: ", 5256, sum_);
}

std::optional<std::string> FrameStats::BestText() const {
    if (!FramesFull_) return std::nullopt;
    return Rate("Best: ", 72, smallest_);
}

std::optional<std::string> FrameStats::WorstText() const {
    if (!FramesFull_) return std::nullopt;
    return Rate("Worst: ", 72, largest_);
}

} // namespace maprun
