// SPDX-License-Identifier: GPL-3.0-or-later
// The signal handler only writes the signal number into a pipe (the one
// thing that is safe inside it); a socket notifier reads it in the event loop.
#include "platform/signalwatcher.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
int pipeFds[2] = {-1, -1};
volatile sig_atomic_t quitRequested = 0;
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void onSignal(int number)
{
    const int saved = errno;
    quitRequested = 1;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] ssize_t n = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}
} // namespace

SignalWatcher::SignalWatcher(QObject *parent) : QObject(parent)
{
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    m_listener = notifier;
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        int last = 0;
        while (::read(pipeFds[0], &byte, 1) == 1)
            last = byte;
        if (last)
            emit ended(last);
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &sa, nullptr);
}

bool SignalWatcher::requested()
{
    return quitRequested != 0;
}

SignalWatcher::~SignalWatcher()
{
    struct sigaction sa = {};
    sa.sa_handler = SIG_DFL;
    for (int s : kSignals)
        ::sigaction(s, &sa, nullptr);
    delete m_listener;
    for (int &fd : pipeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}
