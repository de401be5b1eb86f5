// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/processlauncher.h"

#include <QString>
#include <memory>

// Starts the delivery helper vesnal-net for each "net send NAME TEXT"
// command line: the helper gets the arguments "send" and everything after
// "net send " as one argument, without any shell. Any other command line is
// refused. start() does not wait; a thread of the launcher follows every
// helper to its end (or kills it at a generous bound, in case it hangs
// although it bounds itself), reaps it, and hands its exit status and the
// reasons on its standard error to the outcome handler. The helper's
// standard error also goes on to this program's.
//
// A launcher destroyed while helpers run lets them finish on their own.
class DeliveryLauncher : public ProcessLauncher
{
public:
    static constexpr int DefaultBoundMs = 15 * 60 * 1000;

    // `helperDir` is the folder of vesnal-net; empty means the folder of the
    // running program.
    explicit DeliveryLauncher(const QString &helperDir = QString(), int boundMs = DefaultBoundMs);
    ~DeliveryLauncher() override;

    qint64 start(const QString &commandLine) override;
    // "--address=ADDRESS" before "send"; the helper checks the address.
    qint64 startAt(const QString &address, const QString &commandLine) override;
    void setOutcomeHandler(QObject *context, OutcomeHandler handler) override;

    QString helperPath() const { return m_helper; }

private:
    class Follower;
    qint64 launch(QStringList options, const QString &commandLine);

    QString m_helper;
    int m_boundMs;
    std::unique_ptr<Follower> m_follower;
};
