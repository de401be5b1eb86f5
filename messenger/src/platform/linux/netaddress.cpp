// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/netaddress.h"

#include <arpa/inet.h>

QString canonicalAddress(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    unsigned char binary[16];
    char written[INET6_ADDRSTRLEN];
    for (const int family : {AF_INET, AF_INET6})
        if (text.size() < INET6_ADDRSTRLEN && bytes == text.toUtf8() &&
            ::inet_pton(family, bytes.constData(), binary) == 1 &&
            ::inet_ntop(family, binary, written, sizeof written))
            return QString::fromLatin1(written);
    return {};
}
