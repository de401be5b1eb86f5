// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/sendfollowup.h"

#include "net/deliveryreport.h"

void SendFollowUp::beginClick()
{
    m_current = m_next++;
    m_clicks[m_current] = Click();
}

void SendFollowUp::started(qint64 task, const QString &entry, bool group)
{
    Click &click = m_clicks[m_current];
    m_tasks[task].append(Task{m_current, click.entries.size()});
    click.entries.append(Entry{entry, group, {}});
    ++click.running;
    click.anyStarted = true;
}

void SendFollowUp::notStarted(const QString &entry)
{
    m_clicks[m_current].entries.append(Entry{entry, false, {DeliveryReport::notStarted(entry)}});
}

void SendFollowUp::endClick()
{
    const int click = m_current;
    m_current = -1;
    m_clicks[click].over = true;
    settle(click);
}

void SendFollowUp::ended(const TaskOutcome &outcome)
{
    const auto found = m_tasks.find(outcome.task);
    if (found == m_tasks.end())
        return;
    const Task task = found->takeFirst();
    if (found->isEmpty())
        m_tasks.erase(found);
    const auto click = m_clicks.find(task.click);
    if (click == m_clicks.end())
        return;
    Entry &entry = click->second.entries[task.entry];
    entry.lines = DeliveryReport::lines(entry.name, entry.group, outcome);
    --click->second.running;
    settle(task.click);
}

void SendFollowUp::settle(int number)
{
    const auto found = m_clicks.find(number);
    if (found == m_clicks.end() || !found->second.over || found->second.running > 0)
        return;
    const Click click = std::move(found->second);
    m_clicks.erase(found);
    // With nothing started, the click's own box has said so already.
    if (!click.anyStarted)
        return;
    QStringList lines;
    for (const Entry &entry : click.entries)
        lines += entry.lines;
    if (!lines.isEmpty())
        m_show(DeliveryReport::text(lines));
}
