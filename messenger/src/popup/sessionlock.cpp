// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/sessionlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    // A second start reads it to ask this agent for its list.
    return ProcessLock::take(path, QByteArray::number(QCoreApplication::applicationPid()) + '\n',
                             why);
}

qint64 holder(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const qint64 pid = file.read(32).trimmed().toLongLong(&ok);
    return ok ? pid : 0;
}

} // namespace SessionLock
