// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QIcon>
#include <QStringList>

// The tree's pictures by key, drawn from the program's resources.
class ImageList
{
public:
    // The 13 keys the tree may name.
    static const QStringList &keys();

    void load();
    bool contains(const QString &key) const { return m_icons.contains(key); }
    QIcon icon(const QString &key) const { return m_icons.value(key); }

private:
    QHash<QString, QIcon> m_icons;
};
