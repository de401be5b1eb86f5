// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// Every reason why a recipient may not get a message, one row each:
//
//   ROW(Name, "word", "FIELDS", Concern, "line", "line without fields", "NT_STATUS_...")
//
// - the word starts the delivery helper's line about it (DeliveryReason below);
// - FIELDS name the facts that follow the recipient on that line, in order
//   ("[X]": it may be left out);
// - Concern: a Recipient's own, or the Message's (its text or the settings,
//   the same for every recipient, so the report says it once and names nobody);
// - the line is what the report says, in Serbian; {X} stands for field X
//   ({BYTES} is counted in Serbian words, {U+XXXX} shows the character).
//   Where the second line is given, it stands when no fields came;
// - the NT_STATUS_ codes are smbclient's words that mean this reason
//   (no-smb1's only after smbclient's "cli_message returned").
//
// The helper writes the words, the window reads them back, and
// vesnal-net(1) documents them (a test holds it to this table).
// clang-format off
#define VESNAL_DELIVERY_REASONS(ROW)                                                               \
    ROW(NotFound, "not-found", "", Recipient, "računar nije pronađen u mreži", "",                 \
        "NT_STATUS_NOT_FOUND NT_STATUS_BAD_NETWORK_NAME NT_STATUS_OBJECT_NAME_NOT_FOUND "          \
        "NT_STATUS_BAD_NETWORK_PATH NT_STATUS_INVALID_COMPUTER_NAME")                              \
    ROW(Refused, "refused", "", Recipient, "računar odbija vezu", "",                              \
        "NT_STATUS_CONNECTION_REFUSED NT_STATUS_PORT_UNREACHABLE NT_STATUS_ACCESS_DENIED")         \
    ROW(Unreachable, "unreachable", "", Recipient, "računar nije dostupan (možda je isključen)",   \
        "", "NT_STATUS_HOST_UNREACHABLE NT_STATUS_NETWORK_UNREACHABLE")                            \
    ROW(NoSmb1, "no-smb1", "", Recipient, "računar ne prima poruke (SMB1 je na njemu isključen)",  \
        "", "NT_STATUS_CONNECTION_DISCONNECTED NT_STATUS_CONNECTION_RESET "                        \
        "NT_STATUS_CONNECTION_ABORTED NT_STATUS_INVALID_NETWORK_RESPONSE "                         \
        "NT_STATUS_NOT_SUPPORTED NT_STATUS_END_OF_FILE")                                           \
    ROW(Rejected, "rejected", "STATUS", Recipient, "računar je odbio poruku", "", "")              \
    ROW(Timeout, "timeout", "[SECONDS]", Recipient, "računar se nije javio za {SECONDS} s",        \
        "računar se nije javio na vreme", "NT_STATUS_IO_TIMEOUT")                                  \
    ROW(Failed, "failed", "DETAIL", Recipient, "slanje nije uspelo ({DETAIL})",                    \
        "poruka nije isporučena", "")                                                              \
    ROW(BadName, "bad-name", "", Recipient, "ime računara nije ispravno", "", "")                  \
    ROW(GroupUnlisted, "group-unlisted", "WORKGROUP", Recipient,                                   \
        "spisak računara grupe {WORKGROUP} nije mogao da se pročita", "", "")                      \
    ROW(GroupEmpty, "group-empty", "WORKGROUP", Recipient,                                         \
        "u grupi {WORKGROUP} nema drugih računara", "", "")                                        \
    ROW(NoWorkgroup, "no-workgroup", "", Recipient, "radna grupa ovog računara nije podešena",     \
        "", "")                                                                                    \
    ROW(Usage, "usage", "", Recipient, "poruka nije isporučena", "", "")                           \
    ROW(Empty, "empty", "", Message, "poruka je prazna", "", "")                                   \
    ROW(TooLong, "too-long", "BYTES LIMIT", Message,                                               \
        "poruka je predugačka: {BYTES}, najviše {LIMIT}", "", "")                                  \
    ROW(CodePage, "codepage", "CODEPAGE U+XXXX", Message,                                          \
        "tekst ima znak koji kodna strana {CODEPAGE} ne može da prenese: {U+XXXX}", "", "")        \
    ROW(NoSmbclient, "no-smbclient", "", Message,                                                  \
        "program smbclient nije instaliran, pa poruka nije poslata", "", "")                       \
    ROW(BadCodePage, "bad-codepage", "NAME", Message,                                              \
        "kodna strana {NAME} nije upotrebljiva (VESNAL_CODEPAGE)", "", "")                         \
    ROW(BadSender, "bad-sender", "", Message,                                                      \
        "ime ovog računara ne može da se koristi kao pošiljalac", "", "")
// clang-format on

enum class Reason {
#define VESNAL_REASON_NAME(name, ...) name,
    VESNAL_DELIVERY_REASONS(VESNAL_REASON_NAME)
#undef VESNAL_REASON_NAME
};

// One row of the table above.
struct ReasonRow {
    enum class Concern { Recipient, Message };

    Reason reason;
    QString word;
    QString fields; // as the table writes them: "BYTES LIMIT", "[SECONDS]"
    Concern concern;
    QString line;
    QString bareLine; // empty: the line stands without fields as well
    QStringList statuses;

    // The fields' names, brackets left off.
    QStringList fieldNames() const;

    // Every row, in the table's order.
    static const QList<ReasonRow> &all();
    static const ReasonRow &of(Reason reason);
    static std::optional<Reason> byWord(QStringView word);
    static std::optional<Reason> byStatus(QStringView status);
};

// Why a recipient did not get a message, as one line of the delivery
// helper's standard error:
//
//   WORD RECIPIENT [FIELD...]: text for a person
//
// WORD is the reason's word; RECIPIENT is the computer's name ("*" for the
// own workgroup as a whole, "-" when the request named none); the FIELDs
// are the facts the window words its report from. In RECIPIENT and the
// fields a blank, a control character, "%" and ":" are written as %XX (of
// their UTF-8 bytes), so the first ":" ends them and the window never reads
// the text after it. Other lines (a usage hint) are not reasons.
struct DeliveryReason {
    Reason reason;
    QString recipient;
    QStringList fields;
    QString text;

    QString line() const;
    // A word this build does not know (a newer helper's) reads as a
    // failure without detail.
    static std::optional<DeliveryReason> parse(const QString &line);
    // The reasons among the lines of `output` (UTF-8), in their order.
    static QList<DeliveryReason> parseAll(const QByteArray &output);
};
