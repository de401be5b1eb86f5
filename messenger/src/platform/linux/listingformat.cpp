// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/listingformat.h"
#include "platform/utf8.h"

#include <array>

namespace ListingFormat
{

namespace
{

constexpr std::array<const char *, 4> KindWords = {"workgroup", "server", "share", "dir"};

void escapeInto(QByteArray &out, const QString &text)
{
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

std::optional<QString> unescape(QByteArrayView field)
{
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\r') // written as "\r", never raw
            return std::nullopt;
        if (c != '\\') {
            bytes += c;
            continue;
        }
        if (++i == field.size())
            return std::nullopt;
        switch (field[i]) {
        case '\\':
            bytes += '\\';
            break;
        case 't':
            bytes += '\t';
            break;
        case 'n':
            bytes += '\n';
            break;
        case 'r':
            bytes += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    bool valid = false;
    QString text = decodeUtf8(bytes, &valid);
    if (!valid)
        return std::nullopt;
    return text;
}

} // namespace

QByteArray line(const Entry &entry)
{
    QByteArray out = KindWords[size_t(entry.kind)];
    out += '\t';
    escapeInto(out, entry.name);
    out += '\t';
    escapeInto(out, entry.comment);
    out += '\n';
    return out;
}

std::optional<QList<Entry>> parse(const QByteArray &output)
{
    QList<Entry> entries;
    const QByteArrayView all(output);
    for (qsizetype start = 0; start < all.size();) {
        const qsizetype end = all.indexOf('\n', start);
        if (end < 0)
            return std::nullopt; // cut short
        const QByteArrayView row = all.sliced(start, end - start);
        start = end + 1;
        const qsizetype tab1 = row.indexOf('\t');
        const qsizetype tab2 = tab1 < 0 ? -1 : row.indexOf('\t', tab1 + 1);
        if (tab2 < 0 || row.indexOf('\t', tab2 + 1) >= 0)
            return std::nullopt;
        const QByteArrayView word = row.first(tab1);
        qsizetype kind = 0;
        while (kind < qsizetype(KindWords.size()) && word != KindWords[size_t(kind)])
            ++kind;
        if (kind == qsizetype(KindWords.size()))
            return std::nullopt;
        auto name = unescape(row.sliced(tab1 + 1, tab2 - tab1 - 1));
        auto comment = unescape(row.sliced(tab2 + 1));
        if (!name || name->isEmpty() || !comment)
            return std::nullopt;
        entries.append(Entry{Kind(kind), *name, *comment});
    }
    return entries;
}

} // namespace ListingFormat
