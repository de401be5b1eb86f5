// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QSet>
#include <QStringList>

class NetworkTree;

// The names the next message goes to, in the order they were added, as the
// list model the window's recipient list shows. No name stands in it twice.
// The group entry stands for everyone in the own workgroup or domain.
class RecipientList : public QAbstractListModel
{
    Q_OBJECT
public:
    static inline const QString GroupEntry = QStringLiteral("SVI u mojoj grupi / mom domenu");

    using QAbstractListModel::QAbstractListModel;

    const QStringList &entries() const { return m_entries; }
    // Appends the name unless it is listed already (exactly, letter case
    // included); true when it was appended.
    bool add(const QString &name);
    void removeAt(int row);
    void clear();
    // Replaces the entries with every computer of the tree in the order the
    // tree took them, each once: the same computer may stand in the tree
    // twice, in another letter case (the list file always names this one,
    // and browsing finds it too), and would get the message twice.
    void fillWithComputers(const NetworkTree &tree);

    // What the count box shows: the number of entries, or one blank while
    // the group entry is listed.
    QString countText() const;

    // The names a node of the tree gives: a computer its own; a domain or
    // workgroup every computer listed under it; any other node none.
    static QStringList namesAt(const NetworkTree &tree, const QModelIndex &node);
    // Whether namesAt() reads the node's children, which are to be listed first.
    static bool takesChildren(const NetworkTree &tree, const QModelIndex &node);
    // A typed name as it is listed: in upper case, when a node of the tree
    // bears exactly that text; a null string when none does.
    static QString typedName(const NetworkTree &tree, const QString &typed);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QStringList m_entries;
    QSet<QString> m_listed; // the entries, for the duplicate test
};
