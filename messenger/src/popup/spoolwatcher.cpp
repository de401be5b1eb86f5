// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/spoolwatcher.h"

#include "receiver/spool.h"
#include "receiver/spoolstate.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace
{

const QString Suffix = QStringLiteral(".msg");

} // namespace

SpoolWatcher::SpoolWatcher(const QString &path, int pollMs) : m_path(path)
{
    m_poll.setInterval(pollMs);
    connect(&m_poll, &QTimer::timeout, this, &SpoolWatcher::tryWatch);
}

SpoolWatcher::~SpoolWatcher()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void SpoolWatcher::start()
{
    if (m_fd < 0) {
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd >= 0) {
            m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
            connect(m_notifier, &QSocketNotifier::activated, this, &SpoolWatcher::readNotices);
        }
    }
    tryWatch();
}

void SpoolWatcher::tryWatch()
{
    // Records are linked into the folder (a creation); the state file is
    // renamed into it.
    const uint32_t events =
        IN_CREATE | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_DONT_FOLLOW;
    if (m_fd >= 0 && m_watch < 0)
        m_watch = ::inotify_add_watch(m_fd, QFile::encodeName(m_path).constData(), events);
    if (m_watch >= 0) {
        m_poll.stop();
        emit lost(); // watched from now on: what came before is found by a listing
    } else {
        // No folder yet (this computer may not receive at all), or no
        // notices to be had: look again later, and list what is there.
        if (m_fd < 0)
            emit lost();
        m_poll.start();
    }
}

void SpoolWatcher::unwatch()
{
    if (m_watch >= 0)
        ::inotify_rm_watch(m_fd, m_watch);
    m_watch = -1;
    m_poll.start();
}

void SpoolWatcher::readNotices()
{
    alignas(struct inotify_event) char buffer[16384];
    QStringList ids;
    bool state = false, missed = false, gone = false;
    for (ssize_t n; (n = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < n;) {
            const auto *event = reinterpret_cast<const struct inotify_event *>(buffer + at);
            at += sizeof(struct inotify_event) + event->len;
            if (event->mask & IN_Q_OVERFLOW)
                missed = true;
            if ((event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) &&
                event->wd == m_watch)
                gone = true;
            if (event->len == 0 || event->wd != m_watch)
                continue;
            const QString name = QFile::decodeName(event->name);
            if (name == QLatin1String(SpoolState::FileName))
                state = true;
            else if (name.endsWith(Suffix) && Spool::idTime(name.chopped(Suffix.size())).isValid())
                ids.append(name.chopped(Suffix.size()));
        }
    }
    if (!ids.isEmpty())
        emit recordsAdded(ids);
    if (state)
        emit stateChanged();
    if (gone)
        unwatch(); // the poll watches it again once it is back, and says lost()
    else if (missed)
        emit lost();
}
