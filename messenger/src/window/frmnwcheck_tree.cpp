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
    if (node->tag == QLatin1String("N") && node->image != QLatin1String("server"))
        ExpandNode(node);
    removePlaceholder(node);
}

void frmNWCheck::ExpandNode(QTreeWidgetItem *item)
{
    NetNode *node = NetNode::from(item);
    // A node without its placeholder was listed already, or broke off.
    if (!node || !node->hasPlaceholder)
        return;
    removePlaceholder(node);

    if (node->image == QLatin1String("share") && m_network.opensAsDirectory(node->key)) {
        node->tag = QStringLiteral("Y");
        return;
    }

    // Walk down from the top by the keys of the node's ancestors.
    QStringList path;
    for (QTreeWidgetItem *at = node; at->parent(); at = at->parent())
        path.prepend(nodeKey(at));
    NetResource *resource = &RootResource;
    for (const QString &key : std::as_const(path)) {
        resource = resource->Children().Item(key);
        if (!resource)
            return; // the model no longer holds that level: broken off
    }

    // The children are made off the tree and join it in one insertion.
    const NetResources &listed = resource->Children();
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
        return;
    tvwNetwork->viewport()->update();
    node->tag = QStringLiteral("Y");
}

void frmNWCheck::ExpandAllNodes()
{
    // Over the nodes that stand when the pass starts; nodes added during the
    // pass wait for the next one.
    nodes.compact();
    const size_t count = nodes.slotCount();
    for (size_t i = 0; i < count; ++i)
        if (NetNode *node = nodes.at(i))
            tvwNetwork_Expand(node);
}
