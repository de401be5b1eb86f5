#pragma once

#include <QString>
#include <QtGlobal>

// Starts one command line as a process of its own, without waiting for it.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;

    // The task identifier (the child's process id, never 0) of the started
    // command, or 0 when it could not be started.
    virtual qint64 start(const QString &commandLine) = 0;
};
