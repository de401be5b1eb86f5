// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/countdown.h"

#include "core/numbers.h"

#include <cmath>

Countdown::Countdown(QObject *parent, TickTimer::Clock clock)
    : QObject(parent), m_timer(new TickTimer(this, std::move(clock)))
{
    m_timer->setObjectName("Timer1");
    m_timer->setEnabled(false);
    m_timer->setInterval(1000);
    connect(m_timer, &TickTimer::tick, this, &Countdown::tick);
}

void Countdown::start(const QString &period)
{
    const double value = numbers::valueOf(period);
    Zadati_period = numbers::whole(value);
    Proteklo = 0;
    m_seconds = int(std::floor(value));
    m_fraction = value - m_seconds;
    m_state = State::Counting;
    m_timer->setEnabled(true);
    show(period);
}

void Countdown::stop()
{
    m_state = State::Stopped;
    m_timer->setEnabled(false);
}

void Countdown::clear()
{
    show(QString());
}

void Countdown::zero()
{
    if (m_figure.isEmpty())
        return;
    m_seconds = 0;
    m_fraction = 0;
    show("0");
}

void Countdown::tick()
{
    --m_seconds;
    show(numbers::shortest(remaining()));
    if (++Proteklo >= Zadati_period)
        stop();
    emit ticked();
}

void Countdown::show(const QString &figure)
{
    m_figure = figure;
    emit figureChanged(figure);
}

std::int32_t Countdown::whole() const
{
    return numbers::whole(remaining());
}

QString Countdown::minutes() const
{
    const double r = remaining();
    const auto m = std::int16_t(std::floor(r / 60));
    if (m < 1)
        return {};
    return "= " + QString::number(m) + " min. " + numbers::shortest(r - 60.0 * m) + " s";
}

QString Countdown::caption() const
{
    const QString m = minutes();
    return m.isEmpty() ? "= " + m_figure + " s" : m;
}
