#include "maprun/timer/timerservice.h"

#include <chrono>
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

    PeriodicThread(int periodMs, std::function<void()> callback) {
        thread = std::thread([state = state, periodMs, cb = std::move(callback)] {
            auto period = std::chrono::milliseconds(periodMs);
            auto next = Clock::now() + period;
            std::unique_lock lock(state->mutex);
            while (!state->wake.wait_until(lock, next, [&] { return state->stop; })) {
                lock.unlock();
                cb();
                lock.lock();
                next += period;
                // A thread that fell far behind (suspended machine) does not burst.
                auto now = Clock::now();
                if (now - next > 10 * period) next = now + period;
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
    unsigned Start(int periodMs, int /*resolutionMs*/, std::function<void()> callback) override {
        if (periodMs <= 0) return 0;
        try {
            auto timer = std::make_unique<PeriodicThread>(periodMs, std::move(callback));
            unsigned id = ++lastId_;
            if (id == 0) id = ++lastId_;
            timers_[id] = std::move(timer);
            return id;
        } catch (const std::system_error&) {
            return 0;
        }
    }
    void Kill(unsigned id) override { timers_.erase(id); }

private:
    std::map<unsigned, std::unique_ptr<PeriodicThread>> timers_;
    unsigned lastId_ = 0;
};

} // namespace

std::unique_ptr<TimerService> MakeThreadTimerService() {
    return std::make_unique<ThreadTimerService>();
}

} // namespace maprun
