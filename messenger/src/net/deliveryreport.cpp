// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/deliveryreport.h"

#include <QRegularExpression>

namespace DeliveryReport
{

namespace
{

const QString Unknown = QStringLiteral("nije poznato da li je poruka isporučena");

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

// A field's value as the report writes it.
QString filled(const QString &field, const QString &value)
{
    if (field == QLatin1String("BYTES"))
        return bytes(value);
    if (field == QLatin1String("U+XXXX"))
        return character(value);
    return value;
}

} // namespace

QString line(const QString &name, const DeliveryReason &r)
{
    const ReasonRow &row = ReasonRow::of(r.reason);
    const QString &pattern =
        r.fields.isEmpty() && !row.bareLine.isEmpty() ? row.bareLine : row.line;
    // Each {FIELD} in one pass, so a field's own text is never read as one.
    static const QRegularExpression placeholder(QStringLiteral("\\{([^}]+)\\}"));
    const QStringList names = row.fieldNames();
    QString text;
    qsizetype done = 0;
    for (auto it = placeholder.globalMatch(pattern); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString field = m.captured(1);
        text += pattern.mid(done, m.capturedStart() - done) +
                filled(field, r.fields.value(names.indexOf(field)));
        done = m.capturedEnd();
    }
    text += pattern.mid(done);
    return row.concern == ReasonRow::Concern::Message ? text : name + QStringLiteral(": ") + text;
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
        result.append(line(entry, {Reason::Failed, entry, {}, {}}));
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
