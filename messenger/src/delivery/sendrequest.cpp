// SPDX-License-Identifier: GPL-3.0-or-later
#include "delivery/sendrequest.h"

std::optional<SendRequest> SendRequest::parse(const QStringList &arguments, QString *why)
{
    auto fail = [why](const QString &reason) -> std::optional<SendRequest> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (arguments.isEmpty() || arguments.first() != QLatin1String("send"))
        return fail(QStringLiteral("the first argument must be \"send\""));
    const QString line = arguments.mid(1).join(QLatin1Char(' '));
    if (line.isEmpty())
        return fail(QStringLiteral("no recipient given"));
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return SendRequest{line, QString()};
    return SendRequest{line.left(blank), line.mid(blank + 1)};
}
