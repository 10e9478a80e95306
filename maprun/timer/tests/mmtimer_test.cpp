#include "maprun/timer/mmtimer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

using namespace maprun;
using namespace std::chrono_literals;

namespace {

// The main thread's message queue, as far as the timer sees it.
class MessageQueue {
public:
    void Post(int ticks) {
        std::lock_guard lock(mutex_);
        queue_.push_back(ticks);
        if (queue_.size() > maxDepth_) maxDepth_ = queue_.size();
        ++posted_;
        wake_.notify_all();
    }
    // Runs the handler for every message arriving within `duration`, or until
    // `done` holds after a message.
    void Pump(
        TMMTimer& timer, std::chrono::milliseconds duration,
        const std::function<bool()>& done = [] { return false; }) {
        auto end = std::chrono::steady_clock::now() + duration;
        std::unique_lock lock(mutex_);
        while (!done() && wake_.wait_until(lock, end, [this] { return !queue_.empty(); })) {
            int ticks = queue_.front();
            queue_.pop_front();
            lock.unlock();
            timer.HandleTimerMessage(ticks);
            lock.lock();
        }
    }
    size_t MaxDepth() {
        std::lock_guard lock(mutex_);
        return maxDepth_;
    }
    int Posted() {
        std::lock_guard lock(mutex_);
        return posted_;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<int> queue_;
    size_t maxDepth_ = 0;
    int posted_ = 0;
};

// A clock that moves only when the test moves it.
class ManualClock {
public:
    TimerClock Function() {
        return [this] { return std::chrono::steady_clock::time_point(now_.load()); };
    }
    void Advance(std::chrono::milliseconds d) { now_ = now_.load() + d; }

private:
    std::atomic<std::chrono::steady_clock::duration> now_{std::chrono::hours(1)};
};

// Records starts and kills; can be told to fail.
class FakeService : public TimerService {
public:
    unsigned Start(int period, int, Callback cb) override {
        if (fail) return 0;
        periods.push_back(period);
        callback = std::move(cb);
        return ++last;
    }
    void Kill(unsigned) override {
        ++kills;
        callback = nullptr;
    }
    bool fail = false;
    std::vector<int> periods;
    Callback callback;
    int kills = 0;
    unsigned last = 0;
};

} // namespace

TEST(MMTimer, SettersRestartOnlyOnChange) {
    FakeService service;
    std::vector<int> posted;
    TMMTimer timer(service, [&](int t) { posted.push_back(t); });
    EXPECT_FALSE(timer.Running()); // created enabled but not started
    timer.SetEnabled(true);        // same value: nothing
    timer.SetInterVal(1000);
    EXPECT_TRUE(service.periods.empty());

    timer.SetInterVal(14);
    EXPECT_EQ(service.periods, std::vector<int>{14});
    timer.SetResolution(1); // unchanged
    EXPECT_EQ(service.periods.size(), 1u);
    timer.SetResolution(2);
    EXPECT_EQ(service.periods.size(), 2u);
    EXPECT_EQ(service.kills, 1);

    timer.SetInterVal(0); // no timer, no error
    EXPECT_FALSE(timer.Running());
    timer.SetEnabled(false);
    timer.SetInterVal(20);
    EXPECT_FALSE(timer.Running());
}

TEST(MMTimer, CoalescesTicksWhileAMessageIsPending) {
    FakeService service;
    std::vector<int> posted;
    TMMTimer timer(service, [&](int t) { posted.push_back(t); });
    int ticks = 0, timerEvents = 0;
    timer.OnTick = [&](TMMTimer&) { ++ticks; };
    timer.OnTimer = [&](TMMTimer&, int t) { timerEvents += t; };
    timer.SetInterVal(14);

    service.callback(1); // posts 1
    service.callback(1); // counted only
    service.callback(1);
    EXPECT_EQ(posted, std::vector<int>{1});
    timer.HandleTimerMessage(posted.back());
    service.callback(1); // posts the 3 ticks since
    EXPECT_EQ(posted, (std::vector<int>{1, 3}));
    EXPECT_EQ(ticks, 4);
    timer.HandleTimerMessage(3);
    EXPECT_EQ(timerEvents, 4);

    // A late timer thread passes on the periods it missed: each is a tick.
    service.callback(50);
    service.callback(2); // counted only
    EXPECT_EQ(posted, (std::vector<int>{1, 3, 50}));
    timer.HandleTimerMessage(50);
    service.callback(1);
    EXPECT_EQ(posted, (std::vector<int>{1, 3, 50, 3}));
    timer.HandleTimerMessage(3);
    EXPECT_EQ(timerEvents, 57);
    EXPECT_EQ(ticks, 57);
}

TEST(MMTimer, FailuresAreReportedAndRecoverable) {
    FakeService service;
    std::vector<int> posted;
    TMMTimer timer(service, [&](int t) { posted.push_back(t); });
    service.fail = true;
    try {
        timer.SetInterVal(14);
        FAIL() << "expected an exception";
    } catch (const EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "Couldn't Create Timer");
    }
    EXPECT_EQ(timer.InterVal(), 14);
    EXPECT_FALSE(timer.Running());
    service.fail = false;
    timer.SetInterVal(15);
    EXPECT_TRUE(timer.Running());

