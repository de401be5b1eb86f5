// SPDX-License-Identifier: GPL-3.0-or-later
#include "delivery/sendrequest.h"

#include "platform/netaddress.h"

namespace
{

const QString AddressOption = QStringLiteral("--address=");

} // namespace

std::optional<SendRequest> SendRequest::parse(const QStringList &arguments, QString *why)
{
    auto fail = [why](const QString &reason) -> std::optional<SendRequest> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    SendRequest request;
    qsizetype first = 0;
    if (!arguments.isEmpty() && arguments.first().startsWith(AddressOption)) {
        request.address = canonicalAddress(arguments.first().mid(AddressOption.size()));
        if (request.address.isEmpty())
            return fail(QStringLiteral("not an address: \"%1\"")
                            .arg(arguments.first().mid(AddressOption.size())));
        first = 1;
    }
    if (arguments.size() <= first || arguments.at(first) != QLatin1String("send"))
        return fail(QStringLiteral("the first argument must be \"send\""));
    const QString line = arguments.mid(first + 1).join(QLatin1Char(' '));
    if (line.isEmpty())
        return fail(QStringLiteral("no recipient given"));
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    request.name = blank < 0 ? line : line.left(blank);
    request.text = blank < 0 ? QString() : line.mid(blank + 1);
    if (!request.address.isEmpty() && request.name == QLatin1String("*"))
        return fail(QStringLiteral("\"*\" cannot be sent to one address"));
    return request;
}
