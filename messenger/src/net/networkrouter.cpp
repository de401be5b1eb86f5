// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/networkrouter.h"

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
    NetListing children = backend->enumerate(isProvider(*parent) ? nullptr : parent);
    for (auto &child : children.records)
        child.provider = parent->provider;
    return children;
}

void NetworkRouter::listAhead(const QList<const NetRecord *> &parents)
{
    for (const auto &e : m_backends) {
        QList<const NetRecord *> own;
        for (const NetRecord *parent : parents)
            if (parent && parent->provider == e.name)
                own.append(isProvider(*parent) ? nullptr : parent);
        e.backend->listAhead(own);
    }
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
