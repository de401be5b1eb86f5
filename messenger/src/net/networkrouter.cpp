// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/networkrouter.h"

#include <map>

void NetworkRouter::add(const QString &name, std::unique_ptr<NetworkProvider> backend)
{
    if (!backend || name.isEmpty() || find(name))
        return;
    m_backends.push_back(Entry{name, std::move(backend)});
}

NetworkProvider *NetworkRouter::find(const QString &name) const
{
    for (const auto &e : m_backends)
        if (e.name == name)
            return e.backend.get();
    return nullptr;
}

bool NetworkRouter::isProvider(const NetRecord &record)
{
    return record.displayType == NetDisplay::Network && record.remoteName == record.provider;
}

NetListing NetworkRouter::enumerate(const NetRecord *parent)
{
    if (!parent) {
        QList<NetRecord> providers;
        for (const auto &e : m_backends) {
            NetRecord r;
            r.scope = NetScope::GlobalNet;
            r.type = NetType::Any;
            r.displayType = NetDisplay::Network;
            r.usage = NetUsage::Container;
            r.remoteName = e.name;
            r.provider = e.name;
            providers.append(r);
        }
        return NetListing::listed(providers);
    }
    NetworkProvider *backend = find(parent->provider);
    if (!backend)
        return NetListing::refused();
    return stamped(backend->enumerate(ownParent(*parent)), parent->provider);
}

NetListing NetworkRouter::stamped(NetListing listing, const QString &provider)
{
    for (auto &child : listing.records)
        child.provider = provider;
    return listing;
}

// The back ends' own batches, by provider name.
class NetworkRouter::Batch : public ListingBatch
{
public:
    std::optional<NetListing> take(const NetRecord *parent) override
    {
        const auto own = parent ? m_batches.find(parent->provider) : m_batches.end();
        if (own == m_batches.end())
            return std::nullopt;
        auto listing = own->second->take(ownParent(*parent));
        return listing ? std::optional(stamped(std::move(*listing), parent->provider)) : listing;
    }

    std::map<QString, std::unique_ptr<ListingBatch>> m_batches;
};

std::unique_ptr<ListingBatch> NetworkRouter::listAhead(const QList<const NetRecord *> &parents)
{
    auto batch = std::make_unique<Batch>();
    for (const auto &e : m_backends) {
        QList<const NetRecord *> own;
        for (const NetRecord *parent : parents)
            if (parent && parent->provider == e.name)
                own.append(ownParent(*parent));
        if (!own.isEmpty())
            if (auto prepared = e.backend->listAhead(own))
                batch->m_batches[e.name] = std::move(prepared);
    }
    return batch->m_batches.empty() ? nullptr : std::move(batch);
}

bool NetworkRouter::opensAsDirectory(const QString &remoteName)
{
    for (const auto &e : m_backends)
        if (remoteName.startsWith(e.name + QLatin1Char('\\')))
            return e.backend->opensAsDirectory(remoteName);
    if (NetworkProvider *fallback = find(m_fallback))
        return fallback->opensAsDirectory(remoteName);
    return false;
}
