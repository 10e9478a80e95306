#pragma once
// Delivers a TMMTimer's messages on the GUI thread: the timer thread posts an
// event to a hidden object, whose handler passes the tick count on. Events
// still queued when the host is destroyed are dropped with it.
#include "maprun/timer/mmtimer.h"

#include <QObject>

#include <memory>

namespace maprun {

class TimerHost : public QObject {
public:
    explicit TimerHost(QObject* parent = nullptr);
    ~TimerHost() override;

    TMMTimer& Timer() { return *timer_; }
    // Messages posted but not yet handled (at most one).
    int PendingMessages() const { return pending_.load(); }

    static constexpr int kTimerMessage = 0x7800;

protected:
    bool event(QEvent* e) override;

private:
    std::unique_ptr<TimerService> service_;
    std::unique_ptr<TMMTimer> timer_;
    std::atomic<int> pending_{0};
};

} // namespace maprun
