// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A file that root made in the spool folder `dirFd` goes to the folder's
// owner (the guest user), who must open it in later runs.
void giveToSpoolOwner(int dirFd, int fd);

// The spool's lock. smbd runs vesnal-receive once per message, several side
// by side; a run holds this lock while it reads the state file, decides,
// stores and writes the state, so the runs take turns. The lock file
// ".lock" is open to its owner only: another user who could open it could
// take the lock and hold every run up.
class SpoolLock
{
public:
    // Takes the lock of the spool folder open as `dirFd`, waiting at most
    // `waitMs` for another run to let it go.
    SpoolLock(int dirFd, int waitMs);
    ~SpoolLock();
    SpoolLock(const SpoolLock &) = delete;
    SpoolLock &operator=(const SpoolLock &) = delete;

    bool held() const { return m_held; }
    // Why it is not held.
    const QString &error() const { return m_error; }

private:
    int m_fd = -1;
    bool m_held = false;
    QString m_error;
};
