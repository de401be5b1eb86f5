// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// A sound server that has stalled: a Unix socket whose connections are
// queued and never answered. PULSE_SERVER=unix:PATH points a client at it.
struct SilentServer {
    explicit SilentServer(const QString &path)
        : fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_un a = {};
        a.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        listening = fd >= 0 && size_t(name.size()) < sizeof a.sun_path &&
                    qstrcpy(a.sun_path, name.constData()) &&
                    ::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
                    ::listen(fd, 8) == 0;
    }
    SilentServer(const SilentServer &) = delete;
    ~SilentServer() { ::close(fd); }
    // Whether a client has connected within `ms`; it stays queued, unanswered.
    bool connected(int ms)
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) == 1;
    }
    int fd;
    bool listening;
};
