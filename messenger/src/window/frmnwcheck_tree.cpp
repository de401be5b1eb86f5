// SPDX-License-Identifier: GPL-3.0-or-later
// The network tree: the first level at load, a node's listing when it is
// expanded, and the passes that list the tree level by level. The nodes
// themselves (NetworkTree) do the listing.
#include "window/frmnwcheck.h"

#include <QTreeView>

void frmNWCheck::populateTree()
{
    imlNWImages.load();
    nodes.setPictures([this](const QString &key) {
        return imlNWImages.contains(key) ? QVariant(imlNWImages.icon(key)) : QVariant();
    });
    // The root and the providers under it, each made visible, which opens
    // the root.
    nodes.populate();
    const QModelIndex root = nodes.index(0, 0);
    for (int row = 0; row < nodes.rowCount(root); ++row)
        tvwNetwork->scrollTo(nodes.index(row, 0, root));
    tvwNetwork->expand(root);
}

void frmNWCheck::tvwNetwork_Expand(const QModelIndex &node)
{
    // No answer: the node stays unlisted with its placeholder, and closed,
    // so that expanding it again, or the next activation, asks again.
    if (!nodes.expand(node, m_activation))
        tvwNetwork->collapse(node);
}

void frmNWCheck::ExpandAllNodes()
{
    nodes.expandAll(m_activation);
}
