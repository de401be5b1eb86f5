// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/folderlock.h"

#include <QString>

// The spool's lock. smbd runs vesnal-receive once per message, several side
// by side; a run holds this lock while it reads the state file, decides,
// stores and writes the state, so the runs take turns, on the file ".lock".
class SpoolLock
{
public:
    // Takes the lock of the spool folder held open as `spool`, waiting at
    // most `waitMs` for another run to let it go.
    SpoolLock(const OpenFolder &spool, int waitMs);

    bool held() const { return m_lock.held(); }
    // Why it is not held.
    const QString &error() const { return m_error; }

private:
    FolderLock m_lock;
    QString m_error;
};
