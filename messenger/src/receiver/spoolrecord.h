// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// One received message as the spool keeps it: a few header lines, an empty
// line, then the text in UTF-8. Header values hold no control, line break or
// bidi control character; the text holds only plain text (see plainText), so
// that neither a viewer nor a terminal showing a record can be misled.
//
//   Vesnal-Message: 1
//   Received: 2026-12-07T10:15:03.250+01:00
//   From: PC_02
//   To: rx-01
//   Address: 10.203.0.2
//
//   text...
//
// Address, the sender's address as Samba gave it, is what a reply goes to;
// records of older versions have none.
struct SpoolRecord {
    QDateTime received; // local time of the receiving computer, with its offset
    QString sender;     // as Samba passes it (a "-" arrives as "_")
    QString destination;
    QString text;
    QString address; // empty when unknown

    // `text` with newlines and tabs kept, CR LF and a lone CR made newlines,
    // and any other control character shown by a visible stand-in (ESC as
    // U+241B, DEL as U+2421, C1 controls as U+FFFD).
    static QString plainText(const QString &text);
    // `value` without the characters a header never holds: controls, line
    // and paragraph separators, bidi controls.
    static QString headerText(QString value);

    QByteArray serialize() const;
    // The record held in `bytes`; nothing (and *why) when they are not one.
    static std::optional<SpoolRecord> parse(const QByteArray &bytes, QString *why);
};
