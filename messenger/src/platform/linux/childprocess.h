// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/childruns.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

#include <sys/types.h>

struct pollfd;

// One program started with posix_spawn, from an argument list and never
// through a shell, in a process group of its own (a Ctrl-C of the
// messenger's terminal does not reach it, and a kill at the deadline takes
// its own children too), with the default signal dispositions. Its standard
// input is the given bytes (then end of file), its output and error are
// captured up to a limit each; what it writes beyond is read and dropped, so
// it never blocks on a full pipe.
//
// finish() may run on any one thread; the object is not shared between
// threads while it runs.
class ChildProcess
{
public:
    struct Options {
        QByteArray input;
        qsizetype outputLimit = 1 << 20;
        bool captureOut = true; // false: standard output goes to /dev/null
    };

    ChildProcess(const QString &program, const QStringList &arguments, Options options);
    ChildProcess(const QString &program, const QStringList &arguments)
        : ChildProcess(program, arguments, Options())
    {
    }
    // A child still running is killed and reaped.
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }

    // Feeds the input and reads the output until the child has ended, or
    // kills its whole group when the deadline passes first (the deadline
    // counts from whenever the caller set it, normally the start). The
    // outcome of a second call is that of the first.
    ChildOutcome finish(QDeadlineTimer deadline);

    // The steps of finish(), for one thread that waits on many children in
    // one poll (ChildWatch): the pipes still open with the events to wait
    // for (at most 3), what a poll found on one of them, and once they are
    // all closed, the reaping without waiting (true once the outcome is
    // final). expire() kills the group and reaps it: the outcome is TimedOut.
    int pollFds(pollfd *fds) const;
    void serve(const pollfd &fd);
    bool pipesClosed() const { return m_in < 0 && m_out < 0 && m_err < 0; }
    bool tryReap();
    void expire();
    bool finished() const { return m_finished; }
    const ChildOutcome &outcome() const { return m_outcome; }

    // Lets the child run on without us: its pipes are closed and it is
    // neither killed nor reaped (the process that adopts it does that).
    void release();

private:
    void killGroup();
    void conclude(int status);

    pid_t m_pid = -1;
    int m_in = -1, m_out = -1, m_err = -1;
    qsizetype m_written = 0;
    Options m_options;
    bool m_finished = false;
    ChildOutcome m_outcome;
};
