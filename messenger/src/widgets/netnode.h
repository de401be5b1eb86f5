// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeWidgetItem>

// A node of the network tree with its key, tag ("N" unlisted, "Y" listed)
// and picture key. Held in the item itself, not in item data roles, so that
// large trees fill quickly.
class NetNode : public QTreeWidgetItem
{
public:
    static constexpr int Type = QTreeWidgetItem::UserType + 1;

    NetNode(const QString &key, const QString &text, const QString &image, bool placeholder)
        : QTreeWidgetItem(Type), key(key), image(image), placeholder(placeholder)
    {
        setText(0, text);
    }

    static NetNode *from(QTreeWidgetItem *item)
    {
        return item && item->type() == Type ? static_cast<NetNode *>(item) : nullptr;
    }
    static const NetNode *from(const QTreeWidgetItem *item)
    {
        return item && item->type() == Type ? static_cast<const NetNode *>(item) : nullptr;
    }

    const QString key;
    QString tag;
    const QString image;
    const bool placeholder;
    // Whether this node's own placeholder child still stands.
    bool hasPlaceholder = false;
    // The activation in which this node's listing last got no answer (-1:
    // none). The later passes of that activation leave it alone.
    int unansweredIn = -1;
};
