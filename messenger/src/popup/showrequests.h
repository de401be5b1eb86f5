// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <sys/types.h>

class QSocketNotifier;

// A second start of vesnal-popup by the same user (from the session's
// autostart, or "vesnal-popup --list") asks the running agent to show its
// list window: it sends SIGUSR1 to the agent, whose pid the session lock
// holds. The handler only writes to a pipe; the agent hears of it in its
// event loop. One object per process, made before the pid is given out
// (a request that comes before listen() waits in the pipe).
class ShowRequests : public QObject
{
    Q_OBJECT
public:
    ShowRequests();
    ~ShowRequests() override;

    // Says requested() from now on; needs the application object.
    void listen();

    // Asks the agent `pid` to show its list; false when there is none.
    static bool send(pid_t pid);

signals:
    void requested();

private:
    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};
