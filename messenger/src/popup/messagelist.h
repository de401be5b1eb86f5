// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "receiver/spoolrecord.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>

// The received messages the agent knows of, in order of arrival, for the
// list window: sender, destination, time and first line of each, and
// whether this user has read it (unread ones are bold). Messages of senders
// the user muted are marked (grey, "utišan" beside the sender). The whole
// text stays in the spool until a message is selected.
class MessageList : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Sender, Destination, Time, FirstLine, Columns };
    struct Entry {
        QString id;
        QString sender;
        QString destination;
        QDateTime received;
        QString firstLine;
        bool unread = true;
    };

    // The first line of `text`, blanks simplified, cut to 80 characters.
    static QString firstLine(const QString &text);
    // When a message came, as its popup and its notification say it.
    static QString arrivalTime(const QDateTime &received);

    // Takes the message `id` in at its place by arrival (ids sort so).
    void add(const QString &id, const SpoolRecord &record, bool unread);
    bool contains(const QString &id) const { return m_rows.contains(id); }
    const Entry &at(int row) const { return m_entries.at(row); }
    int rowOf(const QString &id) const;
    // The first unread row from `row` on, going round, of a sender not
    // muted; -1 when none is.
    int nextUnread(int row) const;
    void markRead(const QString &id);
    // The senders muted from now on, by their names as shown.
    void setMuted(const QSet<QString> &senders);
    bool isMuted(int row) const { return m_muted.contains(m_entries.at(row).sender); }
    QStringList unreadIds() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Entry> m_entries;
    QSet<QString> m_muted;
    QHash<QString, int> m_rows; // id -> row, rebuilt past an insertion that is not at the end
};
