// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/openfolder.h"

// An exclusive lock, held while the object lives, on the file `name` of an
// open folder, by which processes take turns. The file is made when it is
// missing, open to the folder's owner only (another user who could open it
// could take the lock and hold everyone up); made by root, it goes to the
// folder's owner.
class FolderLock
{
public:
    enum class Problem { None, CannotOpen, CannotTake, NotFree };

    // Waits at most `waitMs` for another process to let the lock go.
    FolderLock(const OpenFolder &folder, const QByteArray &name, int waitMs);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    bool held() const { return m_problem == Problem::None; }
    Problem problem() const { return m_problem; }
    // The system's words, for CannotOpen and CannotTake.
    const QString &why() const { return m_why; }

private:
    qintptr m_handle = -1;
    Problem m_problem = Problem::None;
    QString m_why;
};
