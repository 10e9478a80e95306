#pragma once
// Frame-rate readouts over the last 73 frames. The readouts assume 72 ticks per
// second: a frame of n ticks ran at 72 / n fps.
#include <array>
#include <optional>
#include <string>

namespace maprun {

class FrameStats {
public:
    static constexpr int kFrames = 73;

    // Records one frame that took `ticks` timer periods.
    void AddFrame(int ticks);

    bool FramesFull() const { return FramesFull_; }
    // "Avg: 72fps" etc. once 73 frames were counted; nothing before.
    std::optional<std::string> AverageText() const;
    std::optional<std::string> BestText() const;
    std::optional<std::string> WorstText() const;

private:
    std::array<int, kFrames> FrameTicks{};
    int FrameIndex = 0;
    bool FramesFull_ = false;
    int sum_ = 0;
    int smallest_ = 1000;
    int largest_ = 0;
};

} // namespace maprun
