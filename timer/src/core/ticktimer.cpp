#include "ticktimer.h"

#include <QElapsedTimer>

TickTimer::TickTimer(QObject *parent, Clock clock) : QObject(parent), clock_(std::move(clock))
{
    if (!clock_) {
        auto since = std::make_shared<QElapsedTimer>();
        since->start();
        clock_ = [since] { return since->elapsed(); };
    }
    wakeUp_.setSingleShot(true);
    wakeUp_.setTimerType(Qt::PreciseTimer);
    connect(&wakeUp_, &QTimer::timeout, this, &TickTimer::wake);
}

void TickTimer::setInterval(int ms)
{
    interval_ = ms;
    restart();
}

void TickTimer::setEnabled(bool on)
{
    enabled_ = on;
    restart();
}

void TickTimer::restart()
{
    ++generation_;
    wakeUp_.stop();
    pendingDelay_ = -1;
    start_ = clock_();
    delivered_ = 0;
    if (enabled_ && interval_ > 0)
        scheduleNext();
}

void TickTimer::scheduleNext()
{
    const qint64 due = start_ + (delivered_ + 1) * interval_;
    pendingDelay_ = std::max<qint64>(0, due - clock_());
    wakeUp_.start(int(pendingDelay_));
}

void TickTimer::wake()
{
    pendingDelay_ = -1;
    if (!enabled_ || interval_ <= 0)
        return;
    const qint64 due = (clock_() - start_) / interval_;
    if (due > delivered_) {
        delivered_ = due; // all ticks missed during a block count as one
        const quint64 before = generation_;
        emit tick();
        // The handler may have stopped or restarted the timer.
        if (generation_ != before || !enabled_)
            return;
    }
    scheduleNext();
}
