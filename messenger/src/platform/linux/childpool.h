#pragma once

#include "platform/linux/childprocess.h"

#include <QList>
#include <memory>
#include <optional>

// Runs a batch of child processes, at most `parallel` at a time, in the
// order given, all against one deadline: a child still running at the
// deadline is killed with its group (TimedOut), and one that has not started
// by then is never started. So a batch never takes longer than its deadline,
// however many of its children hang. Outcomes are taken in any order, from
// the thread that made the pool.
class ChildPool
{
public:
    struct Job {
        QString program;
        QStringList arguments;
        ChildProcess::Options options = {};
    };

    ChildPool(QList<Job> jobs, QDeadlineTimer deadline, int parallel);
    // Starts nothing more; waits for the children still running, which the
    // deadline bounds.
    ~ChildPool();
    ChildPool(const ChildPool &) = delete;
    ChildPool &operator=(const ChildPool &) = delete;

    // The outcome of job `index` once it has ended; std::nullopt when the
    // deadline passed before it could start (or there is no such job).
    std::optional<ChildOutcome> take(qsizetype index);

private:
    struct State;
    std::shared_ptr<State> m_state;
};
