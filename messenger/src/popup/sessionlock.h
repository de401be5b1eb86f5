// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Keeps one agent per user: an exclusive lock on a file in the user's
// runtime folder, held until the process ends (the kernel drops it then,
// also after a crash).
namespace SessionLock
{

enum class Result { Held, TakenByOther, Unavailable };

// $XDG_RUNTIME_DIR/vesnal-popup.lock, or beside the shown state without one.
QString defaultPath(const QString &stateFile);

// Takes the lock on `path` for the rest of the process; *why tells what
// made it Unavailable.
Result take(const QString &path, QString *why);

} // namespace SessionLock
