// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// The layout is drawn in twips, 15 to the pixel at 96 dpi. Each edge of a
// box rounds to its nearest pixel, so boxes that meet in twips still meet.
inline QRect twipsRect(int left, int top, int width, int height)
{
    const auto px = [](int twips) { return qRound(twips / 15.0); };
    const int l = px(left), t = px(top);
    return QRect(l, t, px(left + width) - l, px(top + height) - t);
}
