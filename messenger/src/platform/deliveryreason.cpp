// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/deliveryreason.h"
#include "platform/utf8.h"

#include <QRegularExpression>

namespace
{

QString encodeToken(const QString &token)
{
    QByteArray out;
    for (const char byte : token.toUtf8()) {
        const uchar c = uchar(byte);
        if (c <= 0x20 || c == 0x7f || c == '%' || c == ':')
            out += '%' + QByteArray::number(c, 16).rightJustified(2, '0').toUpper();
        else
            out += byte;
    }
    return decodeUtf8(out);
}

QString decodeToken(const QString &token)
{
    return decodeUtf8(QByteArray::fromPercentEncoding(token.toUtf8()));
}

} // namespace

QStringList ReasonRow::fieldNames() const
{
    QString names = fields;
    names.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    return names.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

const QList<ReasonRow> &ReasonRow::all()
{
    using enum Concern;
    const auto split = [](const char *words) {
        return QString::fromUtf8(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    };
#define VESNAL_REASON_ROW(name, word, fields, concern, line, bareLine, statuses)                   \
    ReasonRow{Reason::name,         QStringLiteral(word),     QStringLiteral(fields), concern,     \
              QStringLiteral(line), QStringLiteral(bareLine), split(statuses)},
    static const QList<ReasonRow> rows{VESNAL_DELIVERY_REASONS(VESNAL_REASON_ROW)};
#undef VESNAL_REASON_ROW
    return rows;
}

const ReasonRow &ReasonRow::of(Reason reason)
{
    return all()[qsizetype(reason)];
}

std::optional<Reason> ReasonRow::byWord(QStringView word)
{
    for (const ReasonRow &row : all())
        if (row.word == word)
            return row.reason;
    return std::nullopt;
}

std::optional<Reason> ReasonRow::byStatus(QStringView status)
{
    for (const ReasonRow &row : all())
        if (row.statuses.contains(status))
            return row.reason;
    return std::nullopt;
}

QString DeliveryReason::line() const
{
    QString head = ReasonRow::of(reason).word + QLatin1Char(' ') + encodeToken(recipient);
    for (const QString &field : fields)
        head += QLatin1Char(' ') + encodeToken(field);
    return head + QStringLiteral(": ") + text;
}

std::optional<DeliveryReason> DeliveryReason::parse(const QString &line)
{
    static const QRegularExpression wordPattern(QStringLiteral("^[a-z0-9]+(-[a-z0-9]+)*$"));
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const QStringList tokens = line.left(colon).split(QLatin1Char(' '));
    if (tokens.size() < 2 || !wordPattern.match(tokens[0]).hasMatch())
        return std::nullopt;
    DeliveryReason reason{Reason::Failed, decodeToken(tokens[1]), {}, {}};
    if (const auto known = ReasonRow::byWord(tokens[0])) {
        reason.reason = *known;
        for (qsizetype i = 2; i < tokens.size(); ++i)
            reason.fields.append(decodeToken(tokens[i]));
    }
    reason.text = line.mid(colon + 1);
    if (reason.text.startsWith(QLatin1Char(' ')))
        reason.text.remove(0, 1);
    return reason;
}

QList<DeliveryReason> DeliveryReason::parseAll(const QByteArray &output)
{
    QList<DeliveryReason> reasons;
    for (const QString &line : decodeUtf8(output).split(QLatin1Char('\n')))
        if (const auto reason = parse(line))
            reasons.append(*reason);
    return reasons;
}
