// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/fonts.h"

#include <QFontMetricsF>
#include <QLabel>

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

void fitToLabel(QLabel *label)
{
    const QRectF box = label->contentsRect();
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    QFont font = label->font();
    const auto fits = [&] {
        const QRectF needed = QFontMetricsF(font).boundingRect(box, flags, label->text());
        return needed.width() <= box.width() && needed.height() <= box.height();
    };
    while (font.pointSizeF() > 6 && !fits())
        font.setPointSizeF(font.pointSizeF() - 0.25);
    label->setFont(font);
}
