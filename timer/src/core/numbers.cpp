// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numbers.h"

#include <QLocale>
#include <cmath>

namespace numbers
{

double valueOf(const QString &text)
{
    int end = 0;
    while (end < text.size() && text[end].isDigit() && text[end].unicode() < 128)
        ++end;
    if (end == 0)
        return 0;
    if (end < text.size() && text[end] == u'.') {
        int frac = end + 1;
        while (frac < text.size() && text[frac].isDigit() && text[frac].unicode() < 128)
            ++frac;
        if (frac > end + 1)
            end = frac;
    }
    return QLocale::c().toDouble(text.left(end));
}

std::int32_t whole(double value)
{
    const double r = std::nearbyint(value); // default rounding: halves to even
    if (!(r > INT32_MIN))
        return INT32_MIN;
    if (r > INT32_MAX)
        return INT32_MAX;
    return std::int32_t(r);
}

QString shortest(double value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    return QString::number(value, 'g', 15);
}

bool portNumber(const QString &text, int *number)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return false;
    const double r = std::nearbyint(v);
    if (r < -32768 || r > 32767)
        return false;
    *number = int(r);
    return true;
}

} // namespace numbers
