// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/receivearguments.h"

#include <QRegularExpression>

namespace
{

// A whole number from 1 to `most`, with a binary K, M or G after it when
// `units`; 0 when `text` is none.
qint64 number(const QString &text, qint64 most, bool units = false)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,12})([KMG]?)$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch() || (!units && !match.captured(2).isEmpty()))
        return 0;
    const QString unit = match.captured(2);
    const int shift = unit.isEmpty() ? 0 : int(QStringLiteral("KMG").indexOf(unit) + 1) * 10;
    const qint64 value = match.captured(1).toLongLong() << shift;
    return value >= 1 && value <= most ? value : 0;
}

std::optional<Rate> rate(const QString &text)
{
    const qsizetype slash = text.indexOf(u'/');
    const Rate r{int(number(text.left(slash), 1000000)), int(number(text.mid(slash + 1), 86400))};
    return slash > 0 && r.count > 0 && r.seconds > 0 ? std::optional(r) : std::nullopt;
}

} // namespace

std::optional<ReceiveArguments> ReceiveArguments::parse(const QStringList &words, QString *why)
{
    ReceiveArguments a;
    qsizetype i = 0;
    for (; i < words.size() && words[i].startsWith(QLatin1String("--")); ++i) {
        const QString &word = words[i];
        const qsizetype equals = word.indexOf(u'=');
        const QString name = word.left(equals), value = word.mid(equals + 1);
        bool ok = equals > 0;
        if (name == QLatin1String("--address")) {
            a.address = value;
        } else if (name == QLatin1String("--max-records")) {
            ok = ok && (a.limits.maxRecords = number(value, 10000000)) > 0;
        } else if (name == QLatin1String("--max-size")) {
            ok = ok && (a.limits.maxBytes = number(value, qint64(1) << 40, true)) > 0;
        } else if (name == QLatin1String("--sender-rate") ||
                   name == QLatin1String("--total-rate")) {
            const auto r = rate(value);
            ok = ok && r;
            if (r)
                (name == QLatin1String("--sender-rate") ? a.limits.sender : a.limits.total) = *r;
        } else {
            ok = false;
        }
        if (!ok) {
            *why = QStringLiteral("not an option: %1").arg(word);
            return std::nullopt;
        }
    }
    QStringList rest = words.mid(i);
    if (!rest.isEmpty() && rest.last() == QLatin1String("&"))
        rest.removeLast();
    if (rest.size() < 3 || rest.first().isEmpty()) {
        *why = QStringLiteral("usage: vesnal-receive [OPTION...] MESSAGE-FILE SENDER DESTINATION");
        return std::nullopt;
    }
    a.messageFile = rest.takeFirst();
    a.sender = rest.takeFirst();
    a.destination = rest.join(u' ');
    return a;
}
