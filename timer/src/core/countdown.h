// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ticktimer.h"

#include <QObject>
#include <QString>
#include <cstdint>

// The timed switch's count: a set period counted down once a second by the
// tick timer Timer1. It holds the remaining seconds and says what the
// remaining-time box, the minutes line and a background window's caption
// show; the window shows them.
//
// The figure and the end are counted apart: the count ends when as many
// ticks have passed as the period holds (Proteklo against Zadati_period),
// while the figure falls by one each tick from whatever it showed, which the
// manual switch may have set to 0.
class Countdown : public QObject
{
    Q_OBJECT
public:
    enum class State { Stopped, Counting };

    // The clock drives Timer1 (tests hand in one they move).
    explicit Countdown(QObject *parent = nullptr, TickTimer::Clock clock = {});

    State state() const { return m_state; }
    // Counts a period down (one that period::accepts), the first tick one
    // second from now. Until then the figure is the period as typed ("0005").
    void start(const QString &period);
    // Ends the count before its time.
    void stop();

    // Empty, the period as typed, or the remaining seconds in their shortest
    // form.
    const QString &figure() const { return m_figure; }
    // A refused start shows no figure; the manual switch turns one into 0.
    void clear();
    void zero();

    // The remaining seconds rounded to whole ones (halves to even): the
    // blink and the frame's pattern follow them.
    std::int32_t whole() const;
    // "= 2 min. 4 s" while at least a minute remains, else empty.
    QString minutes() const;
    // A background window's caption: the minutes, else "= 45 s".
    QString caption() const;

signals:
    void figureChanged(const QString &figure);
    // Timer1 ticked and the figure went one down; state() is Stopped after
    // the last tick.
    void ticked();

private:
    void tick();
    void show(const QString &figure);
    double remaining() const { return m_seconds + m_fraction; }

    TickTimer *m_timer;
    State m_state = State::Stopped;
    int m_seconds = 0;
    // A period given with a fraction ("2.5", only by pasting or from a
    // hand-edited setting) keeps it in every figure.
    double m_fraction = 0;
    QString m_figure;
    std::int32_t Zadati_period = 0;
    std::int32_t Proteklo = 0;
};
