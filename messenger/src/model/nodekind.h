// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/netrecord.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

// What a node of the network tree stands for. A resource's kind is the
// display type of its record.
enum class NodeKind : quint8 {
    Generic = NetDisplay::Generic,
    Domain = NetDisplay::Domain, // a domain or workgroup
    Server = NetDisplay::Server,
    Share = NetDisplay::Share,
    File = NetDisplay::File,
    Group = NetDisplay::Group,
    Network = NetDisplay::Network, // a network provider
    Root = NetDisplay::Root,
    ShareAdmin = NetDisplay::ShareAdmin,
    Directory = NetDisplay::Directory,
    Tree = NetDisplay::Tree,
    NdsContainer = NetDisplay::NdsContainer,
    Unknown,     // a display type beyond the known ones
    Top,         // the tree's root, "Mreža": the top of the network
    Placeholder, // "FAKE", the one child of a node not listed yet
};
inline constexpr int NodeKindCount = int(NodeKind::Placeholder) + 1;

// The text a placeholder shows; a node that bears it is never a recipient.
inline constexpr QStringView PlaceholderText = u"FAKE";

// How far a node's children are listed; the tag reads "Y" once Listed and
// "N" before (a placeholder has none).
enum class NodeState : quint8 {
    Unlisted,  // not listed yet (a server stays so for good)
    Listed,    // its listing ended normally, or it needs none
    BrokenOff, // its listing broke off: it is never listed again
};

NodeKind nodeKindOf(quint32 displayType);
// The type name of a display type ("Domain", "Server" …; empty beyond them).
QString typeName(quint32 displayType);
// The key of the picture a node of this kind shows: the type name in lower
// case; "root" for the top, "server" for a placeholder. Empty when none.
QString pictureKey(NodeKind kind);
