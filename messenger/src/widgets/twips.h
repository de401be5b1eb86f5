// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <cmath>

// Layouts are drawn in twips; 15 twips make one pixel at 96 dpi. Every
// length and position rounds to the nearest pixel, halves away from zero.
inline constexpr int TwipsPerPixel = 15;

inline int twipsToPixels(double twips)
{
    return int(std::lround(twips / TwipsPerPixel));
}

inline float pixelsToTwips(int pixels)
{
    return float(pixels * TwipsPerPixel);
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}
