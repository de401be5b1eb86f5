// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the pictures of docs/ (pictures.h) and saves them into the folder
// given as the argument, or into docs/.
#include "offscreenscreen.h"
#include "pictures.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QTemporaryDir tmp;
    if (!useFramedOffscreenScreen(tmp.path()))
        return 2;
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SHOTS_DOCS_DIR);
    QMap<QString, QImage> pictures = messengerPictures();
    pictures.insert(popupPictures());
    int written = 0;
    for (auto p = pictures.cbegin(); p != pictures.cend(); ++p) {
        const QString path = dir + '/' + p.key();
        if (p.value().isNull() || !p.value().save(path)) {
            std::fprintf(stderr, "bench_shots: cannot draw or write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
        ++written;
    }
    return written == 7 ? 0 : 1;
}
