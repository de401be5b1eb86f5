// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/childwatch.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>

void ChildWatch::add(quint64 id, std::unique_ptr<ChildProcess> child, QDeadlineTimer deadline)
{
    m_children.push_back(Entry{id, std::move(child), deadline});
}

QList<ChildWatch::Ended> ChildWatch::collectEnded()
{
    QList<Ended> ended;
    auto keep = m_children.begin();
    for (auto it = m_children.begin(); it != m_children.end(); ++it) {
        ChildProcess &child = *it->child;
        if (!child.finished() && it->deadline.hasExpired())
            child.expire();
        else if (!child.finished() && child.pipesClosed())
            child.tryReap();
        if (child.finished())
            ended.append(Ended{it->id, child.outcome()});
        else
            *keep++ = std::move(*it);
    }
    m_children.erase(keep, m_children.end());
    return ended;
}

QList<ChildWatch::Ended> ChildWatch::wait(QDeadlineTimer until, int wakeFd)
{
    std::vector<pollfd> fds;
    for (int pause = 1;; pause = std::min(pause * 2, 20)) {
        QList<Ended> ended = collectEnded();
        // With nothing to wait on, a wait without end would never return.
        if (!ended.isEmpty() || until.hasExpired() ||
            (m_children.empty() && wakeFd < 0 && until.isForever()))
            return ended;

        // Sleep until a pipe moves, the wake-up, the first deadline, or (for
        // a child whose pipes have closed but that has not exited yet) a
        // short pause before the next look.
        QDeadlineTimer next = until;
        bool lingering = false;
        fds.clear();
        if (wakeFd >= 0)
            fds.push_back({wakeFd, POLLIN, 0});
        for (const Entry &e : m_children) {
            pollfd own[3];
            const int n = e.child->pollFds(own);
            fds.insert(fds.end(), own, own + n);
            lingering = lingering || n == 0;
            next = std::min(next, e.deadline);
        }
        int ms = next.isForever() ? -1 : int(std::clamp<qint64>(next.remainingTime(), 0, 60000));
        if (lingering)
            ms = ms < 0 ? pause : std::min(ms, pause);
        else
            pause = 1;
        if (::poll(fds.data(), nfds_t(fds.size()), ms) < 0) {
            // Nothing was read; a short pause keeps the deadlines without spinning.
            if (errno != EINTR)
                ::poll(nullptr, 0, ms < 0 ? 20 : std::clamp(ms, 1, 20));
            continue;
        }
        size_t i = 0;
        if (wakeFd >= 0 && fds[i++].revents)
            return collectEnded();
        for (const Entry &e : m_children) {
            pollfd own[3];
            const int n = e.child->pollFds(own);
            for (int k = 0; k < n; ++k, ++i)
                if (fds[i].revents)
                    e.child->serve(fds[i]);
        }
    }
}

void ChildWatch::releaseAll()
{
    for (Entry &e : m_children)
        e.child->release();
    m_children.clear();
}
