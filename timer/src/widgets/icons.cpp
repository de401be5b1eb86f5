// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/icons.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

static void initResources()
{
    Q_INIT_RESOURCE(tempral);
}

QIcon tempralIcon(const QString &name)
{
    static QHash<QString, QIcon> cache;
    const QString key = name.toLower();
    if (auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    initResources();
    const QString path = ":/tempral/" + key + ".svg";
    if (!QFile::exists(path))
        return {};
    QSvgRenderer svg(path);
    if (!svg.isValid())
        return {};
    QIcon icon;
    for (int size : {16, 32, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        svg.render(&p);
        p.end();
        icon.addPixmap(pm);
    }
    cache.insert(key, icon);
    return icon;
}
