// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/messagetext.h"

#include <QList>

namespace MessageText
{

qsizetype bufferBytes(const QString &text)
{
    return text.toUtf8().size() + text.count(QLatin1Char('\n'));
}

std::optional<DeliveryReason> problem(const QString &text, const CodePage &codePage)
{
    if (text.isEmpty())
        return DeliveryReason{Reason::Empty, {}, {}, QStringLiteral("the message text is empty")};
    QString missing;
    if (!codePage.encode(text, &missing)) {
        const QString codePoint =
            QStringLiteral("U+") + QString::number(missing.toUcs4().value(0), 16)
                                       .toUpper()
                                       .rightJustified(4, QLatin1Char('0'));
        return DeliveryReason{
            Reason::CodePage,
            {},
            {codePage.name(), codePoint},
            QStringLiteral("the character \"%1\" (%2) has no place in code page %3; nothing was "
                           "sent (set VESNAL_CODEPAGE to a code page that holds it)")
                .arg(missing, codePoint, codePage.name())};
    }
    const qsizetype bytes = bufferBytes(text);
    if (bytes > SmbclientBufferBytes)
        return DeliveryReason{
            Reason::TooLong,
            {},
            {QString::number(bytes), QString::number(SmbclientBufferBytes)},
            QStringLiteral("the message is too long: %1 bytes (line breaks count twice), at most "
                           "%2 can be sent; nothing was sent")
                .arg(bytes)
                .arg(SmbclientBufferBytes)};
    return std::nullopt;
}

} // namespace MessageText
