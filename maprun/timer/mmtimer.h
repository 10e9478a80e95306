#pragma once
// A periodic event on the main thread with tick coalescing: the timer thread
// only counts ticks and hands at most one message at a time to the main thread,
// which learns how many ticks passed since the previous one. A slow consumer
// sees larger tick counts instead of a growing queue.
#include "maprun/timer/timerservice.h"

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>

namespace maprun {

class EOutOfResources : public std::runtime_error {
public:
    explicit EOutOfResources(const std::string& m) : std::runtime_error(m) {}
};

class TMMTimer {
public:
    using TMMTimerEvent = std::function<void(TMMTimer& sender, int ticks)>;
    using TNotifyEvent = std::function<void(TMMTimer& sender)>;
    // Delivers a tick count to the main thread, where HandleTimerMessage() must
    // be called with it. Called on the timer thread.
    using PostMessage = std::function<void(int ticks)>;
    // Receives exceptions that leave OnTimer (the application's handler).
    using ExceptionHandler = std::function<void(const std::exception&)>;

    TMMTimer(TimerService& service, PostMessage post);
    virtual ~TMMTimer();
    TMMTimer(const TMMTimer&) = delete;
    TMMTimer& operator=(const TMMTimer&) = delete;

    bool Enabled() const { return FEnabled; }
    int InterVal() const { return FInterVal; }
    int Resolution() const { return FResolution; }
    bool Running() const { return FTimerID != 0; }
    // Each setter restarts the timer when the value changes; raises
    // EOutOfResources("Couldn't Create Timer") when no timer can be started.
    // Setters belong to the main thread, not to OnTick handlers.
    void SetEnabled(bool value);
    void SetInterVal(int value);
    void SetResolution(int value);

    TMMTimerEvent OnTimer; // main thread
    TNotifyEvent OnTick;   // timer thread, once for every tick
    ExceptionHandler OnException;

    // The main thread's handling of a posted message; nothing is raised for a
    // message that arrives after the timer was stopped.
    void HandleTimerMessage(int ticks);

protected:
    virtual void DoTimer(int ticks);
    virtual void DoTick();

private:
    void UpdateTimer();
    void TimerProc(int periods);

    TimerService& service_;
    PostMessage post_;
    bool FEnabled = true;
    int FInterVal = 1000;
    int FResolution = 1;
    unsigned FTimerID = 0;
    int FPending = 0;               // timer thread only
    std::atomic<bool> FReady{true}; // hand-over flag between the threads
};

} // namespace maprun
