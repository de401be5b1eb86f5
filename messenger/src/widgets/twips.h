#pragma once

#include <QRect>
#include <cmath>

// Window layouts are kept in twips; 15 twips make one pixel at 96 dpi.
inline constexpr double TwipsPerPixel = 15.0;

inline int twipsToPixels(double twips)
{
    return int(std::lround(twips / TwipsPerPixel));
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}
