// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/spoolrecord.h"
#include "platform/utf8.h"

#include <QList>

namespace
{

const QByteArray Magic = "Vesnal-Message: 1";

// Characters a header value never holds: controls and line or paragraph
// separators would end the header early or forge another line; bidi controls
// would make a name read as another one, or turn the heading around it.
bool headerDropped(QChar c)
{
    const char16_t u = c.unicode();
    return c.category() == QChar::Other_Control || u == 0x2028 || u == 0x2029 || u == 0x061C ||
           u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
           (u >= 0x2066 && u <= 0x2069);
}

} // namespace

QString SpoolRecord::headerText(QString value)
{
    value.removeIf(headerDropped);
    return value;
}

QString SpoolRecord::plainText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u == u'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else if (u == u'\n' || u == u'\t') {
            out += QChar(u);
        } else if (u < 0x20) {
            out += QChar(0x2400 + u); // the control's picture: ESC shows as U+241B
        } else if (u == 0x7F) {
            out += QChar(0x2421);
        } else if (u >= 0x80 && u < 0xA0) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += QChar(u);
        }
    }
    return out;
}

QByteArray SpoolRecord::serialize() const
{
    QByteArray out = Magic + '\n';
    out += "Received: " + received.toString(Qt::ISODateWithMs).toLatin1() + '\n';
    out += "From: " + headerText(sender).toUtf8() + '\n';
    out += "To: " + headerText(destination).toUtf8() + '\n';
    if (!address.isEmpty())
        out += "Address: " + headerText(address).toUtf8() + '\n';
    out += '\n';
    out += plainText(text).toUtf8();
    return out;
}

std::optional<SpoolRecord> SpoolRecord::parse(const QByteArray &bytes, QString *why)
{
    const qsizetype end = bytes.indexOf("\n\n");
    const QList<QByteArray> lines = bytes.left(end).split('\n');
    if (end < 0 || lines.first() != Magic) {
        *why = QStringLiteral("not a message record");
        return std::nullopt;
    }
    SpoolRecord record;
    bool from = false, to = false;
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(": ");
        const QByteArray key = line.left(colon);
        // Filtered on the way in too: a record may come from an older
        // version, or from anyone who can write into the spool.
        const QString value = headerText(decodeUtf8(line.mid(colon + 2)));
        if (colon < 0)
            continue;
        if (key == "Received")
            record.received = QDateTime::fromString(value, Qt::ISODate);
        else if (key == "From")
            record.sender = value, from = true;
        else if (key == "To")
            record.destination = value, to = true;
        else if (key == "Address")
            record.address = value;
        // Other keys belong to later versions and are passed over.
    }
    if (!record.received.isValid() || !from || !to) {
        *why = QStringLiteral("the record lacks its time, sender or destination");
        return std::nullopt;
    }
    record.text = plainText(decodeUtf8(bytes.mid(end + 2)));
    return record;
}
