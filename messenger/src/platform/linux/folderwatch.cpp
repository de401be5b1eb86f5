// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folderwatch.h"

#include <QFile>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

FolderWatch::FolderWatch(QObject *parent) : QObject(parent) {}

FolderWatch::~FolderWatch()
{
    if (m_handle >= 0)
        ::close(int(m_handle));
}

bool FolderWatch::watch(const QString &path)
{
    if (!m_tried) {
        m_tried = true;
        m_handle = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_handle >= 0) {
            m_notifier = new QSocketNotifier(m_handle, QSocketNotifier::Read, this);
            connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatch::readNotices);
        }
    }
    // Files are linked or written into the folder (a creation), or renamed
    // into it.
    const uint32_t events =
        IN_CREATE | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_DONT_FOLLOW;
    if (m_handle >= 0 && m_watch < 0)
        m_watch = ::inotify_add_watch(int(m_handle), QFile::encodeName(path).constData(), events);
    return m_watch >= 0;
}

void FolderWatch::stop()
{
    if (m_watch >= 0)
        ::inotify_rm_watch(int(m_handle), m_watch);
    m_watch = -1;
}

void FolderWatch::readNotices()
{
    alignas(struct inotify_event) char buffer[16384];
    QStringList names;
    bool missed = false, gone = false;
    for (ssize_t n; (n = ::read(int(m_handle), buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < n;) {
            const auto *event = reinterpret_cast<const struct inotify_event *>(buffer + at);
            at += sizeof(struct inotify_event) + event->len;
            if (event->mask & IN_Q_OVERFLOW)
                missed = true;
            if ((event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) &&
                event->wd == m_watch)
                gone = true;
            if (event->len > 0 && event->wd == m_watch)
                names.append(QFile::decodeName(event->name));
        }
    }
    if (gone)
        stop();
    emit noticed(names, missed, gone);
}
