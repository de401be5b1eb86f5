// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/processlock.h"

#include <QString>

// Keeps one agent per user: a lock on a file in the user's runtime folder,
// held until the process ends (ProcessLock).
namespace SessionLock
{

using Result = ProcessLock::Result;

// $XDG_RUNTIME_DIR/vesnal-popup.lock, or beside the shown state without one.
QString defaultPath(const QString &stateFile);

// Takes the lock on `path` for the rest of the process, and writes this
// process's id into it; *why tells what made it Unavailable.
Result take(const QString &path, QString *why);

// The process that holds the lock on `path`, as it wrote itself there; 0
// when that cannot be read.
qint64 holder(const QString &path);

} // namespace SessionLock
