// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/nodekind.h"
#include "platform/netrecord.h"

#include <QStringView>
#include <memory>
#include <vector>

class KeyIndex;
class NetworkProvider;
class NetResources;

// One resource of the network (provider, workgroup, server, share …) with
// its lazily listed children, and the node that shows it in the network
// tree: the tree's nodes are the resources themselves. A resource created
// without a record is the top of the network and the root of its tree;
// every resource below it shares its network and its key index.
class NetResource
{
public:
    explicit NetResource(NetworkProvider *network);
    ~NetResource();
    NetResource(const NetResource &) = delete;
    NetResource &operator=(const NetResource &) = delete;

    // The children; lists them first unless a listing already completed.
    NetResources &Children();
    // The same, asking `via` for the listing (a pass's listings asked ahead).
    NetResources &Children(NetworkProvider &via);
    // Whether the last listing got no answer in time. Like a refused one it
    // is asked again at the next Children(); the tree keeps such a node
    // unlisted instead of taking it for an empty one.
    bool lastListingUnanswered() const { return m_unanswered; }
    // Whether a listing completed, so that Children() asks nothing more.
    bool isEnumerated() const { return Enumerated; }
    // What a listing of this resource asks the network for: null for the top.
    const NetRecord *listingRecord() const { return IsRoot ? nullptr : &Record; }
    // When a listing of it last reached the network (a steady clock's
    // nanoseconds; 0: never).
    qint64 askedAt() const { return m_askedAt; }

    QString Comment() const { return Record.comment; }
    QString LocalName() const { return Record.localName; }
    QString Provider() const { return Record.provider; }
    QString RemoteName() const { return Record.remoteName; }
    quint32 ResourceType() const { return Record.displayType; }
    QString ResourceTypeName() const { return typeName(Record.displayType); }
    QString ShortName() const { return shortName().toString(); }

    // As a node of the tree.
    NodeKind kind() const { return m_kind; }
    NodeState state() const { return m_state; }
    // "Y" once listed, "N" before; none for a placeholder.
    QString tag() const;
    // "_ROOT" for the top, the parent's key and "_FAKE" for a placeholder,
    // the remote name for a resource.
    QString key() const;
    bool hasKey(QStringView key) const;
    // "Mreža" for the top, "FAKE" for a placeholder, the short name for a resource.
    QStringView text() const;
    NetResource *placeholder() const { return m_placeholder.get(); }
    bool inTree() const { return m_inTree; }
    // The key's hash, blind to letter case.
    size_t keyHash() const { return m_hash; }

private:
    friend class NetResources;
    friend class NetworkTree;
    struct Common;
    // A child of `parent`: a resource, or a placeholder.
    NetResource(NetResource &parent, NodeKind kind);

    void EnumerateChildren(NetworkProvider *via);
    void SetRecord(const NetRecord &record);
    QStringView shortName() const;
    NetworkProvider *network() const;
    KeyIndex &keys() const;

    Common *m_common; // made and owned by the top
    NetRecord Record;
    NetResource *m_parent = nullptr;
    std::unique_ptr<NetResources> ChildResources;
    std::unique_ptr<NetResource> m_placeholder;
    size_t m_hash = 0;
    qint64 m_askedAt = 0;
    int m_row = 0;           // among its parent's children
    quint32 m_slot = 0;      // in the tree's order of addition
    int m_unansweredIn = -1; // the activation in which its listing last got no answer
    NodeKind m_kind;
    NodeState m_state = NodeState::Unlisted;
    bool Enumerated = false;
    bool IsRoot = true;
    bool m_unanswered = false;
    bool m_inTree = false;
};

// The ordered children of one resource, keyed by remote name. Keys ignore
// letter case and occur once; positions count from 1.
class NetResources
{
public:
    NetResource *Item(int position) const;
    NetResource *Item(const QString &key) const;
    int Count() const { return int(m_members.size()); }
    // Removes a member; false when there is none, or when the tree shows it
    // (a node stays once it is in the tree).
    bool Remove(int position);
    bool Remove(const QString &key);

    auto begin() const { return m_members.begin(); }
    auto end() const { return m_members.end(); }

private:
    friend class NetResource;
    friend class NetworkTree;
    explicit NetResources(NetResource &owner) : m_owner(owner) {}
    NetResource *find(QStringView key, size_t hash) const;
    // Takes the resource; refuses (and drops) one whose key is already here.
    NetResource *Add(std::unique_ptr<NetResource> resource);
    // Drops the members from position `count` + 1 on.
    void truncate(int count);

    NetResource &m_owner;
    std::vector<std::unique_ptr<NetResource>> m_members;
};
