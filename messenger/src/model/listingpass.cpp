// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/listingpass.h"

#include "model/netresource.h"

#include <algorithm>

ListingPass::ListingPass(NetworkProvider &network, QList<const NetResource *> resources)
    : m_network(network)
{
    resources.removeIf([](const NetResource *r) { return r->isEnumerated(); });
    std::stable_sort(
        resources.begin(), resources.end(),
        [](const NetResource *a, const NetResource *b) { return a->askedAt() < b->askedAt(); });
    QList<const NetRecord *> parents;
    parents.reserve(resources.size());
    for (const NetResource *r : std::as_const(resources))
        parents.append(r->listingRecord());
    if (!parents.isEmpty())
        m_prepared = m_network.listAhead(parents);
}

NetListing ListingPass::enumerate(const NetRecord *parent)
{
    if (m_prepared)
        if (auto listing = m_prepared->take(parent))
            return std::move(*listing);
    return m_network.enumerate(parent);
}

bool ListingPass::opensAsDirectory(const QString &remoteName)
{
    return m_network.opensAsDirectory(remoteName);
}
