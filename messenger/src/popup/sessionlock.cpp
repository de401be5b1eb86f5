// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/sessionlock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace SessionLock
{

QString defaultPath(const QString &stateFile)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime))
        return runtime + QStringLiteral("/vesnal-popup.lock");
    return QFileInfo(stateFile).absolutePath() + QStringLiteral("/popup.lock");
}

Result take(const QString &path, QString *why)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Deliberately never closed: the lock lives as long as the process.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *why = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return Result::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        // A second start reads it to ask this agent for its list.
        const QByteArray pid = QByteArray::number(::getpid()) + '\n';
        if (::ftruncate(fd, 0) == 0)
            (void)!::pwrite(fd, pid.constData(), pid.size(), 0);
        return Result::Held;
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK)
        return Result::TakenByOther;
    *why = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
    return Result::Unavailable;
}

pid_t holder(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const pid_t pid = file.read(32).trimmed().toInt(&ok);
    return ok ? pid : 0;
}

} // namespace SessionLock
