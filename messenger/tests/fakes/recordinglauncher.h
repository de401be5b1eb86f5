// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/processlauncher.h"

#include <QStringList>

// Records every command line; fails the starts whose index is in `failing`
// (or every start with failAll). Task n (from 0) is 1000 + n; end() plays
// its outcome to the window at once.
class RecordingLauncher : public ProcessLauncher
{
public:
    qint64 start(const QString &commandLine) override
    {
        commands.append(commandLine);
        const bool fails = failAll || failing.contains(commands.size() - 1);
        return fails ? 0 : 1000 + commands.size() - 1;
    }
    void setOutcomeHandler(QObject *, OutcomeHandler h) override { handler = std::move(h); }

    // How task `index` ended: by itself with `status` and these reason
    // lines, or (status -1) crashed or killed.
    static TaskOutcome outcome(int index, int status, const QStringList &reasonLines = {})
    {
        TaskOutcome outcome{1000 + index, status >= 0, status, {}};
        for (const QString &line : reasonLines)
            outcome.reasons.append(DeliveryReason::parse(line).value());
        return outcome;
    }
    void end(int index, int status, const QStringList &reasonLines = {})
    {
        if (handler)
            handler(outcome(index, status, reasonLines));
    }

    QStringList commands;
    QList<int> failing;
    bool failAll = false;
    OutcomeHandler handler;
};
