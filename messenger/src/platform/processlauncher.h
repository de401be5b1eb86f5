// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/deliveryreason.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>

class QObject;

// How one started task ended.
struct TaskOutcome {
    qint64 task = 0;
    // It ended by itself, with exitStatus. False when it crashed, was killed,
    // or ran past the launcher's bound: then nobody knows what it did.
    bool exited = false;
    int exitStatus = -1;
    // Why recipients did not get the message, as the task reported it.
    QList<DeliveryReason> reasons;
};

// Starts one command line as a process of its own, without waiting for it,
// and tells afterwards how each one ended.
class ProcessLauncher
{
public:
    using OutcomeHandler = std::function<void(const TaskOutcome &)>;

    virtual ~ProcessLauncher() = default;

    // The task identifier (the child's process id, never 0) of the started
    // command, or 0 when it could not be started.
    virtual qint64 start(const QString &commandLine) = 0;
    // The same for a reply: the command reaches NAME at `address` only. A
    // launcher that cannot aim at an address starts nothing (0).
    virtual qint64 startAt(const QString &address, const QString &commandLine)
    {
        Q_UNUSED(address);
        Q_UNUSED(commandLine);
        return 0;
    }

    // `handler` learns the outcome of every task that ends from now on, once
    // each, on the thread of `context` (through its event loop), and never
    // after it was replaced. An empty handler stops the reports; set one
    // before `context` is destroyed.
    virtual void setOutcomeHandler(QObject *context, OutcomeHandler handler) = 0;
};
