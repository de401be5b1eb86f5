#pragma once

#include "platform/processlauncher.h"

#include <QStringList>

// Records every command line; fails the starts whose index is in `failing`
// (or every start with failAll).
class RecordingLauncher : public ProcessLauncher
{
public:
    qint64 start(const QString &commandLine) override
    {
        const int index = commands.size();
        commands.append(commandLine);
        if (failAll || failing.contains(index))
            return 0;
        return 1000 + index;
    }
    QStringList commands;
    QList<int> failing;
    bool failAll = false;
};
