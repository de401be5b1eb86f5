// SPDX-License-Identifier: GPL-3.0-or-later
#include "receiver/spoolrecord.h"
#include "platform/utf8.h"

#include <QList>

namespace
{

const QByteArray Magic = "Vesnal-Message: 1";

// A header value on one line: control characters (a line break above all)
// would end the header early or forge another line, so they become "_".
QByteArray headerValue(const QString &value)
{
    QString clean = value;
    for (QChar &c : clean)
        if (c.category() == QChar::Other_Control)
            c = u'_';
    return clean.toUtf8();
}

} // namespace

QByteArray SpoolRecord::serialize() const
{
    QByteArray out = Magic + '\n';
    out += "Received: " + received.toString(Qt::ISODateWithMs).toLatin1() + '\n';
    out += "From: " + headerValue(sender) + '\n';
    out += "To: " + headerValue(destination) + '\n';
    out += '\n';
    out += text.toUtf8();
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
        const QString value = decodeUtf8(line.mid(colon + 2));
        if (colon < 0)
            continue;
        if (key == "Received")
            record.received = QDateTime::fromString(value, Qt::ISODate);
        else if (key == "From")
            record.sender = value, from = true;
        else if (key == "To")
            record.destination = value, to = true;
        // Other keys belong to later versions and are passed over.
    }
    if (!record.received.isValid() || !from || !to) {
        *why = QStringLiteral("the record lacks its time, sender or destination");
        return std::nullopt;
    }
    record.text = decodeUtf8(bytes.mid(end + 2));
    return record;
}
