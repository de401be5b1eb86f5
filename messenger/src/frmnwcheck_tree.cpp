// The network tree: nodes, their listing on expansion, and the passes that
// list the tree level by level.
#include "frmnwcheck.h"
#include "netnode.h"
#include "networkprovider.h"

#include <QTreeWidget>

namespace {
const QString Placeholder = QStringLiteral("_FAKE");
}

NetNode *frmNWCheck::addNode(QTreeWidgetItem *parent, const QString &key, const QString &text,
                             const QString &image, bool placeholder)
{
    // Keys are unique tree-wide, and every node shows a picture of the list.
    if (nodes.contains(key) || !imlNWImages.contains(image))
        return nullptr;
    auto *node = new NetNode(key, text, image, placeholder);
    node->setIcon(0, imlNWImages.icon(image));
    if (parent)
        parent->addChild(node);
    else
        tvwNetwork->addTopLevelItem(node);
    nodes.add(node);
    return node;
}

NetNode *frmNWCheck::addResourceNode(QTreeWidgetItem *parent, const NetResource &resource)
{
    return addNode(parent, resource.RemoteName(), resource.ShortName(),
                   resource.ResourceTypeName().toLower());
}

bool frmNWCheck::removeNode(const QString &key)
{
    NetNode *node = nodes.take(key);
    if (!node)
        return false;
    // Forget the descendants too: deleting the node deletes them.
    QList<QTreeWidgetItem *> below = {node};
    while (!below.isEmpty()) {
        QTreeWidgetItem *at = below.takeLast();
        for (int i = 0; i < at->childCount(); ++i) {
            below.append(at->child(i));
            nodes.take(nodeKey(at->child(i)));
        }
    }
    delete node; // detaches itself from its parent
    return true;
}

void frmNWCheck::tvwNetwork_Expand(QTreeWidgetItem *item)
{
    NetNode *node = NetNode::from(item);
    if (!node)
        return;
    if (node->tag == QLatin1String("N") && node->image != QLatin1String("server"))
        ExpandNode(node);
    removeNode(node->key + Placeholder);
}

void frmNWCheck::ExpandNode(QTreeWidgetItem *item)
{
    NetNode *node = NetNode::from(item);
    // A node without its placeholder was listed already, or broke off.
    if (!node || !removeNode(node->key + Placeholder))
        return;

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

    for (const auto &child : resource->Children()) {
        NetNode *added = addResourceNode(node, *child);
        if (!added)
            return; // duplicate key or no picture: the listing breaks off
        added->tag = QStringLiteral("N");
        if (child->ResourceType() != 2 &&
            !addNode(added, added->key + Placeholder, QStringLiteral("FAKE"),
                     QStringLiteral("server"), true))
            return;
    }
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
