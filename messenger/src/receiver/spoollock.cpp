// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/spoollock.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

void giveToSpoolOwner(int dirFd, int fd)
{
    struct stat dir, file;
    if (::geteuid() == 0 && ::fstat(dirFd, &dir) == 0 && ::fstat(fd, &file) == 0 &&
        file.st_uid != dir.st_uid)
        (void)!::fchown(fd, dir.st_uid, dir.st_gid);
}

SpoolLock::SpoolLock(int dirFd, int waitMs)
{
    m_fd = ::openat(dirFd, ".lock", O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (m_fd >= 0)
        giveToSpoolOwner(dirFd, m_fd);
    if (m_fd < 0 || ::fchmod(m_fd, 0600) != 0) {
        m_error = QStringLiteral("cannot open the spool's lock: %1")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    // Polled, so that the wait has a bound; a run holds the lock for a few
    // milliseconds.
    const QDeadlineTimer deadline(waitMs);
    for (int pauseUs = 500;; pauseUs = std::min(pauseUs * 2, 20000)) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            m_held = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            m_error = QStringLiteral("cannot take the spool's lock: %1")
                          .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        if (deadline.hasExpired()) {
            m_error =
                QStringLiteral("the spool's lock was not free within %1 s").arg(waitMs / 1000.0);
            return;
        }
        ::usleep(pauseUs);
    }
}

SpoolLock::~SpoolLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // lets the lock go
}
