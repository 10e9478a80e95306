// The virtual monitor's timing: 449 lines at 31.5 kHz (about 70 Hz), of which
// 400 are displayed; input status 1 (3DAh) reports it.
#pragma once

#include <chrono>
#include <cstdint>

namespace pcemu {

class Clock;

class DisplayTiming {
public:
    static constexpr int kLines = 449;
    static constexpr int kVisibleLines = 400;
    static constexpr int kRetraceFirst = 412; // vertical retrace lines 412-413
    static constexpr int kRetraceEnd = 414;
    static constexpr int64_t kLineNs = 1'000'000'000 / 31'500;
    static constexpr int64_t kFrameNs = kLineNs * kLines;

    explicit DisplayTiming(Clock& clock) : clock_(clock) {}

    // Bit 3: vertical retrace. Bit 0: display disabled (horizontal or
    // vertical blanking).
    uint8_t status() const;

private:
    Clock& clock_;
};

} // namespace pcemu
