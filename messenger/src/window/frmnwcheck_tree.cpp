// SPDX-License-Identifier: GPL-3.0-or-later
// The network tree: nodes, their listing on expansion, and the passes that
// list the tree level by level.
#include "platform/networkprovider.h"
#include "widgets/netnode.h"
#include "window/frmnwcheck.h"

#include <QTreeWidget>

NetNode *frmNWCheck::makeNode(const QString &key, const QString &text, const QString &image,
                              bool placeholder)
{
    // Keys are unique tree-wide, and every node shows a picture of the list.
    if (nodes.contains(key) || !imlNWImages.contains(image))
        return nullptr;
    auto *node = new NetNode(key, text, image, placeholder);
    node->setIcon(0, imlNWImages.icon(image));
    nodes.add(node);
    return node;
}

NetNode *frmNWCheck::makeResourceNode(const NetResource &resource)
{
    return makeNode(resource.RemoteName(), resource.ShortName(), resource.imageKey());
}

bool frmNWCheck::addPlaceholder(NetNode *node)
{
    NetNode *placeholder = makeNode(node->key + QStringLiteral("_FAKE"), QStringLiteral("FAKE"),
                                    QStringLiteral("server"), true);
    if (!placeholder)
        return false;
    node->addChild(placeholder);
    node->hasPlaceholder = true;
    return true;
}

void frmNWCheck::removePlaceholder(NetNode *node)
{
    // Only the node's own placeholder goes: a real node whose remote name
    // happens to end in "_FAKE" is never taken for one.
    if (!node->hasPlaceholder)
        return;
    node->hasPlaceholder = false;
    delete nodes.take(node->key + QStringLiteral("_FAKE"));
}

void frmNWCheck::tvwNetwork_Expand(QTreeWidgetItem *item)
{
    NetNode *node = NetNode::from(item);
    if (!node)
        return;
    if (node->tag == QLatin1String("N") && node->image != QLatin1String("server") &&
        !ExpandNode(node)) {
        // No answer: the node stays unlisted with its placeholder, and
        // closed, so that expanding it again, or the next activation, asks
        // again.
        node->unansweredIn = m_activation;
        node->setExpanded(false);
        return;
    }
    removePlaceholder(node);
}

bool frmNWCheck::ExpandNode(QTreeWidgetItem *item)
{
    NetNode *node = NetNode::from(item);
    // A node without its placeholder was listed already, or broke off.
    if (!node || !node->hasPlaceholder)
        return true;

    if (node->image == QLatin1String("share") && m_network.opensAsDirectory(node->key)) {
        removePlaceholder(node);
        node->tag = QStringLiteral("Y");
        return true;
    }

    NetResource *resource = resourceOf(node, true);
    if (!resource) {
        removePlaceholder(node);
        return true; // the model no longer holds that level: broken off
    }
    const NetResources &listed = resource->Children();
    if (resource->lastListingUnanswered())
        return false;
    removePlaceholder(node);

    // The children are made off the tree and join it in one insertion.
    QList<QTreeWidgetItem *> children;
    children.reserve(listed.Count());
    nodes.reserveMore(2 * qsizetype(listed.Count()));
    bool complete = true;
    for (const auto &child : listed) {
        NetNode *added = makeResourceNode(*child);
        if (!added) {
            complete = false; // duplicate key or no picture: the listing breaks off
            break;
        }
        added->tag = QStringLiteral("N");
        children.append(added);
        if (child->ResourceType() != NetDisplay::Server && !addPlaceholder(added)) {
            complete = false;
            break;
        }
    }
    node->addChildren(children);
    if (!complete)
        return true;
    tvwNetwork->viewport()->update();
    node->tag = QStringLiteral("Y");
    return true;
}

NetResource *frmNWCheck::resourceOf(QTreeWidgetItem *node, bool mayList)
{
    // Walk down from the top by the keys of the node's ancestors.
    QStringList path;
    for (QTreeWidgetItem *at = node; at->parent(); at = at->parent())
        path.prepend(nodeKey(at));
    NetResource *resource = &RootResource;
    for (const QString &key : std::as_const(path)) {
        resource = mayList ? resource->Children().Item(key) : resource->listedChild(key);
        if (!resource)
            return nullptr;
    }
    return resource;
}

void frmNWCheck::ExpandAllNodes()
{
    // Over the nodes that stand when the pass starts; nodes added during the
    // pass wait for the next one. A node whose listing got no answer in this
    // activation is not asked again before the next: one wait per
    // activation, not one per pass (nor per Enter in the name box).
    nodes.compact();
    const size_t count = nodes.slotCount();
    const auto visited = [this](const NetNode *node) {
        return node && node->unansweredIn != m_activation;
    };

    // The listings this pass will ask for start together, so that their
    // waits overlap; the handler then takes each result in the nodes' order,
    // and the tree ends as a walk that waits for each in turn leaves it.
    QList<NetResource *> pending;
    for (size_t i = 0; i < count; ++i) {
        NetNode *node = nodes.at(i);
        if (visited(node) && node->hasPlaceholder && node->tag == QLatin1String("N") &&
            node->image != QLatin1String("server") && node->image != QLatin1String("share"))
            if (NetResource *resource = resourceOf(node, false))
                pending.append(resource);
    }
    RootResource.listAhead(pending);
    for (size_t i = 0; i < count; ++i)
        if (NetNode *node = nodes.at(i); visited(node))
            tvwNetwork_Expand(node);
    RootResource.listAhead({});
}
