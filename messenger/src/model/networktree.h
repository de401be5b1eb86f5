// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/netresource.h"

#include <QAbstractItemModel>
#include <QVariant>
#include <array>
#include <functional>
#include <vector>

class NetworkProvider;

// The network tree as an item model: the resources below one top, each
// shown once it is listed, with a placeholder child under every node that
// may still be listed so that a view offers to expand it. Keys are unique
// in the whole tree; a node is found by key through the key index the
// resources share. Besides the model, it lists the tree as its handlers
// ask: one node when it is expanded, and passes over every node.
class NetworkTree : public QAbstractItemModel
{
public:
    explicit NetworkTree(NetResource &top, QObject *parent = nullptr);

    // The picture shown for each picture key (an invalid value: the key has
    // none, and a resource of that kind gets no node).
    void setPictures(const std::function<QVariant(const QString &key)> &pictureOf);

    // The root and the first level below it (once).
    void populate();
    // Lists the node if it still needs it, and removes its placeholder.
    // False when the listing got no answer: the node then stays unlisted
    // with its placeholder, and the later passes of `activation` skip it.
    bool expand(const QModelIndex &node, int activation);
    // Runs expand() once over the nodes that stand when it starts, in the
    // order they were added; nodes added meanwhile wait for the next pass.
    void expandAll(int activation);

    // The node with this key (invalid when none).
    QModelIndex find(const QString &key) const;
    NetResource *nodeAt(const QModelIndex &index) const;
    qsizetype size() const;
    // Every node, in the order they were added.
    template <class Visit> void forEachNode(Visit visit) const
    {
        for (const NetResource *node : m_order)
            if (node)
                visit(*node);
    }
    // The first node, in the order they were added, that `match` takes.
    template <class Match> const NetResource *firstNode(Match match) const
    {
        for (const NetResource *node : m_order)
            if (node && match(*node))
                return node;
        return nullptr;
    }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QModelIndex indexOf(const NetResource *node) const;
    bool expand(NetResource *node, int activation, NetworkProvider &via);
    // Lists one node; false when the listing got no answer.
    bool list(NetResource *node, NetworkProvider &via);
    // Whether a node of this kind and key may join: it needs a picture, and
    // no node of the tree may hold its key.
    bool mayJoin(const NetResource &node, QStringView key) const;
    // The node of the tree with `key` (its hash `hash`), if one stands.
    const NetResource *nodeWithKey(QStringView key, size_t hash) const;
    void join(NetResource *node);
    // Gives the node its placeholder; when it cannot have one, the node is
    // broken off.
    bool addPlaceholder(NetResource *node);
    void removePlaceholder(NetResource *node);

    NetResource &m_top;
    std::array<QVariant, NodeKindCount> m_pictures;
    // The nodes in the order they were added; a removed one leaves a hole
    // until the next pass starts.
    std::vector<NetResource *> m_order;
};
