// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/folderwatch.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

// Tells what appears in the spool folder by the names the system's notices
// carry (FolderWatch), so that no change makes anyone list the spool. Until
// the folder exists, and after it went away, it looks for it every `pollMs`.
class SpoolWatcher : public QObject
{
    Q_OBJECT
public:
    SpoolWatcher(const QString &path, int pollMs);

    // Watches the folder (which says lost() at once), or looks for it.
    void start();

signals:
    // New records, by id, in the order the notices came.
    void recordsAdded(const QStringList &ids);
    // The spool's state file was written again.
    void stateChanged();
    // Notices may have been missed (the folder came, came again, or the
    // system's queue ran over): whoever keeps track lists the folder once.
    void lost();

private:
    void tryWatch();
    void noticed(const QStringList &names, bool missed, bool gone);

    QString m_path;
    FolderWatch m_folder;
    QTimer m_poll;
};
