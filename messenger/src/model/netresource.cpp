// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/netresource.h"

#include "model/keyindex.h"
#include "net/caseblindname.h"
#include "platform/networkprovider.h"

#include <chrono>

// What every resource of one tree shares.
struct NetResource::Common {
    NetworkProvider *network;
    KeyIndex keys;
    bool closing = false; // the top is going, and the whole tree with it
};

namespace
{
// Providers that add nothing a message can reach; matched exactly.
bool isFilteredOut(const QString &remoteName)
{
    return remoteName == QLatin1String("Web Client Network") ||
           remoteName == QLatin1String("Microsoft Terminal Services");
}

constexpr QStringView TopKey = u"_ROOT";
constexpr QStringView PlaceholderSuffix = u"_FAKE";
} // namespace

NetResource::NetResource(NetworkProvider *network)
    : m_common(new Common{network, {}}), m_hash(CaseBlindName::hashOf(TopKey)),
      m_kind(NodeKind::Top), m_state(NodeState::Listed)
{
}

NetResource::NetResource(NetResource &parent, NodeKind kind)
    : m_common(parent.m_common), m_parent(&parent), m_kind(kind)
{
    if (kind == NodeKind::Placeholder)
        m_hash = CaseBlindName::hashOf(key());
}

NetResource::~NetResource()
{
    if (m_parent) {
        if (!m_common->closing)
            m_common->keys.erase(this);
        return;
    }
    m_common->closing = true;
    m_placeholder.reset();
    ChildResources.reset();
    delete m_common;
}

NetworkProvider *NetResource::network() const
{
    return m_common->network;
}

KeyIndex &NetResource::keys() const
{
    return m_common->keys;
}

NetResources &NetResource::Children()
{
    if (!Enumerated)
        EnumerateChildren(m_common->network);
    return *ChildResources;
}

NetResources &NetResource::Children(NetworkProvider &via)
{
    if (!Enumerated)
        EnumerateChildren(&via);
    return *ChildResources;
}

void NetResource::EnumerateChildren(NetworkProvider *via)
{
    ChildResources.reset(new NetResources(*this));
    if (!via)
        return;
    const NetListing listed = via->enumerate(listingRecord());
    m_unanswered = listed.isUnanswered();
    if (listed.outcome != NetListing::Outcome::NotAsked)
        m_askedAt = std::chrono::steady_clock::now().time_since_epoch().count();
    if (!listed.isListed())
        return; // not opened: stays unlisted and is asked again next time
    ChildResources->m_members.reserve(size_t(listed.records.size()));
    for (const NetRecord &record : listed.records) {
        if (isFilteredOut(record.remoteName))
            continue;
        std::unique_ptr<NetResource> child(new NetResource(*this, nodeKindOf(record.displayType)));
        child->SetRecord(record);
        // A second child under a remote name already listed is skipped; the
        // rest of the listing is still taken.
        ChildResources->Add(std::move(child));
    }
    Enumerated = true;
}

void NetResource::SetRecord(const NetRecord &record)
{
    Record = record;
    IsRoot = false;
    m_hash = CaseBlindName::hashOf(Record.remoteName);
}

QStringView NetResource::shortName() const
{
    const QStringView name(Record.remoteName);
    return name.mid(name.lastIndexOf(QLatin1Char('\\')) + 1);
}

QString NetResource::tag() const
{
    if (m_kind == NodeKind::Placeholder)
        return QString();
    return m_state == NodeState::Listed ? QStringLiteral("Y") : QStringLiteral("N");
}

QString NetResource::key() const
{
    switch (m_kind) {
    case NodeKind::Top:
        return TopKey.toString();
    case NodeKind::Placeholder:
        return m_parent->key().append(PlaceholderSuffix);
    default:
        return Record.remoteName;
    }
}

bool NetResource::hasKey(QStringView key) const
{
    switch (m_kind) {
    case NodeKind::Top:
        return key == TopKey;
    case NodeKind::Placeholder:
        return key.endsWith(PlaceholderSuffix) &&
               m_parent->hasKey(key.chopped(PlaceholderSuffix.size()));
    default:
        return key == Record.remoteName;
    }
}

QStringView NetResource::text() const
{
    switch (m_kind) {
    case NodeKind::Top:
        return u"Mreža";
    case NodeKind::Placeholder:
        return PlaceholderText;
    default:
        return shortName();
    }
}

NetResource *NetResources::find(QStringView key, size_t hash) const
{
    return m_owner.keys().find(hash, [&](const NetResource &node) {
        return node.m_parent == &m_owner && node.m_kind != NodeKind::Placeholder &&
               key.compare(node.Record.remoteName, Qt::CaseInsensitive) == 0;
    });
}

NetResource *NetResources::Add(std::unique_ptr<NetResource> resource)
{
    if (find(resource->Record.remoteName, resource->m_hash))
        return nullptr;
    resource->m_row = Count();
    m_owner.keys().insert(resource.get());
    m_members.push_back(std::move(resource));
    return m_members.back().get();
}

void NetResources::truncate(int count)
{
    m_members.resize(size_t(count));
}

NetResource *NetResources::Item(int position) const
{
    if (position < 1 || position > Count())
        return nullptr;
    return m_members[size_t(position - 1)].get();
}

NetResource *NetResources::Item(const QString &key) const
{
    return find(key, CaseBlindName::hashOf(key));
}

bool NetResources::Remove(int position)
{
    const NetResource *member = Item(position);
    if (!member || member->inTree())
        return false;
    m_members.erase(m_members.begin() + (position - 1));
    for (size_t i = size_t(position - 1); i < m_members.size(); ++i)
        m_members[i]->m_row = int(i);
    return true;
}

bool NetResources::Remove(const QString &key)
{
    const NetResource *member = Item(key);
    return member && Remove(member->m_row + 1);
}
