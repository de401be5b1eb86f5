// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// A window timer: ticks every interval while enabled (and the interval is
// above zero), counting from the moment it was enabled.
//
// Ticks are held against a monotonic clock rather than chained one after the
// other, so a late tick does not push the later ones back: tick k falls due
// at start + k * interval. A tick that falls due while the thread is blocked
// is delivered as soon as the thread is free; several that fall due during
// one block are delivered as one, and the following ones keep their times.
class TickTimer : public QObject
{
    Q_OBJECT
public:
    // Milliseconds of a monotonic clock; the default is QElapsedTimer's.
    using Clock = std::function<qint64()>;

    explicit TickTimer(QObject *parent = nullptr, Clock clock = {});

    int interval() const { return m_interval; }
    // Changing the interval of an enabled timer restarts its count.
    void setInterval(int ms);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool on);
    // Milliseconds since the timer was last enabled (or its interval set).
    qint64 sinceStart() const { return m_clock() - m_start; }

    // Called when the wake-up timer fires; public so that tests driving a fake
    // clock can wake the timer themselves.
    void wake();
    // Delay of the pending wake-up, -1 when none is pending.
    qint64 pendingDelay() const { return m_pendingDelay; }

signals:
    void tick();

private:
    void restart();
    void scheduleNext();

    Clock m_clock;
    QTimer m_wakeUp;
    int m_interval = 0;
    bool m_enabled = true;
    qint64 m_start = 0;
    qint64 m_delivered = 0;
    qint64 m_pendingDelay = -1;
    quint64 m_generation = 0;
};
