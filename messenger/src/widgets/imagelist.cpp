// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/imagelist.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

const QStringList &ImageList::keys()
{
    static const QStringList all = {"directory", "root",   "group",  "ndscontainer", "network",
                                    "server",    "tree",   "domain", "share",        "adminshare",
                                    "printer",   "folder", "file"};
    return all;
}

void ImageList::load()
{
    for (const QString &key : keys()) {
        QSvgRenderer svg(QStringLiteral(":/vesnal/tree/%1.svg").arg(key));
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        if (svg.isValid()) {
            QPainter painter(&pixmap);
            svg.render(&painter);
        }
        // One shared icon per key: every node of that kind refers to it.
        m_icons.insert(key, QIcon(pixmap));
    }
}
