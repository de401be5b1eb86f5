// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folderlock.h"

#include "platform/linux/descriptors.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>

FolderLock::FolderLock(const OpenFolder &folder, const QByteArray &name, int waitMs)
{
    const int dir = int(folder.m_handle);
    const int fd = ::openat(dir, name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    m_handle = fd;
    if (fd >= 0)
        giveToFolderOwner(dir, fd);
    if (fd < 0 || ::fchmod(fd, 0600) != 0) {
        m_problem = Problem::CannotOpen;
        m_why = errorText();
        return;
    }
    // Polled, so that the wait has a bound; a process holds the lock for a
    // few milliseconds.
    const QDeadlineTimer deadline(waitMs);
    for (int pauseUs = 500;; pauseUs = std::min(pauseUs * 2, 20000)) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            m_problem = Problem::CannotTake;
            m_why = errorText();
            return;
        }
        if (deadline.hasExpired()) {
            m_problem = Problem::NotFree;
            return;
        }
        ::usleep(pauseUs);
    }
}

FolderLock::~FolderLock()
{
    if (m_handle >= 0)
        ::close(int(m_handle)); // lets the lock go
}
