// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class QTextStream;

// What Samba's message command runs for each message that reaches this
// computer:   vesnal-receive MESSAGE-FILE SENDER DESTINATION [&]
// It keeps the message as one record in the spool and removes the file.
namespace Receive
{

enum Status {
    Stored = 0, // the record is in the spool, the message file is gone
    Failed = 1, // one line on stderr says why; nothing half-written
    Usage = 2,  // wrong arguments
};

// The largest message file taken; a WinPopup message holds about 1600 bytes.
inline constexpr qint64 MaxMessageBytes = 64 * 1024;

// Runs it for `arguments` (without the program name) into the spool folder
// `spoolPath`, at the time `now`; reasons go to `err`.
int run(const QStringList &arguments, const QString &spoolPath, const QDateTime &now,
        QTextStream &err);

} // namespace Receive
