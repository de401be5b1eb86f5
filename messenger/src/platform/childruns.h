// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// How a child process ended, and what it wrote.
struct ChildOutcome {
    enum class End {
        NotStarted, // the program could not be started
        Exited,     // it ended by itself: exitCode holds its status
        Signalled,  // a signal ended it (a crash, or someone killed it): see signal
        TimedOut,   // it was still running at the deadline and was killed
    };
    End end = End::NotStarted;
    int exitCode = -1;
    int signal = 0;
    QByteArray out; // standard output, at most the output limit
    QByteArray err; // standard error, at most the output limit
    bool outCut = false;
    bool errCut = false;

    bool exitedWith(int code) const { return end == End::Exited && exitCode == code; }
};

// How runEach() runs its children.
struct ChildRuns {
    QByteArray input;                // each one's standard input, then end of file
    qsizetype outputLimit = 1 << 20; // kept of its output, and of its error
    int parallel = 1;                // at most this many at a time
    int timeoutMs = 30000;           // each is stopped, with its own children, after this
};

// Runs `program` once for each of the argument lists, from the list and
// never through a shell, and waits for them all; the outcomes in the order
// of the lists.
QList<ChildOutcome> runEach(const QString &program, const QList<QStringList> &argumentLists,
                            const ChildRuns &runs);
