// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/showrequests.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{

int writeEnd = -1;

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    (void)!::write(writeEnd, &byte, 1); // a full pipe already says it
    errno = saved;
}

} // namespace

ShowRequests::ShowRequests()
{
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeEnd = m_pipe[1];
    struct sigaction action = {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGUSR1, &action, nullptr);
}

void ShowRequests::listen()
{
    if (m_pipe[0] < 0 || m_notifier)
        return;
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[64];
        while (::read(m_pipe[0], bytes, sizeof bytes) > 0) {
        }
        emit requested();
    });
}

ShowRequests::~ShowRequests()
{
    if (m_pipe[0] < 0)
        return;
    // The signal is ignored from now on: a late request must not end the
    // process, as SIGUSR1 does by default.
    ::signal(SIGUSR1, SIG_IGN);
    writeEnd = -1;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

bool ShowRequests::send(pid_t pid)
{
    return pid > 1 && ::kill(pid, SIGUSR1) == 0;
}
