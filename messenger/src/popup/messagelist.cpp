// SPDX-License-Identifier: GPL-3.0-or-later
#include "popup/messagelist.h"

#include <QColor>
#include <QFont>

#include <algorithm>

namespace
{

constexpr int FirstLineLength = 80;

} // namespace

QString MessageList::firstLine(const QString &text)
{
    const QString line = text.section(u'\n', 0, 0).simplified();
    return line.size() > FirstLineLength ? line.left(FirstLineLength - 1) + u'…' : line;
}

QString MessageList::arrivalTime(const QDateTime &received)
{
    return received.toString(QStringLiteral("dd.MM.yyyy. 'u' HH:mm:ss"));
}

void MessageList::add(const QString &id, const SpoolRecord &record, bool unread)
{
    if (contains(id))
        return;
    const auto place = std::upper_bound(m_entries.begin(), m_entries.end(), id,
                                        [](const QString &a, const Entry &b) { return a < b.id; });
    const int row = int(place - m_entries.begin());
    beginInsertRows({}, row, row);
    m_entries.insert(row, {id, record.sender.toUpper(), record.destination.toUpper(),
                           record.received, firstLine(record.text), unread});
    for (int i = row; i < m_entries.size(); ++i)
        m_rows.insert(m_entries.at(i).id, i);
    endInsertRows();
}

int MessageList::rowOf(const QString &id) const
{
    return m_rows.value(id, -1);
}

int MessageList::nextUnread(int row) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        const int at = (std::max(row, 0) + i) % int(m_entries.size());
        if (m_entries.at(at).unread && !isMuted(at))
            return at;
    }
    return -1;
}

void MessageList::markRead(const QString &id)
{
    const int row = rowOf(id);
    if (row < 0 || !m_entries.at(row).unread)
        return;
    m_entries[row].unread = false;
    emit dataChanged(index(row, 0), index(row, Columns - 1), {Qt::FontRole});
}

void MessageList::setMuted(const QSet<QString> &senders)
{
    m_muted = senders;
    if (!m_entries.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, Columns - 1));
}

QStringList MessageList::unreadIds() const
{
    QStringList ids;
    for (const Entry &e : m_entries)
        if (e.unread)
            ids.append(e.id);
    return ids;
}

int MessageList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int MessageList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant MessageList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const Entry &e = m_entries.at(index.row());
    const bool muted = m_muted.contains(e.sender);
    if (role == Qt::FontRole && e.unread) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::ForegroundRole && muted)
        return QColor(Qt::gray);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Sender:
        return muted ? e.sender + QStringLiteral(" (utišan)") : e.sender;
    case Destination:
        return e.destination;
    case Time:
        return e.received.toString(QStringLiteral("dd.MM.yyyy. HH:mm:ss"));
    case FirstLine:
        return e.firstLine;
    }
    return {};
}

QVariant MessageList::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList titles{QStringLiteral("Od"), QStringLiteral("Za"),
                                    QStringLiteral("Vreme"), QStringLiteral("Poruka")};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return titles.value(section);
    return {};
}
