// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// An exclusive lock on a file, held until the process ends: the system
// drops it then, also after a crash. One process at a time holds it.
namespace ProcessLock
{

enum class Result { Held, TakenByOther, Unavailable };

// Takes the lock on the file `path` (made for its owner only when missing;
// never through a symbolic link) and writes `contents` into the file, where
// another process may read them; *why tells what made it Unavailable.
Result take(const QString &path, const QByteArray &contents, QString *why);

} // namespace ProcessLock
