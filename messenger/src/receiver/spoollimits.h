// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// How many messages may come in a time: `count` per `seconds`.
struct Rate {
    int count = 0;
    int seconds = 60;
};

// What a spool takes, and how fast. vesnal-receive takes them as options,
// which vesnal-receiver-setup writes into Samba's message command; these
// are the values without options.
struct SpoolLimits {
    qint64 maxRecords = 1000;
    qint64 maxBytes = 16 * 1024 * 1024;
    Rate sender{20, 60}; // per sender name, and per sender address
    Rate total{60, 60};  // all senders together
};
