// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>

// The messages one user has confirmed with "U redu": their record ids, one
// a line, in $XDG_STATE_HOME/vesnal/shown (~/.local/state/vesnal/shown).
class ShownState
{
public:
    explicit ShownState(const QString &file);

    static QString defaultPath();

    bool contains(const QString &id) const { return m_ids.contains(id); }

    // Notes `ids` and saves the file at once (ids older than the spool keeps
    // any record are dropped from it); false (and *why) when it could not
    // be saved: the ids are still held for this run.
    bool mark(const QStringList &ids, QString *why);

    const QString &file() const { return m_file; }

private:
    QString m_file;
    QSet<QString> m_ids;
};
