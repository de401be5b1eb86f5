// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window as drawn now against the picture of it kept in the source tree
// (the screenshots in docs/), for both programs' tests. The pictures are
// drawn offscreen with the fonts that scripts/deps.sh installs; each test
// names the program that draws them anew.
#include <QtGui>

// "" when `drawn` has the size of the picture at `keptPath` and every pixel
// matches it within `tolerance` in each colour channel; else how many
// differ, with the drawing saved beside the test (NAME.drawn.png) to look at.
inline QString pictureDifference(const QImage &drawn, const QString &keptPath, int tolerance = 8)
{
    const QImage now = drawn.convertToFormat(QImage::Format_RGB32);
    const QImage kept = QImage(keptPath).convertToFormat(QImage::Format_RGB32);
    int differing = now.size() == kept.size() ? 0 : -1;
    for (int y = 0; differing >= 0 && y < now.height(); ++y)
        for (int x = 0; x < now.width(); ++x) {
            const QRgb a = now.pixel(x, y), b = kept.pixel(x, y);
            differing += std::abs(qRed(a) - qRed(b)) > tolerance ||
                         std::abs(qGreen(a) - qGreen(b)) > tolerance ||
                         std::abs(qBlue(a) - qBlue(b)) > tolerance;
        }
    if (differing == 0)
        return {};
    const QString saved = QFileInfo(keptPath).completeBaseName() + ".drawn.png";
    now.save(saved);
    return keptPath + ": " +
           (differing < 0 ? "another size" : QString::number(differing) + " pixels differ") +
           " (drawn: " + saved + ")";
}
