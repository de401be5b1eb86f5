// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Why a recipient did not get a message, as one line of the delivery
// helper's standard error:
//
//   WORD RECIPIENT [FIELD...]: text for a person
//
// WORD is one of ReasonWord below; RECIPIENT is the computer's name ("*" for
// the own workgroup as a whole, "-" when the request named none); the FIELDs
// are the facts the window words its report from. In RECIPIENT and the
// fields a blank, a control character, "%" and ":" are written as %XX (of
// their UTF-8 bytes), so the first ":" ends them and the window never reads
// the text after it. Other lines (a usage hint) are not reasons.
struct DeliveryReason {
    QString word;
    QString recipient;
    QStringList fields;
    QString text;

    QString line() const;
    static std::optional<DeliveryReason> parse(const QString &line);
    // The reasons among the lines of `output` (UTF-8), in their order.
    static QList<DeliveryReason> parseAll(const QByteArray &output);
};

// The reason words. Fields, where a word has them, follow in this order.
namespace ReasonWord
{
// The recipient was not reached; nothing arrived there.
inline const QString NotFound = QStringLiteral("not-found");      // no computer of that name
inline const QString Refused = QStringLiteral("refused");         // it refused the connection
inline const QString Unreachable = QStringLiteral("unreachable"); // no way to it (switched off?)
inline const QString NoSmb1 = QStringLiteral("no-smb1");    // it dropped the message: SMB1 is off
inline const QString Rejected = QStringLiteral("rejected"); // it refused the message; STATUS
inline const QString Timeout = QStringLiteral("timeout");   // no answer [in SECONDS, stopped]
inline const QString Failed = QStringLiteral("failed");     // any other failure; DETAIL
inline const QString BadName = QStringLiteral("bad-name");  // not a NetBIOS name
// "*": the own workgroup WORKGROUP could not be listed, or holds no other computer.
inline const QString GroupUnlisted = QStringLiteral("group-unlisted");
inline const QString GroupEmpty = QStringLiteral("group-empty");
// Nothing was sent to anyone: the message or the settings.
inline const QString Empty = QStringLiteral("empty");       // the text is empty
inline const QString TooLong = QStringLiteral("too-long");  // BYTES LIMIT
inline const QString CodePage = QStringLiteral("codepage"); // CODEPAGE U+XXXX
inline const QString NoSmbclient = QStringLiteral("no-smbclient");
inline const QString BadCodePage = QStringLiteral("bad-codepage"); // NAME
inline const QString BadSender = QStringLiteral("bad-sender");     // this computer's name
inline const QString NoWorkgroup = QStringLiteral("no-workgroup"); // "*" without a workgroup
inline const QString Usage = QStringLiteral("usage");              // bad arguments
} // namespace ReasonWord
