// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/requestsignal.h"

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

RequestSignal::RequestSignal()
{
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_read = pipe[0];
    m_write = writeEnd = pipe[1];
    struct sigaction action = {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGUSR1, &action, nullptr);
}

void RequestSignal::listen()
{
    if (m_read < 0 || m_notifier)
        return;
    m_notifier = new QSocketNotifier(m_read, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[64];
        while (::read(int(m_read), bytes, sizeof bytes) > 0) {
        }
        emit requested();
    });
}

RequestSignal::~RequestSignal()
{
    if (m_read < 0)
        return;
    ::signal(SIGUSR1, SIG_IGN);
    writeEnd = -1;
    ::close(int(m_read));
    ::close(int(m_write));
}

bool RequestSignal::send(qint64 pid)
{
    return pid > 1 && pid == pid_t(pid) && ::kill(pid_t(pid), SIGUSR1) == 0;
}
