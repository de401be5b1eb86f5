// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <sys/types.h>

// Keeps one agent per user: an exclusive lock on a file in the user's
// runtime folder, held until the process ends (the kernel drops it then,
// also after a crash).
namespace SessionLock
{

enum class Result { Held, TakenByOther, Unavailable };

// $XDG_RUNTIME_DIR/vesnal-popup.lock, or beside the shown state without one.
QString defaultPath(const QString &stateFile);

// Takes the lock on `path` for the rest of the process, and writes this
// process's id into it; *why tells what made it Unavailable.
Result take(const QString &path, QString *why);

// The process that holds the lock on `path`, as it wrote itself there; 0
// when that cannot be read.
pid_t holder(const QString &path);

} // namespace SessionLock
