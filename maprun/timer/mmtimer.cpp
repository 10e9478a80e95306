#include "maprun/timer/mmtimer.h"

#include <climits>

namespace maprun {

TMMTimer::TMMTimer(TimerService& service, PostMessage post)
    : service_(service), post_(std::move(post)) {}

TMMTimer::~TMMTimer() {
    FEnabled = false;
    UpdateTimer();
}

void TMMTimer::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    UpdateTimer();
}

void TMMTimer::SetInterVal(int value) {
    if (value == FInterVal) return;
    FInterVal = value;
    UpdateTimer();
}

void TMMTimer::SetResolution(int value) {
    if (value == FResolution) return;
    FResolution = value;
    UpdateTimer();
}

void TMMTimer::UpdateTimer() {
    if (FTimerID != 0) {
        service_.Kill(FTimerID); // joins: no callback runs after this
        FTimerID = 0;
    }
    if (FInterVal == 0 || !FEnabled) return;
    FTimerID = service_.Start(FInterVal, FResolution, [this](int periods) { TimerProc(periods); });
    if (FTimerID == 0) throw EOutOfResources("Couldn't Create Timer");
}

void TMMTimer::TimerProc(int periods) {
    // Every elapsed period is counted, also those a late thread passes on at
    // once, so the Ticks of all OnTimer events add up to the periods elapsed.
    FPending = periods > INT_MAX - FPending ? INT_MAX : FPending + periods;
    if (FReady.load(std::memory_order_acquire)) {
        FReady.store(false, std::memory_order_release);
        int ticks = FPending;
        FPending = 0;
        if (post_) post_(ticks);
    }
    for (int i = 0; i < periods; ++i) {
        try {
            DoTick();
        } catch (...) {
            // A tick handler's failure must not stop the timer thread.
        }
    }
}

void TMMTimer::HandleTimerMessage(int ticks) {
    try {
        // A message posted before the timer was stopped is dropped.
        if (Running()) DoTimer(ticks);
    } catch (const std::exception& e) {
        if (OnException) OnException(e);
    }
    FReady.store(true, std::memory_order_release);
}

void TMMTimer::DoTimer(int ticks) {
    if (OnTimer) OnTimer(*this, ticks);
}

void TMMTimer::DoTick() {
    if (OnTick) OnTick(*this);
}

} // namespace maprun
