#include "platform/linux/childpool.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

struct ChildPool::State {
    // A job's end: std::nullopt in `outcome` when it never started.
    struct Result {
        bool ended = false;
        std::optional<ChildOutcome> outcome;
    };

    QList<Job> jobs;
    QDeadlineTimer deadline;
    std::mutex mutex;
    std::condition_variable ended;
    qsizetype next = 0; // the next job to start
    bool stop = false;
    std::vector<Result> results;
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
            std::optional<ChildOutcome> outcome;
            if (!deadline.hasExpired()) {
                const Job &job = jobs.at(index);
                ChildProcess child(job.program, job.arguments, job.options);
                outcome = child.finish(deadline);
            }
            std::lock_guard lock(mutex);
            results[size_t(index)] = {true, std::move(outcome)};
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
    s.results.resize(size_t(s.jobs.size()));
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

std::optional<ChildOutcome> ChildPool::take(qsizetype index)
{
    State &s = *m_state;
    if (index < 0 || index >= s.jobs.size())
        return std::nullopt;
    // A child ends by the deadline at the latest; killing and reaping it
    // takes a moment more.
    const auto latest = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(s.deadline.remainingTime()) +
                        std::chrono::seconds(2);
    std::unique_lock lock(s.mutex);
    const auto done = [&] { return s.results[size_t(index)].ended; };
    if (s.deadline.isForever()) {
        s.ended.wait(lock, done);
    } else if (!s.ended.wait_until(lock, latest, done)) {
        ChildOutcome late;
        late.end = ChildOutcome::End::TimedOut;
        return late;
    }
    return s.results[size_t(index)].outcome;
}
