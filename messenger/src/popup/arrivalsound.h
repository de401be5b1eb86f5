// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QTimer>
#include <functional>

// The sound of a message's arrival: at most one in `gapMs`, however many
// come. `play` starts the sound and must not wait for it; none: silence.
class ArrivalSound
{
public:
    static constexpr int DefaultGapMs = 5000;

    explicit ArrivalSound(std::function<void()> play, int gapMs = DefaultGapMs)
        : m_play(std::move(play)), m_gapMs(gapMs)
    {
    }

    void ring();

private:
    std::function<void()> m_play;
    int m_gapMs;
    QElapsedTimer m_last; // a monotonic clock: a change of the time of day does not count
};

// The freedesktop sound theme's event "message-new-instant", played
// through the desktop's sound server (playThemeEvent) in a child process:
// the sound server's waits have no bound of their own, a stalled server
// held one for 30 s and more, and none of that may reach the agent. The
// child is `program --play-sound`, which gives up after BoundMs and is
// stopped a second later; while one plays, another is not started. No
// sound server, no theme: silence.
class ThemeSound : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *EventId = "message-new-instant";
    static constexpr int BoundMs = 5000;

    explicit ThemeSound(const QString &program, QObject *parent = nullptr);
    void play();

    // The child's work: plays the event and waits for its end, at most
    // BoundMs. The exit status: 0 played, 1 not.
    static int playHere();

private:
    QProcess m_child;
    QTimer m_bound;
    QString m_program;
};
