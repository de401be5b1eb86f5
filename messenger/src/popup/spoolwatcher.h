// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

class QSocketNotifier;

// Tells what appears in the spool folder by the names the kernel's notices
// carry (inotify), so that no change makes anyone list the spool. Until the
// folder exists, and after it went away, it looks for it every `pollMs`.
class SpoolWatcher : public QObject
{
    Q_OBJECT
public:
    SpoolWatcher(const QString &path, int pollMs);
    ~SpoolWatcher() override;

    // Watches the folder (which says lost() at once), or looks for it.
    void start();

signals:
    // New records, by id, in the order the notices came.
    void recordsAdded(const QStringList &ids);
    // The spool's state file was written again.
    void stateChanged();
    // Notices may have been missed (the folder came, came again, or the
    // kernel's queue ran over): whoever keeps track lists the folder once.
    void lost();

private:
    void tryWatch();
    void readNotices();
    void unwatch();

    QString m_path;
    int m_fd = -1;
    int m_watch = -1;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_poll;
};
