// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/deliveryreport.h"

namespace DeliveryReport
{

namespace
{

const QString Unknown = QStringLiteral("nije poznato da li je poruka isporučena");
const QString NotDelivered = QStringLiteral("poruka nije isporučena");

// "1 bajt", "2 bajta", "5 bajtova", as Serbian counts them.
QString bytes(const QString &number)
{
    const qlonglong n = number.toLongLong();
    if (n % 10 == 1 && n % 100 != 11)
        return number + QStringLiteral(" bajt");
    if (n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 12 || n % 100 > 14))
        return number + QStringLiteral(" bajta");
    return number + QStringLiteral(" bajtova");
}

// The character a "U+XXXX" field names.
QString character(const QString &codePoint)
{
    bool ok = false;
    const char32_t c = char32_t(codePoint.mid(2).toUInt(&ok, 16));
    return ok && codePoint.startsWith(QLatin1String("U+")) ? QString::fromUcs4(&c, 1) : codePoint;
}

} // namespace

QString line(const QString &name, const DeliveryReason &r)
{
    const auto field = [&r](int i) { return r.fields.value(i); };
    const auto about = [&name](const QString &what) { return name + QStringLiteral(": ") + what; };
    const QString &w = r.word;
    if (w == ReasonWord::NotFound)
        return about(QStringLiteral("računar nije pronađen u mreži"));
    if (w == ReasonWord::Refused)
        return about(QStringLiteral("računar odbija vezu"));
    if (w == ReasonWord::Unreachable)
        return about(QStringLiteral("računar nije dostupan (možda je isključen)"));
    if (w == ReasonWord::NoSmb1)
        return about(QStringLiteral("računar ne prima poruke (SMB1 je na njemu isključen)"));
    if (w == ReasonWord::Rejected)
        return about(QStringLiteral("računar je odbio poruku"));
    if (w == ReasonWord::Timeout)
        return about(r.fields.isEmpty()
                         ? QStringLiteral("računar se nije javio na vreme")
                         : QStringLiteral("računar se nije javio za %1 s").arg(field(0)));
    if (w == ReasonWord::BadName)
        return about(QStringLiteral("ime računara nije ispravno"));
    if (w == ReasonWord::GroupUnlisted)
        return about(
            QStringLiteral("spisak računara grupe %1 nije mogao da se pročita").arg(field(0)));
    if (w == ReasonWord::GroupEmpty)
        return about(QStringLiteral("u grupi %1 nema drugih računara").arg(field(0)));
    if (w == ReasonWord::NoWorkgroup)
        return about(QStringLiteral("radna grupa ovog računara nije podešena"));
    // The message itself or the settings: the same for every recipient.
    if (w == ReasonWord::Empty)
        return QStringLiteral("poruka je prazna");
    if (w == ReasonWord::TooLong)
        return QStringLiteral("poruka je predugačka: %1, najviše %2")
            .arg(bytes(field(0)), field(1));
    if (w == ReasonWord::CodePage)
        return QStringLiteral("tekst ima znak koji kodna strana %1 ne može da prenese: %2")
            .arg(field(0), character(field(1)));
    if (w == ReasonWord::NoSmbclient)
        return QStringLiteral("program smbclient nije instaliran, pa poruka nije poslata");
    if (w == ReasonWord::BadCodePage)
        return QStringLiteral("kodna strana %1 nije upotrebljiva (VESNAL_CODEPAGE)").arg(field(0));
    if (w == ReasonWord::BadSender)
        return QStringLiteral("ime ovog računara ne može da se koristi kao pošiljalac");
    if (w == ReasonWord::Failed && !r.fields.isEmpty())
        return about(QStringLiteral("slanje nije uspelo (%1)").arg(field(0)));
    return about(NotDelivered);
}

QStringList lines(const QString &entry, bool group, const TaskOutcome &outcome)
{
    if (!outcome.exited || outcome.exitStatus < 0 || outcome.exitStatus > 2)
        return {entry + QStringLiteral(": ") + Unknown};
    if (outcome.exitStatus == 0)
        return {};
    QStringList result;
    for (const DeliveryReason &reason : outcome.reasons) {
        // A single recipient is named as the list shows it; a group's
        // computers by their own names.
        const bool wholeEntry = !group || reason.recipient == QLatin1String("*");
        result.append(line(wholeEntry ? entry : reason.recipient, reason));
    }
    if (result.isEmpty()) // it failed without saying why
        result.append(entry + QStringLiteral(": ") + NotDelivered);
    return result;
}

QString notStarted(const QString &entry)
{
    return entry + QStringLiteral(": slanje nije moglo da počne");
}

QString text(const QStringList &lines)
{
    QStringList once;
    for (const QString &l : lines)
        if (!once.contains(l))
            once.append(l);
    return QStringLiteral("Poruka nije stigla do svih primalaca:\n\n") +
           once.join(QLatin1Char('\n'));
}

} // namespace DeliveryReport
