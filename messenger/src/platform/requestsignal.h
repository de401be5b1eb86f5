// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// A request that another process of the same user sends this one (on
// Linux the signal SIGUSR1), heard in the event loop. The signal handler
// only writes to a pipe. One object per process, made before the process's
// id is given out: a request that comes before listen() waits in the pipe.
class RequestSignal : public QObject
{
    Q_OBJECT
public:
    RequestSignal();
    // Requests are ignored from then on: a late one must not end the
    // process (as SIGUSR1 does by default).
    ~RequestSignal() override;

    // Says requested() from now on; needs the application object.
    void listen();

    // Sends the request to the process `pid`; false when there is none.
    static bool send(qint64 pid);

signals:
    void requested();

private:
    qintptr m_read = -1, m_write = -1;
    QSocketNotifier *m_notifier = nullptr;
};
