#include "maprun/ui/timerhost.h"

#include <QCoreApplication>
#include <QEvent>

namespace maprun {

namespace {

const QEvent::Type kTimerEventType =
    static_cast<QEvent::Type>(QEvent::User + TimerHost::kTimerMessage % 1000);

class TimerMessage : public QEvent {
public:
    explicit TimerMessage(int ticks) : QEvent(kTimerEventType), ticks(ticks) {}
    int ticks;
};

} // namespace

TimerHost::TimerHost(QObject* parent) : QObject(parent), service_(MakeThreadTimerService()) {
    timer_ = std::make_unique<TMMTimer>(*service_, [this](int ticks) {
        ++pending_;
        QCoreApplication::postEvent(this, new TimerMessage(ticks));
    });
}

// The timer is stopped (its thread joined) before the object that receives
// its messages goes away.
TimerHost::~TimerHost() {
    timer_.reset();
}

bool TimerHost::event(QEvent* e) {
    if (e->type() == kTimerEventType) {
        --pending_;
        if (timer_) timer_->HandleTimerMessage(static_cast<TimerMessage*>(e)->ticks);
        return true;
    }
    return QObject::event(e);
}

} // namespace maprun
