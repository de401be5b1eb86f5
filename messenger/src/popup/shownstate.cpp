// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/shownstate.h"

#include "receiver/spool.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

ShownState::ShownState(const QString &file) : m_file(file)
{
    QFile in(m_file);
    if (!in.open(QIODevice::ReadOnly))
        return; // no file yet: nothing shown
    while (!in.atEnd()) {
        const QString id = QString::fromUtf8(in.readLine()).trimmed();
        if (Spool::idTime(id).isValid())
            m_ids.insert(id);
    }
}

QString ShownState::defaultPath()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/vesnal/shown");
}

bool ShownState::mark(const QStringList &ids, QString *why)
{
    for (const QString &id : ids)
        m_ids.insert(id);
    // A record leaves the spool after KeepDays; its id is kept a day longer.
    const QDateTime limit = QDateTime::currentDateTimeUtc().addDays(-Spool::KeepDays - 1);
    m_ids.removeIf([&](const QString &old) { return Spool::idTime(old) < limit; });
    QStringList sorted(m_ids.begin(), m_ids.end());
    std::sort(sorted.begin(), sorted.end());

    const QString folder = QFileInfo(m_file).absolutePath();
    QSaveFile out(m_file);
    if (!QDir().mkpath(folder) || !out.open(QIODevice::WriteOnly)) {
        *why = QStringLiteral("cannot write %1: %2").arg(m_file, out.errorString());
        return false;
    }
    out.write(sorted.join(u'\n').toUtf8() + '\n');
    if (!out.commit()) {
        *why = QStringLiteral("cannot write %1: %2").arg(m_file, out.errorString());
        return false;
    }
    return true;
}
