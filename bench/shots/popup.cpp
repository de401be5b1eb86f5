// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the window of a received message, as vesnal-popup shows it, and
// saves it as vesnal-popup.png into the folder given as the argument, or
// into docs/.
#include "offscreenscreen.h"
#include "popup/popupwindow.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

int main(int argc, char **argv)
{
    QTemporaryDir tmp;
    if (!useFramedOffscreenScreen(tmp.path()))
        return 2;
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(SHOTS_DOCS_DIR);

    const SpoolRecord record{
        QDateTime(QDate(2026, 12, 7), QTime(10, 15, 3), Qt::OffsetFromUTC, 3600), "PC_02", "rx-01",
        QStringLiteral("Sastanak kolegijuma pomeren je na petak u 10 časova, u maloj sali na "
                       "drugom spratu.\nMolim sve šefove službi da donesu izveštaje za "
                       "novembar.\n\nĐorđe")};
    PopupWindow window(QStringLiteral("20261207T091503.000Z-1-1"), record);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    // The window with a grey frame, as the other pictures in docs/ have it.
    const QPixmap inside = window.grab();
    QImage image(inside.size() + QSize(8, 8), QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter(&image).drawPixmap(4, 4, inside);
    const QString path = dir + QStringLiteral("/vesnal-popup.png");
    if (!image.save(path)) {
        std::fprintf(stderr, "bench_popup_shot: cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}
