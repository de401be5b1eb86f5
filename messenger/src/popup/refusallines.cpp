// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/refusallines.h"

#include <algorithm>

namespace
{

// "1 poruka odbijena", "3 poruke odbijene", "340 poruka odbijeno".
QString counted(qint64 n)
{
    const qint64 ones = n % 10, tens = n % 100;
    if (ones == 1 && tens != 11)
        return QStringLiteral("%1 poruka odbijena").arg(n);
    if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14))
        return QStringLiteral("%1 poruke odbijene").arg(n);
    return QStringLiteral("%1 poruka odbijeno").arg(n);
}

QString reason(Refusal::Reason reason)
{
    switch (reason) {
    case Refusal::TooFast:
        return QStringLiteral("previše poruka za kratko vreme");
    case Refusal::SpoolFull:
        return QStringLiteral("prijemno sanduče je puno");
    case Refusal::TooLarge:
        return QStringLiteral("prevelika poruka");
    }
    return {};
}

QString when(const QDateTime &first, const QDateTime &last)
{
    const QString day = QStringLiteral("dd.MM.yyyy."), time = QStringLiteral("HH:mm:ss");
    const QDateTime a = first.toLocalTime(), b = last.toLocalTime();
    if (a.date() != b.date())
        return QStringLiteral("od %1 %2 do %3 %4")
            .arg(a.toString(day), a.toString(time), b.toString(day), b.toString(time));
    if (a.toString(time) == b.toString(time))
        return QStringLiteral("%1 u %2").arg(a.toString(day), a.toString(time));
    return QStringLiteral("%1 od %2 do %3")
        .arg(a.toString(day), a.toString(time), b.toString(time));
}

} // namespace

QStringList refusalLines(QList<Refusal> refusals, int most)
{
    std::sort(refusals.begin(), refusals.end(),
              [](const Refusal &a, const Refusal &b) { return a.last > b.last; });
    QStringList lines;
    for (const Refusal &r : refusals.mid(0, most)) {
        QString who = r.sender == QLatin1String("*") ? QStringLiteral("Ostali pošiljaoci")
                                                     : r.sender.toUpper();
        if (!r.address.isEmpty())
            who += QStringLiteral(" (%1)").arg(r.address);
        lines.append(QStringLiteral("%1: %2 (%3), %4")
                         .arg(who, counted(r.count), reason(r.reason), when(r.first, r.last)));
    }
    if (refusals.size() > most)
        lines.append(QStringLiteral("… (još %1)").arg(refusals.size() - most));
    return lines;
}
