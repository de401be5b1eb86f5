// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/childpool.h"

#include <memory>

ChildPool::ChildPool(QList<Job> jobs, QDeadlineTimer deadline, int parallel)
    : m_jobs(std::move(jobs)), m_deadline(deadline), m_parallel(std::max(parallel, 1)),
      m_results(size_t(m_jobs.size()))
{
    startMore();
}

void ChildPool::startMore()
{
    for (; m_next < m_jobs.size() && m_watch.size() < m_parallel; ++m_next) {
        if (m_deadline.hasExpired()) {
            m_results[size_t(m_next)].ended = true; // never started
            continue;
        }
        const Job &job = m_jobs.at(m_next);
        m_watch.add(quint64(m_next),
                    std::make_unique<ChildProcess>(job.program, job.arguments, job.options),
                    m_deadline);
    }
    // Past the deadline nothing more starts, however many slots are free.
    if (m_deadline.hasExpired())
        for (; m_next < m_jobs.size(); ++m_next)
            m_results[size_t(m_next)].ended = true;
}

std::optional<ChildOutcome> ChildPool::take(qsizetype index)
{
    if (index < 0 || index >= m_jobs.size())
        return std::nullopt;
    // Every child ends by the deadline at the latest (killed then), so this
    // wait is bounded by it.
    while (!m_results[size_t(index)].ended) {
        for (ChildWatch::Ended &e : m_watch.wait())
            m_results[size_t(e.id)] = {true, std::move(e.outcome)};
        startMore();
    }
    return m_results[size_t(index)].outcome;
}
