// SPDX-License-Identifier: GPL-3.0-or-later
#include "offscreenscreen.h"

#include <QDir>
#include <QFile>

bool useFramedOffscreenScreen(const QString &folder)
{
    QFile config(QDir(folder).filePath(QStringLiteral("screen.json")));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    config.write(R"({"windowFrameMargins": true, "screens": [{"name": "wide", "x": 0, "y": 0,
               "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96,
               "dpr": 1}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    return true;
}
