// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/networkprovider.h"

#include <memory>

class NetResource;

// The network as one pass over the tree sees it. The listings the pass will
// need start together when it begins, so that their waits overlap, and each
// is taken from there when the pass comes to it; anything else is asked of
// the network directly. They start in the order they were last asked,
// never-asked first: when silent hosts use up the time of one pass, those
// that got no turn go first in the next, and every host gets its turn. What
// the pass did not take is dropped with it.
class ListingPass : public NetworkProvider
{
public:
    // `resources`: those the pass will list (the listed ones are left out).
    ListingPass(NetworkProvider &network, QList<const NetResource *> resources);

    NetListing enumerate(const NetRecord *parent) override;
    bool opensAsDirectory(const QString &remoteName) override;

private:
    NetworkProvider &m_network;
    std::unique_ptr<ListingBatch> m_prepared;
};
