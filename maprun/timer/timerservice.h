#pragma once
// Periodic timers on a thread of their own, standing in for the system's
// multimedia timer: Start() runs a callback once per period on a timer thread
// until Kill(); after Kill() returns no further callback runs. Kill() may be
// called from any thread, also from a timer's own callback.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace maprun {

// Milliseconds of a steady clock (wraps like the 32-bit system counter).
uint32_t timeGetTime();

class TimerService {
public:
    // Receives the number of periods that elapsed since the previous call (at
    // least 1): a timer thread that was held up passes on the periods it missed.
    using Callback = std::function<void(int periods)>;

    virtual ~TimerService() = default;
    // Returns an identifier, or 0 when no timer could be started.
    virtual unsigned Start(int periodMs, int resolutionMs, Callback callback) = 0;
    virtual void Kill(unsigned id) = 0;
};

// What the timer threads count elapsed periods by.
using TimerClock = std::function<std::chrono::steady_clock::time_point()>;

// The real service: one std::thread per timer. Elapsed periods are counted
// from `clock` (the steady clock when empty) since the timer started, so none
// are lost however late a thread wakes.
std::unique_ptr<TimerService> MakeThreadTimerService(TimerClock clock = {});

} // namespace maprun
