// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/fonts.h"

QFont layoutFont(const QString &face, double points, bool bold, bool underline)
{
    static const bool tahomaFallback = [] {
        QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("Liberation Sans"),
                                                              QStringLiteral("DejaVu Sans")});
        return true;
    }();
    Q_UNUSED(tahomaFallback);
    QFont font(face);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}
