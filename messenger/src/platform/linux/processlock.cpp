// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/processlock.h"

#include "platform/linux/descriptors.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>

ProcessLock::Result ProcessLock::take(const QString &path, const QByteArray &contents, QString *why)
{
    // Deliberately never closed: the lock lives as long as the process.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *why = QStringLiteral("%1: %2").arg(path, errorText());
        return Result::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        if (::ftruncate(fd, 0) == 0)
            (void)!::pwrite(fd, contents.constData(), size_t(contents.size()), 0);
        return Result::Held;
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK)
        return Result::TakenByOther;
    *why = QStringLiteral("%1: %2").arg(path, errorText(error));
    return Result::Unavailable;
}
