// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/networktree.h"

#include "model/keyindex.h"
#include "model/listingpass.h"
#include "net/caseblindname.h"

NetworkTree::NetworkTree(NetResource &top, QObject *parent) : QAbstractItemModel(parent), m_top(top)
{
}

void NetworkTree::setPictures(const std::function<QVariant(const QString &)> &pictureOf)
{
    for (int kind = 0; kind < NodeKindCount; ++kind) {
        const QString key = pictureKey(NodeKind(kind));
        m_pictures[size_t(kind)] = key.isEmpty() ? QVariant() : pictureOf(key);
    }
}

bool NetworkTree::mayJoin(const NetResource &node, QStringView key) const
{
    return m_pictures[size_t(node.kind())].isValid() && !nodeWithKey(key, node.keyHash());
}

const NetResource *NetworkTree::nodeWithKey(QStringView key, size_t hash) const
{
    // Keys are unique in the whole tree, whatever branch holds them.
    return m_top.keys().find(hash,
                             [key](const NetResource &n) { return n.inTree() && n.hasKey(key); });
}

void NetworkTree::join(NetResource *node)
{
    node->m_inTree = true;
    node->m_slot = quint32(m_order.size());
    m_order.push_back(node);
}

bool NetworkTree::addPlaceholder(NetResource *node)
{
    std::unique_ptr<NetResource> placeholder(new NetResource(*node, NodeKind::Placeholder));
    if (!mayJoin(*placeholder, placeholder->key())) {
        node->m_state = NodeState::BrokenOff;
        return false;
    }
    m_top.keys().insert(placeholder.get());
    join(placeholder.get());
    node->m_placeholder = std::move(placeholder);
    return true;
}

void NetworkTree::removePlaceholder(NetResource *node)
{
    // Only the node's own placeholder goes: a real node whose remote name
    // happens to end in "_FAKE" is never taken for one.
    if (!node->m_placeholder)
        return;
    beginRemoveRows(indexOf(node), 0, 0);
    m_order[node->m_placeholder->m_slot] = nullptr;
    node->m_placeholder.reset();
    endRemoveRows();
}

void NetworkTree::populate()
{
    if (m_top.m_inTree)
        return;
    NetResources &top = m_top.Children();
    beginInsertRows(QModelIndex(), 0, 0);
    m_top.keys().insert(&m_top);
    join(&m_top);
    for (int i = 0; i < top.Count();) {
        NetResource *node = top.m_members[size_t(i)].get();
        // A resource that cannot have a node is left out; the next is taken.
        if (!mayJoin(*node, node->Record.remoteName)) {
            top.Remove(i + 1);
            continue;
        }
        join(node);
        if (node->kind() != NodeKind::Server)
            addPlaceholder(node);
        ++i;
    }
    endInsertRows();
}

bool NetworkTree::expand(const QModelIndex &node, int activation)
{
    NetResource *n = nodeAt(node);
    NetworkProvider *network = m_top.network();
    if (!n || !network)
        return true;
    return expand(n, activation, *network);
}

bool NetworkTree::expand(NetResource *node, int activation, NetworkProvider &via)
{
    // Only a node with its placeholder is listed; any other is done.
    if (list(node, via))
        return true;
    node->m_unansweredIn = activation;
    return false;
}

