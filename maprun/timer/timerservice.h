#pragma once
// Periodic timers on a thread of their own, standing in for the system's
// multimedia timer: Start() runs a callback once per period on a timer thread
// until Kill(); after Kill() returns no further callback runs.
#include <cstdint>
#include <functional>
#include <memory>

namespace maprun {

// Milliseconds of a steady clock (wraps like the 32-bit system counter).
uint32_t timeGetTime();

class TimerService {
public:
    virtual ~TimerService() = default;
    // Returns an identifier, or 0 when no timer could be started.
    virtual unsigned Start(int periodMs, int resolutionMs, std::function<void()> callback) = 0;
    virtual void Kill(unsigned id) = 0;
};

// The real service: one std::thread per timer with absolute sleep_until deadlines.
std::unique_ptr<TimerService> MakeThreadTimerService();

} // namespace maprun
