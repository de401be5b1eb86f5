// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ticktimer.h"

#include <QElapsedTimer>

TickTimer::TickTimer(QObject *parent, Clock clock) : QObject(parent), m_clock(std::move(clock))
{
    if (!m_clock) {
        auto since = std::make_shared<QElapsedTimer>();
        since->start();
        m_clock = [since] { return since->elapsed(); };
    }
    m_wakeUp.setSingleShot(true);
    m_wakeUp.setTimerType(Qt::PreciseTimer);
    connect(&m_wakeUp, &QTimer::timeout, this, &TickTimer::wake);
}

void TickTimer::setInterval(int ms)
{
    m_interval = ms;
    restart();
}

void TickTimer::setEnabled(bool on)
{
    m_enabled = on;
    restart();
}

void TickTimer::restart()
{
    ++m_generation;
    m_wakeUp.stop();
    m_pendingDelay = -1;
    m_start = m_clock();
    m_delivered = 0;
    if (m_enabled && m_interval > 0)
        scheduleNext();
}

void TickTimer::scheduleNext()
{
    const qint64 due = m_start + (m_delivered + 1) * m_interval;
    m_pendingDelay = std::max<qint64>(0, due - m_clock());
    m_wakeUp.start(int(m_pendingDelay));
}

void TickTimer::wake()
{
    m_pendingDelay = -1;
    if (!m_enabled || m_interval <= 0)
        return;
    const qint64 due = (m_clock() - m_start) / m_interval;
    if (due > m_delivered) {
        m_delivered = due; // all ticks missed during a block count as one
        const quint64 before = m_generation;
        emit tick();
        // The handler may have stopped or restarted the timer.
        if (m_generation != before || !m_enabled)
            return;
    }
    scheduleNext();
}
