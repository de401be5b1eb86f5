// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "receiver/ratebuckets.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class OpenFolder;

// Messages vesnal-receive refused from one sender for one reason.
struct Refusal {
    enum Reason { TooFast, SpoolFull, TooLarge };
    Reason reason = TooFast;
    QString sender;  // as Samba passes it; "*" stands for every sender beyond the table
    QString address; // empty when the message command does not pass it
    qint64 count = 0;
    QDateTime first, last; // UTC
};

// What vesnal-receive keeps between its runs, in the spool's file "state"
// (written whole under a temporary name and renamed, so readers never see
// half of it; only a run that holds the spool's lock writes it):
//
//   Vesnal-State: 1
//   Pruned: 2026-12-07T09:15:03.250Z
//   Records: 120
//   Bytes: 151230
//   Bucket: <ms since 1970>\t<level>\t<count>\t<seconds>\t<key>
//   Refused: rate|full|size\t<count>\t<first>\t<last>\t<sender>\t<address>
//
// The spool's size as counted at the last pruning and kept up to date by
// every run since, so that no run has to list the spool; the senders' rate
// buckets; and the refusals, which vesnal-popup shows.
struct SpoolState {
    static constexpr const char *FileName = "state";
    static constexpr int MostBuckets = 512;
    static constexpr int MostRefusals = 64; // senders; more are counted as "*"

    QDateTime pruned; // invalid: never, so the next run counts the spool
    qint64 records = 0;
    qint64 bytes = 0;
    RateBuckets buckets;
    QList<Refusal> refusals;

    // Counts one refused message.
    void refuse(Refusal::Reason reason, const QString &sender, const QString &address,
                const QDateTime &now);
    // Drops refusals whose last one is older than `limit`.
    void forgetBefore(const QDateTime &limit);

    QByteArray serialize(const QDateTime &now) const;
    // The state held in `bytes`; what is not readable in them is left out
    // (a broken file reads as a spool never pruned, which is then counted).
    static SpoolState parse(const QByteArray &bytes);

    // The state file of the spool folder held open as `spool`; an empty
    // state when there is none.
    static SpoolState load(const OpenFolder &spool);
    bool save(const OpenFolder &spool, const QDateTime &now, QString *why) const;
    // The state file of the spool at `spoolPath`, for a reader that takes no
    // lock; nothing (and *why) when it cannot be read.
    static std::optional<SpoolState> read(const QString &spoolPath, QString *why);
};