    // A failing OnTimer is reported once and the next tick posts again.
    std::vector<std::string> shown;
    timer.OnException = [&](const std::exception& e) { shown.push_back(e.what()); };
    timer.OnTimer = [](TMMTimer&, int) { throw std::runtime_error("boom"); };
    timer.OnTick = [](TMMTimer&) { throw std::runtime_error("ignored"); };
    service.callback(1);
    timer.HandleTimerMessage(posted.back());
    service.callback(1);
    EXPECT_EQ(shown, std::vector<std::string>{"boom"});
    EXPECT_EQ(posted.size(), 2u);
}

TEST(MMTimerThread, SlowHandlerSeesThreeToFourTicksAndOneMessageAtMost) {
    auto service = MakeThreadTimerService();
    MessageQueue queue;
    std::vector<int> seen;
    {
        TMMTimer timer(*service, [&](int t) { queue.Post(t); });
        timer.OnTimer = [&](TMMTimer&, int ticks) {
            seen.push_back(ticks);
            std::this_thread::sleep_for(50ms);
        };
        timer.SetInterVal(14);
        queue.Pump(timer, 700ms);
        timer.SetEnabled(false);
    }
    ASSERT_GE(seen.size(), 6u);
    EXPECT_EQ(queue.MaxDepth(), 1u);
    // After the first, each message carries the ticks of one 50 ms handler run.
    double sum = 0;
    for (size_t i = 1; i < seen.size(); ++i)
        sum += seen[i];
    double mean = sum / double(seen.size() - 1);
    EXPECT_GE(mean, 2.5);
    EXPECT_LE(mean, 6.0); // a loaded machine oversleeps a little
}

TEST(MMTimerThread, PeriodsOfAStalledThreadAreNotLost) {
    ManualClock clock;
    auto service = MakeThreadTimerService(clock.Function());
    MessageQueue queue;
    std::atomic<int> ticks{0};
    int sum = 0;
    TMMTimer timer(*service, [&](int t) { queue.Post(t); });
    timer.OnTick = [&](TMMTimer&) { ++ticks; };
    timer.OnTimer = [&](TMMTimer&, int t) { sum += t; };
    timer.SetInterVal(14);
    // Three regular periods, one at a time.
    for (int i = 1; i <= 3; ++i) {
        clock.Advance(14ms);
        queue.Pump(timer, 10s, [&] { return sum == i; });
        ASSERT_EQ(sum, i);
    }
    // The thread is held up for 700 ms (50 periods), then 6 ms more pass.
    clock.Advance(700ms);
    clock.Advance(6ms);
    queue.Pump(timer, 10s, [&] { return sum >= 53; });
    EXPECT_EQ(sum, 53);
    // The clock stands still: no period is due, however long the wait.
    queue.Pump(timer, 40ms);
    EXPECT_EQ(sum, 53);
    clock.Advance(8ms); // completes the 54th period
    queue.Pump(timer, 10s, [&] { return sum >= 54; });
    EXPECT_EQ(sum, 54);
    timer.SetEnabled(false);
    EXPECT_EQ(ticks, 54);
}

TEST(MMTimerThread, NoCallbackAfterDestruction) {
    auto service = MakeThreadTimerService();
    std::atomic<int> ticks{0};
    std::atomic<bool> destroyed{false};
    std::atomic<bool> lateCall{false};
    {
        TMMTimer timer(*service, [&](int) {
            if (destroyed) lateCall = true;
        });
        timer.OnTick = [&](TMMTimer&) {
            if (destroyed) lateCall = true;
            ++ticks;
        };
        timer.SetInterVal(2);
        while (ticks < 5)
            std::this_thread::sleep_for(1ms);
    }
    destroyed = true;
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(lateCall);
    uint32_t a = timeGetTime();
    std::this_thread::sleep_for(20ms);
    EXPECT_GE(timeGetTime() - a, 19u);
}

TEST(MMTimerThread, StoppedTimerDropsQueuedMessageAndMayStopItself) {
    auto service = MakeThreadTimerService();
    MessageQueue queue;
    int delivered = 0;
    TMMTimer timer(*service, [&](int t) { queue.Post(t); });
    timer.OnTimer = [&](TMMTimer&, int) { ++delivered; };
    timer.SetInterVal(2);
    while (queue.Posted() == 0)
        std::this_thread::sleep_for(1ms);
    timer.SetEnabled(false);
    queue.Pump(timer, 20ms); // the message queued before the stop
    EXPECT_EQ(delivered, 0);
    timer.SetEnabled(true); // the hand-over flag was given back: posting resumes
    queue.Pump(timer, 60ms);
    EXPECT_GT(delivered, 0);

    // A tick handler that kills its own timer must not wait for itself.
    std::atomic<bool> killed{false};
    std::atomic<unsigned> id{0};
    id = service->Start(1, 1, [&](int) {
        if (id != 0 && !killed.exchange(true)) service->Kill(id);
    });
    while (!killed)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(10ms);
    timer.SetEnabled(false);
}
