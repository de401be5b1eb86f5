#include "platform/linux/childpool.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

struct ChildPool::State {
    QList<Job> jobs;
    QDeadlineTimer deadline;
    std::mutex mutex;
    std::condition_variable ended;
    qsizetype next = 0; // the next job to start
    bool stop = false;
    std::vector<std::optional<ChildOutcome>> outcomes;
    std::vector<std::thread> workers;

    void work()
    {
        for (;;) {
            qsizetype index;
            {
                std::lock_guard lock(mutex);
                if (stop || next == jobs.size())
                    return;
                index = next++;
            }
            ChildOutcome outcome;
            outcome.end = ChildOutcome::End::TimedOut;
            if (!deadline.hasExpired()) {
                const Job &job = jobs.at(index);
                ChildProcess child(job.program, job.arguments, job.options);
                outcome = child.finish(deadline);
            }
            std::lock_guard lock(mutex);
            outcomes[size_t(index)] = std::move(outcome);
            ended.notify_all();
        }
    }
};

ChildPool::ChildPool(QList<Job> jobs, QDeadlineTimer deadline, int parallel)
    : m_state(std::make_shared<State>())
{
    State &s = *m_state;
    s.jobs = std::move(jobs);
    s.deadline = deadline;
    s.outcomes.resize(size_t(s.jobs.size()));
    const qsizetype workers = std::min<qsizetype>(std::max(parallel, 1), s.jobs.size());
    for (qsizetype i = 0; i < workers; ++i)
        s.workers.emplace_back([state = m_state] { state->work(); });
}

ChildPool::~ChildPool()
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stop = true;
    }
    for (auto &worker : m_state->workers)
        worker.join();
}

ChildOutcome ChildPool::take(qsizetype index)
{
    State &s = *m_state;
    ChildOutcome timedOut;
    timedOut.end = ChildOutcome::End::TimedOut;
    if (index < 0 || index >= s.jobs.size())
        return timedOut;
    // A child ends by the deadline at the latest; killing and reaping it
    // takes a moment more.
    const auto latest = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(s.deadline.remainingTime()) +
                        std::chrono::seconds(2);
    std::unique_lock lock(s.mutex);
    const auto done = [&] { return s.outcomes[size_t(index)].has_value(); };
    if (s.deadline.isForever())
        s.ended.wait(lock, done);
    else if (!s.ended.wait_until(lock, latest, done))
        return timedOut;
    return *s.outcomes[size_t(index)];
}
