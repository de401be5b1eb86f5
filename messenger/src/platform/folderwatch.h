// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

class QSocketNotifier;

// The system's notices of the names that appear in one folder (made there,
// or moved into it), so that nobody has to list the folder to learn of them.
class FolderWatch : public QObject
{
    Q_OBJECT
public:
    explicit FolderWatch(QObject *parent = nullptr);
    ~FolderWatch() override;

    // Watches the folder at `path` (not through a symbolic link); false when
    // it cannot: no folder there (yet), or no notices to be had at all.
    bool watch(const QString &path);
    // Whether the system gives notices at all (known once watch() has run).
    bool available() const { return m_handle != -1; }
    void stop();

signals:
    // What one look at the notices found: the names that appeared, in the
    // order they came; whether notices were lost (the system's queue ran
    // over); whether the folder itself went away (removed or moved), after
    // which it is no longer watched.
    void noticed(const QStringList &names, bool missed, bool gone);

private:
    void readNotices();

    qintptr m_handle = -1;
    int m_watch = -1;
    bool m_tried = false;
    QSocketNotifier *m_notifier = nullptr;
};
