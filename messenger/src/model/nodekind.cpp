// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/nodekind.h"

#include <iterator>

namespace
{
const char *const typeNames[] = {"Generic",    "Domain",    "Server",  "Share",
                                 "File",       "Group",     "Network", "Root",
                                 "AdminShare", "Directory", "Tree",    "NDSContainer"};
} // namespace

NodeKind nodeKindOf(quint32 displayType)
{
    return displayType < std::size(typeNames) ? NodeKind(displayType) : NodeKind::Unknown;
}

QString typeName(quint32 displayType)
{
    return displayType < std::size(typeNames) ? QString::fromLatin1(typeNames[displayType])
                                              : QString();
}

QString pictureKey(NodeKind kind)
{
    switch (kind) {
    case NodeKind::Top:
        return QStringLiteral("root");
    case NodeKind::Placeholder:
        return QStringLiteral("server");
    default:
        return typeName(quint32(kind)).toLower();
    }
}
