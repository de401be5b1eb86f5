// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class QTextStream;

// What Samba's message command runs for each message that reaches this
// computer (arguments: see ReceiveArguments). It keeps the message as one
// record in the spool, or refuses it (too fast, spool full, too large) and
// counts the refusal in the spool's state; either way the message file is
// removed. Its work does not grow with the spool: the spool is listed only
// when it is pruned, once an hour.
namespace Receive
{

enum Status {
    Stored = 0,  // the record is in the spool, the message file is gone
    Failed = 1,  // one line on stderr says why; nothing half-written
    Usage = 2,   // wrong arguments
    Refused = 3, // counted in the spool's state, the message file is gone
};

// The largest message file taken; a WinPopup message holds about 1600 bytes.
inline constexpr qint64 MaxMessageBytes = 64 * 1024;
// The longest wait for another run to let go of the spool's lock.
inline constexpr int LockWaitMs = 5000;
inline constexpr qint64 PruneEverySecs = 3600;

// Runs it for `arguments` (without the program name) into the spool folder
// `spoolPath`, at the time `now`; reasons go to `err`.
int run(const QStringList &arguments, const QString &spoolPath, const QDateTime &now,
        QTextStream &err);

} // namespace Receive
