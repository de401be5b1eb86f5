// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/processlauncher.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

// Follows the tasks of each Send click to their ends. When every task of a
// click has ended and the click is over (its own box was shown), and some
// recipient did not get the message, it hands that click's report text to
// `show`, once. Clicks are independent: a later click does not wait for an
// earlier one.
class SendFollowUp
{
public:
    explicit SendFollowUp(std::function<void(const QString &text)> show) : m_show(std::move(show))
    {
    }

    void beginClick();
    // A task started for a list entry, or an entry whose start failed.
    void started(qint64 task, const QString &entry, bool group);
    void notStarted(const QString &entry);
    void endClick();

    // A task has ended (tasks of clicks long over included).
    void ended(const TaskOutcome &outcome);

private:
    struct Entry {
        QString name;
        bool group = false;
        QStringList lines;
    };
    struct Click {
        QList<Entry> entries; // in list order
        int running = 0;
        bool over = false;
        bool anyStarted = false;
    };
    struct Task {
        int click;
        qsizetype entry;
    };
    void settle(int click);

    std::function<void(const QString &)> m_show;
    std::map<int, Click> m_clicks;
    // A process id can come back for a later task once the first has been
    // reaped; the first one's end is always reported first.
    QHash<qint64, QList<Task>> m_tasks;
    int m_current = -1;
    int m_next = 0;
};
