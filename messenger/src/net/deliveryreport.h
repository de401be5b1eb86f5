// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/processlauncher.h"

#include <QString>
#include <QStringList>

// What the user reads about recipients that did not get a message: plain
// Serbian lines made from the helper's exit status and reason lines, by
// the reasons' table (platform/deliveryreason.h).
namespace DeliveryReport
{

// The line for one reason about `name` (a recipient or a list entry).
QString line(const QString &name, const DeliveryReason &reason);

// The lines for one task, none when every recipient got the message.
// `entry` is the list entry it was started for; `group` tells that the
// entry stands for the own workgroup ("*").
QStringList lines(const QString &entry, bool group, const TaskOutcome &outcome);

// The line for an entry whose task could not be started.
QString notStarted(const QString &entry);

// The report's text: a heading, then each line once, in order.
QString text(const QStringList &lines);

} // namespace DeliveryReport
