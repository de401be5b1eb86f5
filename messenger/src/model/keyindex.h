// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/netresource.h"

#include <QtGlobal>
#include <vector>

// The nodes of one tree by key, hashed blind to letter case: a collection
// finds its members so, and the tree its exact keys among the nodes of the
// same hash. Each node carries its hash, so a slot is one pointer; at most
// half the slots are taken, and a look-up reads one or two of them.
class KeyIndex
{
public:
    void insert(NetResource *node);
    // Takes the node out, if it is in.
    void erase(const NetResource *node);
    qsizetype size() const { return m_count; }

    // The first node of hash `hash` that `match` takes; null when none.
    template <class Match> NetResource *find(size_t hash, Match match) const
    {
        if (m_slots.empty())
            return nullptr;
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask; m_slots[i]; i = (i + 1) & mask)
            if (m_slots[i]->keyHash() == hash && match(*m_slots[i]))
                return m_slots[i];
        return nullptr;
    }

private:
    void grow();

    std::vector<NetResource *> m_slots; // a power of two of them
    qsizetype m_count = 0;
};
