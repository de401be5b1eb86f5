// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/nodeindex.h"

#include "widgets/netnode.h"

NetNode *NodeIndex::find(const QString &key) const
{
    const auto it = m_position.constFind(key);
    return it == m_position.cend() ? nullptr : m_order[*it];
}

void NodeIndex::add(NetNode *node)
{
    m_position.insert(node->key, m_order.size());
    m_order.push_back(node);
}

void NodeIndex::reserveMore(qsizetype more)
{
    const qsizetype wanted = m_position.size() + more;
    if (wanted > m_position.capacity())
        m_position.reserve(wanted * 2); // grows geometrically, as insertion would
    m_order.reserve(m_order.size() + size_t(more));
}

NetNode *NodeIndex::take(const QString &key)
{
    const auto it = m_position.constFind(key);
    if (it == m_position.cend())
        return nullptr;
    NetNode *node = m_order[*it];
    m_order[*it] = nullptr;
    m_position.erase(it);
    return node;
}

void NodeIndex::compact()
{
    if (m_order.size() < 2 * size_t(m_position.size()) + 64)
        return;
    std::vector<NetNode *> kept;
    kept.reserve(m_position.size());
    for (NetNode *node : m_order)
        if (node) {
            m_position[node->key] = kept.size();
            kept.push_back(node);
        }
    m_order.swap(kept);
}
