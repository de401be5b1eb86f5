#pragma once

#include "platform/processlauncher.h"

#include <QString>

// Starts the delivery helper vesnal-net for each "net send NAME TEXT"
// command line: the helper gets the arguments "send" and everything after
// "net send " as one argument, without any shell. Any other command line is
// refused. The helper is not waited for; a thread of this process reaps it
// when it ends, so no zombie is left behind.
class DeliveryLauncher : public ProcessLauncher
{
public:
    // `helperDir` is the folder of vesnal-net; empty means the folder of the
    // running program.
    explicit DeliveryLauncher(const QString &helperDir = QString());

    qint64 start(const QString &commandLine) override;

    QString helperPath() const { return m_helper; }

private:
    QString m_helper;
};
