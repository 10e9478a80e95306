// Time source for the adapter's virtual display (retrace cycle).
#pragma once

#include <chrono>

namespace pcemu {

class Clock {
public:
    virtual ~Clock() = default;
    // Time since an arbitrary fixed origin.
    virtual std::chrono::nanoseconds now() = 0;
};

// Real time: the host's steady clock.
class SteadyClock final : public Clock {
public:
    std::chrono::nanoseconds now() override;
};

// Deterministic time for tests and headless runs: every reading advances the
// clock by a fixed step, so a loop that polls the retrace bit always ends.
class ScriptedClock final : public Clock {
public:
    explicit ScriptedClock(std::chrono::nanoseconds stepPerRead = std::chrono::microseconds(10))
        : step_(stepPerRead) {}

    std::chrono::nanoseconds now() override {
        auto t = time_;
        time_ += step_;
        return t;
    }
    void advance(std::chrono::nanoseconds d) { time_ += d; }
    void set(std::chrono::nanoseconds t) { time_ = t; }

private:
    std::chrono::nanoseconds time_{0};
    std::chrono::nanoseconds step_;
};

} // namespace pcemu
