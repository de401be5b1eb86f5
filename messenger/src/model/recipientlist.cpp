// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/recipientlist.h"

#include "model/networktree.h"
#include "net/caseblindname.h"

#include <QLocale>

bool RecipientList::add(const QString &name)
{
    if (m_listed.contains(name))
        return false;
    const int row = int(m_entries.size());
    beginInsertRows({}, row, row);
    m_entries.append(name);
    m_listed.insert(name);
    endInsertRows();
    return true;
}

void RecipientList::removeAt(int row)
{
    if (row < 0 || row >= m_entries.size())
        return;
    beginRemoveRows({}, row, row);
    m_listed.remove(m_entries.takeAt(row));
    endRemoveRows();
}

void RecipientList::clear()
{
    beginResetModel();
    m_entries.clear();
    m_listed.clear();
    endResetModel();
}

void RecipientList::fillWithComputers(const NetworkTree &tree)
{
    QStringList names;
    QSet<CaseBlindName> taken;
    tree.forEachNode([&names, &taken](const NetResource &node) {
        if (node.kind() != NodeKind::Server || node.text() == PlaceholderText)
            return;
        const QString name = node.text().toString();
        const qsizetype before = taken.size();
        taken.insert(CaseBlindName(name));
        if (taken.size() > before)
            names.append(name);
    });
    beginResetModel();
    m_entries = names;
    m_listed = QSet<QString>(names.cbegin(), names.cend());
    endResetModel();
}

QString RecipientList::countText() const
{
    return m_listed.contains(GroupEntry) ? QStringLiteral(" ") : QString::number(m_entries.size());
}

QStringList RecipientList::namesAt(const NetworkTree &tree, const QModelIndex &node)
{
    const NetResource *resource = tree.nodeAt(node);
    if (!resource)
        return {};
    if (resource->kind() == NodeKind::Server)
        return {resource->text().toString()};
    QStringList names;
    if (takesChildren(tree, node)) {
        for (int row = 0; row < tree.rowCount(node); ++row) {
            const QStringView text = tree.nodeAt(tree.index(row, 0, node))->text();
            if (text != PlaceholderText)
                names.append(text.toString());
        }
    }
    return names;
}

bool RecipientList::takesChildren(const NetworkTree &tree, const QModelIndex &node)
{
    const NetResource *resource = tree.nodeAt(node);
    return resource && resource->kind() == NodeKind::Domain;
}

QString RecipientList::typedName(const NetworkTree &tree, const QString &typed)
{
    // Upper-cased as the user's language has it, and then compared exactly:
    // only a node text wholly in upper case can match.
    const QString name = QLocale::system().toUpper(typed);
    const bool known = tree.firstNode([&name](const NetResource &node) {
        return node.kind() != NodeKind::Placeholder && node.text() == name;
    });
    return known ? name : QString();
}

int RecipientList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant RecipientList::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_entries.at(index.row());
}

Qt::ItemFlags RecipientList::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                           : Qt::NoItemFlags;
}
