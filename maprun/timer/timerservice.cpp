#include "maprun/timer/timerservice.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

namespace maprun {

using Clock = std::chrono::steady_clock;

uint32_t timeGetTime() {
    auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
    return static_cast<uint32_t>(ms.count());
}

namespace {

// The thread owns its wake-up state together with the object, so a timer that
// is killed from its own callback can let the thread finish on its own.
struct PeriodicThread {
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        bool stop = false;
    };
    std::shared_ptr<State> state = std::make_shared<State>();
    std::thread thread;

    PeriodicThread(int periodMs, TimerService::Callback callback, TimerClock clock) {
        const Clock::time_point start = clock();
        thread = std::thread([state = state, periodMs, start, clock = std::move(clock),
                              cb = std::move(callback)] {
            const auto period =
                std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(periodMs));
            int64_t delivered = 0; // periods since start passed to the callback
            std::unique_lock lock(state->mutex);
            for (;;) {
                // Sleeps until the next period is due by `clock`; a clock that
                // jumped ahead (a stalled thread) is read again on waking.
                const auto due = start + (delivered + 1) * period;
                const auto wait = std::max(due - clock(), Clock::duration::zero());
                if (state->wake.wait_for(lock, wait, [&] { return state->stop; })) return;
                const int64_t elapsed = (clock() - start) / period;
                if (elapsed <= delivered) continue;
                const auto periods =
                    static_cast<int>(std::min<int64_t>(elapsed - delivered, INT_MAX));
                delivered += periods;
                lock.unlock();
                cb(periods);
                lock.lock();
            }
        });
    }
    ~PeriodicThread() {
        {
            std::lock_guard lock(state->mutex);
            state->stop = true;
        }
        state->wake.notify_all();
        if (std::this_thread::get_id() == thread.get_id())
            thread.detach();
        else
            thread.join();
    }
};

class ThreadTimerService : public TimerService {
public:
    explicit ThreadTimerService(TimerClock clock) : clock_(std::move(clock)) {
        if (!clock_) clock_ = [] { return Clock::now(); };
    }
    ~ThreadTimerService() override {
        std::map<unsigned, std::unique_ptr<PeriodicThread>> timers;
        {
            std::lock_guard lock(mutex_);
            timers.swap(timers_);
        }
    }

    unsigned Start(int periodMs, int /*resolutionMs*/, Callback callback) override {
        if (periodMs <= 0) return 0;
        try {
            auto timer = std::make_unique<PeriodicThread>(periodMs, std::move(callback), clock_);
            std::lock_guard lock(mutex_);
            unsigned id = ++lastId_;
            if (id == 0) id = ++lastId_;
            timers_[id] = std::move(timer);
            return id;
        } catch (const std::system_error&) {
            return 0;
        }
    }

    // The entry leaves the table under the lock; its thread is stopped after
    // the lock is released, so a callback that kills a timer (its own or
    // another) while this waits for its thread cannot deadlock.
    void Kill(unsigned id) override {
        std::unique_ptr<PeriodicThread> timer;
        {
            std::lock_guard lock(mutex_);
            auto it = timers_.find(id);
            if (it == timers_.end()) return;
            timer = std::move(it->second);
            timers_.erase(it);
        }
    }

private:
    TimerClock clock_;
    std::mutex mutex_;
    std::map<unsigned, std::unique_ptr<PeriodicThread>> timers_;
    unsigned lastId_ = 0;
};

} // namespace

std::unique_ptr<TimerService> MakeThreadTimerService(TimerClock clock) {
    return std::make_unique<ThreadTimerService>(std::move(clock));
}

} // namespace maprun
