// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controlfiles.h"

#include <QDir>
#include <QFile>

namespace ControlFiles
{

QStringList names()
{
    return {QStringLiteral("mscomctl.ocx"), QStringLiteral("RICHTX32.OCX")};
}

void copyMissing(const QString &programDir, const QString &systemDir)
{
    if (systemDir.isEmpty())
        return;
    for (const QString &name : names()) {
        const QString target = QDir(systemDir).filePath(name);
        if (!QFile::exists(target))
            QFile::copy(QDir(programDir).filePath(name), target);
    }
}

QString systemFolder()
{
    return QString();
}

} // namespace ControlFiles
