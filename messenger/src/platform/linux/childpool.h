// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/childprocess.h"
#include "platform/linux/childwatch.h"

#include <QList>
#include <optional>
#include <vector>

// Runs a batch of child processes, at most `parallel` at a time, in the
// order given, all against one deadline: a child still running at the
// deadline is killed with its group (TimedOut), and one that has not started
// by then is never started. So a batch never takes longer than its deadline,
// however many of its children hang. The children run from the start; their
// output is read, and the next ones started, while the thread that made the
// pool waits in take(), in whatever order it takes the outcomes.
class ChildPool
{
public:
    struct Job {
        QString program;
        QStringList arguments;
        ChildProcess::Options options = {};
    };

    ChildPool(QList<Job> jobs, QDeadlineTimer deadline, int parallel);
    // Children still running are killed with their groups.
    ~ChildPool() = default;
    ChildPool(const ChildPool &) = delete;
    ChildPool &operator=(const ChildPool &) = delete;

    // The outcome of job `index` once it has ended; std::nullopt when the
    // deadline passed before it could start (or there is no such job).
    std::optional<ChildOutcome> take(qsizetype index);

private:
    // A job's end: std::nullopt in `outcome` when it never started.
    struct Result {
        bool ended = false;
        std::optional<ChildOutcome> outcome;
    };
    void startMore();

    QList<Job> m_jobs;
    QDeadlineTimer m_deadline;
    int m_parallel;
    qsizetype m_next = 0; // the next job to start
    std::vector<Result> m_results;
    ChildWatch m_watch;
};
