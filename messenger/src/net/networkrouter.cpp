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

std::optional<QList<NetRecord>> NetworkRouter::list(const NetRecord *parent)
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
        return providers;
    }
    NetworkProvider *backend = find(parent->provider);
    if (!backend)
        return std::nullopt;
    // A provider record stands for its back end's own top.
    const bool isProvider =
        parent->displayType == NetDisplay::Network && parent->remoteName == parent->provider;
    auto children = backend->list(isProvider ? nullptr : parent);
    if (children)
        for (auto &child : *children)
            child.provider = parent->provider;
    return children;
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
