// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window as drawn now against the picture of it kept in the source tree
// (the screenshots in docs/), for both programs' tests. The pictures are
// drawn offscreen with the fonts that scripts/deps.sh installs; a program
// that makes them anew is named in each test.
#include <QtGui>

// "" when `drawn` and the picture at `keptPath` have the same size and every
// pixel matches within `tolerance` in each colour channel; else what
// differs, with the drawing saved beside the test as NAME.drawn.png to look
// at.
inline QString pictureDifference(const QImage &drawn, const QString &keptPath, int tolerance = 8)
{
    const QImage kept(keptPath);
    if (kept.isNull())
        return keptPath + ": no picture";
    const QImage now = drawn.convertToFormat(QImage::Format_RGB32);
    const QImage was = kept.convertToFormat(QImage::Format_RGB32);
    QRect differing;
    int count = 0;
    if (now.size() == was.size())
        for (int y = 0; y < now.height(); ++y)
            for (int x = 0; x < now.width(); ++x) {
                const QRgb a = now.pixel(x, y), b = was.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) > tolerance ||
                    std::abs(qGreen(a) - qGreen(b)) > tolerance ||
                    std::abs(qBlue(a) - qBlue(b)) > tolerance) {
                    differing |= QRect(x, y, 1, 1);
                    ++count;
                }
            }
    if (now.size() == was.size() && count == 0)
        return {};
    const QString saved = QFileInfo(keptPath).completeBaseName() + ".drawn.png";
    now.save(saved);
    if (now.size() != was.size())
        return QStringLiteral("%1: drawn %2x%3, kept %4x%5 (see %6)")
            .arg(keptPath)
            .arg(now.width())
            .arg(now.height())
            .arg(was.width())
            .arg(was.height())
            .arg(saved);
    return QStringLiteral("%1: %2 pixels differ within %3x%4 at %5,%6 (see %7)")
        .arg(keptPath)
        .arg(count)
        .arg(differing.width())
        .arg(differing.height())
        .arg(differing.x())
        .arg(differing.y())
        .arg(saved);
}
