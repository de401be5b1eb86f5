// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "receiver/spoolrecord.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

class OpenFolder;

// The folder where received messages wait for the people of this computer:
// one file per message, named by its id. The id starts with the UTC time of
// arrival, so ids sort by arrival and tell their own age:
//   20261207T091503.123Z-4711-1.msg
// A record is written under a hidden temporary name and then linked to its
// final name, which fails rather than replace anything; files are opened so
// that a symbolic link in the folder is never followed.
class Spool
{
public:
    explicit Spool(const QString &path) : m_path(path) {}

    // $VESNAL_SPOOL when set, else /var/spool/vesnal.
    static QString defaultPath();

    // Records are removed once they are this old.
    static constexpr int KeepDays = 30;
    // The largest record file read back (the message cap plus its header).
    static constexpr qint64 MaxRecordBytes = 64 * 1024 + 4096;

    const QString &path() const { return m_path; }

    // Stores `record` under a new id made from `now`; that id, or nothing
    // (and *why) when the record could not be stored whole.
    std::optional<QString> store(const SpoolRecord &record, const QDateTime &now,
                                 QString *why) const;
    // The same into the spool folder held open as `folder`.
    std::optional<QString> store(const OpenFolder &folder, const QByteArray &bytes,
                                 const QDateTime &now, QString *why) const;

    // The ids of the stored records, oldest first; nothing when the folder
    // cannot be read.
    std::optional<QStringList> ids() const;

    std::optional<SpoolRecord> load(const QString &id, QString *why) const;

    struct Pruned {
        QStringList problems; // one line per file that should have gone and stayed
        qint64 records = 0;   // the records that stay, and their bytes
        qint64 bytes = 0;
    };
    // Removes records older than KeepDays before `now`, and temporary files
    // an interrupted run left behind, and counts what stays. It lists the
    // whole folder: vesnal-receive does it once an hour.
    Pruned prune(const QDateTime &now) const;

    // The arrival time an id carries; invalid for a text that is no id.
    static QDateTime idTime(const QString &id);

private:
    QString m_path;
};
