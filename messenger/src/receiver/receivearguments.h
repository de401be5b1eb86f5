// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "receiver/spoollimits.h"

#include <QString>
#include <QStringList>
#include <optional>

// vesnal-receive's command line, as Samba's message command gives it:
//
//   vesnal-receive [OPTION...] MESSAGE-FILE SENDER DESTINATION... [&]
//
// Samba quotes each word of the command, so the "&" meant to put it in the
// background arrives as a last argument, and a called name with a space in
// it ("RX 01") arrives as several words: they are the destination, joined
// by single spaces. Options, before the message file:
//   --address=ADDRESS        the sender's address (Samba's %I)
//   --max-records=N          the records the spool holds at most
//   --max-size=N[K|M|G]      the bytes its records hold together at most
//   --sender-rate=N/SECONDS  messages per sender name, and per address
//   --total-rate=N/SECONDS   messages of all senders together
struct ReceiveArguments {
    QString messageFile;
    QString sender;
    QString destination;
    QString address;
    SpoolLimits limits;

    // The arguments in `words`; nothing (and *why) when they are not.
    static std::optional<ReceiveArguments> parse(const QStringList &words, QString *why);
};
