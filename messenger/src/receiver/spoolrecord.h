// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// One received message as the spool keeps it: a few header lines, an empty
// line, then the text in UTF-8 exactly as it came.
//
//   Vesnal-Message: 1
//   Received: 2026-12-07T10:15:03.250+01:00
//   From: PC_02
//   To: rx-01
//
//   text...
struct SpoolRecord {
    QDateTime received; // local time of the receiving computer, with its offset
    QString sender;     // as Samba passes it (a "-" arrives as "_")
    QString destination;
    QString text;

    QByteArray serialize() const;
    // The record held in `bytes`; nothing (and *why) when they are not one.
    static std::optional<SpoolRecord> parse(const QByteArray &bytes, QString *why);
};
