// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/spoollock.h"

SpoolLock::SpoolLock(const OpenFolder &spool, int waitMs) : m_lock(spool, ".lock", waitMs)
{
    switch (m_lock.problem()) {
    case FolderLock::Problem::None:
        break;
    case FolderLock::Problem::CannotOpen:
        m_error = QStringLiteral("cannot open the spool's lock: %1").arg(m_lock.why());
        break;
    case FolderLock::Problem::CannotTake:
        m_error = QStringLiteral("cannot take the spool's lock: %1").arg(m_lock.why());
        break;
    case FolderLock::Problem::NotFree:
        m_error = QStringLiteral("the spool's lock was not free within %1 s").arg(waitMs / 1000.0);
        break;
    }
}
