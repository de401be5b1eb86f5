// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/spool.h"

#include "platform/openfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace
{

const QString TimeFormat = QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'");
const QString Suffix = QStringLiteral(".msg");
// Names the spool holds: records, and the hidden names they are written under.
const QRegularExpression IdPattern(QStringLiteral("^(\\d{8}T\\d{6}\\.\\d{3}Z)-\\d+-\\d+$"));
const QRegularExpression TempPattern(QStringLiteral("^\\.(.+)\\.tmp$"));
constexpr int Attempts = 100;
constexpr qint64 TempKeptSecs = 3600;

} // namespace

QString Spool::defaultPath()
{
    const QString set = qEnvironmentVariable("VESNAL_SPOOL");
    return set.isEmpty() ? QStringLiteral("/var/spool/vesnal") : set;
}

QDateTime Spool::idTime(const QString &id)
{
    const auto match = IdPattern.match(id);
    if (!match.hasMatch())
        return {};
    QDateTime t = QDateTime::fromString(match.captured(1), TimeFormat);
    t.setTimeSpec(Qt::UTC);
    return t;
}

std::optional<QString> Spool::store(const SpoolRecord &record, const QDateTime &now,
                                    QString *why) const
{
    const OpenFolder folder(m_path);
    if (!folder.isOpen()) {
        *why = QStringLiteral("spool folder %1 cannot be opened: %2").arg(m_path, folder.error());
        return std::nullopt;
    }
    return store(folder, record.serialize(), now, why);
}

std::optional<QString> Spool::store(const OpenFolder &folder, const QByteArray &bytes,
                                    const QDateTime &now, QString *why) const
{
    const QString stem = now.toUTC().toString(TimeFormat) + u'-' +
                         QString::number(QCoreApplication::applicationPid()) + u'-';
    // A name already taken (by a file, a link, anything) is passed over, for
    // the temporary name and the final one alike.
    int n = 1;
    QByteArray temp;
    QString problem;
    auto made = OpenFolder::Made::NameTaken;
    for (; made == OpenFolder::Made::NameTaken && n <= Attempts; ++n) {
        temp = QFile::encodeName(u'.' + stem + QString::number(n) + QStringLiteral(".tmp"));
        made = folder.writeNew(temp, bytes, OpenFolder::Synced, &problem);
    }
    if (made != OpenFolder::Made::Done) {
        *why = made == OpenFolder::Made::NameTaken
                   ? QStringLiteral("no free name in spool folder %1").arg(m_path)
                   : QStringLiteral("cannot write into spool folder %1: %2").arg(m_path, problem);
        return std::nullopt;
    }
    for (--n; n <= Attempts; ++n) {
        const QString id = stem + QString::number(n);
        made = folder.link(temp, QFile::encodeName(id + Suffix), &problem);
        if (made == OpenFolder::Made::Done) {
            folder.remove(temp);
            folder.sync();
            return id;
        }
        if (made == OpenFolder::Made::Failed)
            break;
    }
    *why = n > Attempts
               ? QStringLiteral("no free name in spool folder %1").arg(m_path)
               : QStringLiteral("cannot store into spool folder %1: %2").arg(m_path, problem);
    folder.remove(temp);
    return std::nullopt;
}

std::optional<QStringList> Spool::ids() const
{
    QDir dir(m_path);
    if (!dir.exists() || !dir.isReadable())
        return std::nullopt;
    QStringList ids;
    for (const QString &name :
         dir.entryList({u'*' + Suffix}, QDir::Files | QDir::System | QDir::NoSymLinks)) {
        const QString id = name.chopped(Suffix.size());
        if (IdPattern.match(id).hasMatch())
            ids.append(id);
    }
    ids.sort(); // the UTC time leads, so this is the order of arrival
    return ids;
}

std::optional<SpoolRecord> Spool::load(const QString &id, QString *why) const
{
    if (!IdPattern.match(id).hasMatch()) {
        *why = QStringLiteral("not a record id");
        return std::nullopt;
    }
    const FileContents file =
        readRegularFile(QDir(m_path).filePath(id + Suffix), MaxRecordBytes, Links::Refuse);
    if (file.ok())
        return SpoolRecord::parse(file.bytes, why);
    // Without the system's words it is no regular file, or too large.
    *why = file.why.isEmpty() ? QStringLiteral("not a record file") : file.why;
    return std::nullopt;
}

Spool::Pruned Spool::prune(const QDateTime &now) const
{
    Pruned pruned;
    QDir dir(m_path);
    const QDateTime recordLimit = now.addDays(-KeepDays);
    const QDateTime tempLimit = now.addSecs(-TempKeptSecs);
    const auto entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        QDateTime t;
        QDateTime limit;
        const bool record = name.endsWith(Suffix);
        if (record) {
            t = idTime(name.chopped(Suffix.size()));
            limit = recordLimit;
        } else if (const auto temp = TempPattern.match(name); temp.hasMatch()) {
            t = idTime(temp.captured(1));
            limit = tempLimit;
        }
        // Unlinking removes a link itself, never what it points to.
        if (t.isValid() && t < limit && !dir.remove(name)) {
            pruned.problems.append(QStringLiteral("old record %1 could not be removed").arg(name));
        } else if (record && t.isValid() && t >= limit && entry.isFile() && !entry.isSymLink()) {
            pruned.records += 1;
            pruned.bytes += entry.size();
        }
    }
    return pruned;
}
