// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <vector>

class NetNode;

// Every node of the tree by its key, plus the order in which the nodes were
// added. Removed nodes leave an empty slot, so positions taken at the start
// of a walk stay valid while the walk removes and adds nodes.
class NodeIndex
{
public:
    bool contains(const QString &key) const { return m_position.contains(key); }
    NetNode *find(const QString &key) const;
    void add(NetNode *node);
    // Room for `more` nodes beyond those indexed now.
    void reserveMore(qsizetype more);
    // Forgets the node with that key and returns it (null when absent).
    NetNode *take(const QString &key);

    // Slots in order of addition; a slot may be null (node removed).
    size_t slotCount() const { return m_order.size(); }
    NetNode *at(size_t slot) const { return m_order[slot]; }
    int size() const { return int(m_position.size()); }
    // Drops empty slots; only between walks.
    void compact();

private:
    QHash<QString, size_t> m_position;
    std::vector<NetNode *> m_order;
};
