// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/childprocess.h"

#include <QDeadlineTimer>
#include <QList>
#include <memory>
#include <vector>

// Waits on many child processes at once, from one thread: each child has a
// deadline of its own (at which its group is killed), and wait() hands back
// those that have ended, in whatever order they end. A child that could not
// be started ends at once, as NotStarted.
class ChildWatch
{
public:
    struct Ended {
        quint64 id; // the caller's, given to add()
        ChildOutcome outcome;
    };

    ChildWatch() = default;
    ChildWatch(const ChildWatch &) = delete;
    ChildWatch &operator=(const ChildWatch &) = delete;

    void add(quint64 id, std::unique_ptr<ChildProcess> child, QDeadlineTimer deadline);
    qsizetype size() const { return qsizetype(m_children.size()); }

    // Waits until at least one child has ended, `until` has passed, or
    // `wakeFd` (when not -1) is readable, and returns the children that have
    // ended (possibly none). The caller empties `wakeFd`.
    QList<Ended> wait(QDeadlineTimer until = QDeadlineTimer(QDeadlineTimer::Forever),
                      int wakeFd = -1);

    // Lets every child still running go on without us (ChildProcess::release).
    void releaseAll();

private:
    struct Entry {
        quint64 id;
        std::unique_ptr<ChildProcess> child;
        QDeadlineTimer deadline;
    };
    QList<Ended> collectEnded();

    std::vector<Entry> m_children;
};
