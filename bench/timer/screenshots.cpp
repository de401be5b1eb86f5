// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the window in three states into PNG files:
//   tempral_screenshots FOLDER
// tempral-stopped.png (stopped, load off), tempral-counting.png (counting,
// minutes shown), tempral-on.png (load on without limit). The window's test
// compares the window with the ones in docs/.
#include "shots.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(".");
    bool ok = true;
    const QMap<QString, QImage> shots = tempralShots();
    for (auto shot = shots.begin(); shot != shots.end(); ++shot)
        ok &= shot.value().save(QDir(folder).filePath(shot.key()));
    return ok ? 0 : 1;
}
