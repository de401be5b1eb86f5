// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/keyindex.h"

#include <algorithm>

void KeyIndex::insert(NetResource *node)
{
    if (size_t(m_count + 1) * 2 > m_slots.size())
        grow();
    const size_t mask = m_slots.size() - 1;
    size_t i = node->keyHash() & mask;
    while (m_slots[i])
        i = (i + 1) & mask;
    m_slots[i] = node;
    ++m_count;
}

void KeyIndex::erase(const NetResource *node)
{
    if (m_slots.empty())
        return;
    const size_t mask = m_slots.size() - 1;
    size_t hole = node->keyHash() & mask;
    while (m_slots[hole] != node) {
        if (!m_slots[hole])
            return;
        hole = (hole + 1) & mask;
    }
    // Later nodes of the same run move up into the hole when their home
    // slot lies at or before it, so that every run stays unbroken.
    for (size_t i = (hole + 1) & mask; m_slots[i]; i = (i + 1) & mask) {
        const size_t home = m_slots[i]->keyHash() & mask;
        if (((i - home) & mask) >= ((i - hole) & mask)) {
            m_slots[hole] = m_slots[i];
            hole = i;
        }
    }
    m_slots[hole] = nullptr;
    --m_count;
}

void KeyIndex::grow()
{
    std::vector<NetResource *> old(std::max<size_t>(64, m_slots.size() * 2), nullptr);
    old.swap(m_slots);
    m_count = 0;
    for (NetResource *node : old)
        if (node)
            insert(node);
}
