// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

// The system's words for an error number.
inline QString errorText(int error = errno)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A file descriptor closed when it goes out of scope.
struct Fd {
    int fd;
    explicit Fd(int f) : fd(f) {}
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
};

// A file that root made in the folder open as `dirFd` goes to the folder's
// owner, who must open it later.
inline void giveToFolderOwner(int dirFd, int fd)
{
    struct stat dir, file;
    if (::geteuid() == 0 && ::fstat(dirFd, &dir) == 0 && ::fstat(fd, &file) == 0 &&
        file.st_uid != dir.st_uid)
        (void)!::fchown(fd, dir.st_uid, dir.st_gid);
}
