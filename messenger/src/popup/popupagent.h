// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "receiver/spool.h"

#include <QFileSystemWatcher>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QSet>
#include <QStringList>
#include <QTimer>

class PopupWindow;
class ShownState;

// Shows every message of the spool that this user has not confirmed yet,
// each in a window of its own: at most maxOpen at a time, the rest wait
// in order of arrival and follow as windows are confirmed. It learns of new
// records from the file system's notices, and rescans now and then in case
// a notice was missed or the spool appeared only later.
class PopupAgent : public QObject
{
    Q_OBJECT
public:
    struct Options {
        int maxOpen = 10;
        int rescanMs = 5000;
    };

    PopupAgent(const QString &spoolPath, ShownState &shown, Options options);
    PopupAgent(const QString &spoolPath, ShownState &shown)
        : PopupAgent(spoolPath, shown, Options())
    {
    }
    ~PopupAgent() override;

    // The first scan, then watching.
    void start();

    const QList<PopupWindow *> &openWindows() const { return m_open; }
    qsizetype waiting() const { return m_waiting.size(); }

    // Where the window in cascade place `slot` (0 first) puts its top left.
    static QPoint cascadePosition(int slot);

public slots:
    void rescan();

signals:
    void windowShown(PopupWindow *window);

private:
    void showWaiting();
    void finished(PopupWindow *window, bool confirmed);
    void watchSpool();

    Spool m_spool;
    ShownState &m_shown;
    Options m_options;
    QFileSystemWatcher m_watcher;
    QTimer m_rescanTimer;
    QStringList m_waiting;
    // Ids taken in this run (waiting, open, put aside or unreadable): the
    // next scans pass them over.
    QSet<QString> m_taken;
    QList<PopupWindow *> m_open;
    QList<int> m_slots; // cascade place of each open window
    bool m_saveFailed = false;
};