bool NetworkTree::list(NetResource *node, NetworkProvider &via)
{
    // A node without its placeholder was listed already, or broke off.
    if (!node->m_placeholder)
        return true;

    if (node->kind() == NodeKind::Share && via.opensAsDirectory(node->key())) {
        removePlaceholder(node);
        node->m_state = NodeState::Listed;
        return true;
    }

    NetResources &listed = node->Children(via);
    if (node->lastListingUnanswered())
        return false;
    removePlaceholder(node);

    // The children join the tree with their placeholders before the view
    // hears of them, in one insertion. A duplicate key or a missing picture
    // breaks the listing off there: the rest never joins, and leaves.
    int shown = 0;
    bool complete = true;
    while (complete && shown < listed.Count()) {
        NetResource *child = listed.m_members[size_t(shown)].get();
        if (!mayJoin(*child, child->Record.remoteName)) {
            complete = false;
            break;
        }
        join(child);
        ++shown;
        if (child->kind() != NodeKind::Server && !addPlaceholder(child))
            complete = false;
    }
    listed.truncate(shown);
    if (shown > 0)
        beginInsertRows(indexOf(node), 0, shown - 1);
    node->m_state = complete ? NodeState::Listed : NodeState::BrokenOff;
    if (shown > 0)
        endInsertRows();
    return true;
}

void NetworkTree::expandAll(int activation)
{
    NetworkProvider *network = m_top.network();
    if (!network)
        return;
    // Holes left by removed placeholders go between passes.
    if (m_order.size() >= 2 * size_t(size()) + 64) {
        std::erase(m_order, nullptr);
        for (size_t i = 0; i < m_order.size(); ++i)
            m_order[i]->m_slot = quint32(i);
    }

    // Only a node that still has its placeholder can be listed: for every
    // other node expand() changes nothing, so the pass takes those alone,
    // among the nodes that stand when it starts. A node whose listing got no
    // answer in this activation is not asked again before the next: one
    // wait per activation, not one per pass (nor per Enter in the name box).
    std::vector<NetResource *> pending;
    // The listings this pass will ask for start together; the pass then
    // takes each in the nodes' order, and the tree ends as a walk that
    // waits for each in turn leaves it. (A share is tried as a folder first.)
    QList<const NetResource *> ahead;
    for (NetResource *node : m_order)
        if (node && node->m_placeholder && node->m_unansweredIn != activation) {
            pending.push_back(node);
            if (node->kind() != NodeKind::Share)
                ahead.append(node);
        }
    ListingPass pass(*network, ahead);
    for (NetResource *node : pending)
        expand(node, activation, pass);
}

QModelIndex NetworkTree::find(const QString &key) const
{
    const NetResource *node = nodeWithKey(key, CaseBlindName::hashOf(key));
    return node ? indexOf(node) : QModelIndex();
}

NetResource *NetworkTree::nodeAt(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this
               ? static_cast<NetResource *>(index.internalPointer())
               : nullptr;
}

qsizetype NetworkTree::size() const
{
    return m_top.keys().size();
}

QModelIndex NetworkTree::indexOf(const NetResource *node) const
{
    return createIndex(node->m_row, 0, node);
}

QModelIndex NetworkTree::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return QModelIndex();
    if (!parent.isValid())
        return indexOf(&m_top);
    const NetResource *node = nodeAt(parent);
    if (node->m_placeholder)
        return indexOf(node->m_placeholder.get());
    return indexOf(node->ChildResources->m_members[size_t(row)].get());
}

QModelIndex NetworkTree::parent(const QModelIndex &child) const
{
    const NetResource *node = nodeAt(child);
    return node && node->m_parent ? indexOf(node->m_parent) : QModelIndex();
}

int NetworkTree::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return m_top.m_inTree ? 1 : 0;
    const NetResource *node = nodeAt(parent);
    if (!node || parent.column() != 0)
        return 0;
    if (node->m_placeholder)
        return 1;
    // The children show once the listing has ended.
    if (node->m_state == NodeState::Unlisted || !node->ChildResources)
        return 0;
    return node->ChildResources->Count();
}

int NetworkTree::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant NetworkTree::data(const QModelIndex &index, int role) const
{
    const NetResource *node = nodeAt(index);
    if (!node)
        return QVariant();
    if (role == Qt::DisplayRole)
        return node->text().toString();
    if (role == Qt::DecorationRole)
        return m_pictures[size_t(node->kind())];
    return QVariant();
}

Qt::ItemFlags NetworkTree::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
