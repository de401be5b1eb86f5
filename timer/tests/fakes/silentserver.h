// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

// A Unix socket that takes connections and never answers them: a sound
// server that has stalled. PULSE_SERVER=unix:PATH points a client at it.
class SilentServer
{
public:
    explicit SilentServer(const QString &path)
    {
        const QByteArray name = path.toLocal8Bit();
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        if (size_t(name.size()) >= sizeof address.sun_path)
            return;
        qstrcpy(address.sun_path, name.constData());
        m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_listener >= 0 &&
            (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
             ::listen(m_listener, 8) != 0)) {
            ::close(m_listener);
            m_listener = -1;
        }
    }
    ~SilentServer()
    {
        for (int fd : m_taken)
            ::close(fd);
        if (m_listener >= 0)
            ::close(m_listener);
    }
    SilentServer(const SilentServer &) = delete;
    SilentServer &operator=(const SilentServer &) = delete;

    bool listening() const { return m_listener >= 0; }
    // Takes a connection that arrives within `ms` (and any others waiting);
    // returns how many it has taken in all. The connections stay open, unread.
    int take(int ms)
    {
        pollfd p{m_listener, POLLIN, 0};
        while (m_listener >= 0 && ::poll(&p, 1, ms) == 1) {
            const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                break;
            m_taken.push_back(fd);
            ms = 0;
        }
        return int(m_taken.size());
    }

private:
    int m_listener = -1;
    std::vector<int> m_taken;
};
