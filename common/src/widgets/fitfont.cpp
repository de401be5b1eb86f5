// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/fitfont.h"

#include <QFontMetricsF>
#include <QLabel>

static bool fits(const QFont &font, QSize box, int flags, const QStringList &texts)
{
    const QFontMetricsF fm(font);
    for (const QString &t : texts) {
        const QRectF r = fm.boundingRect(QRectF(0, 0, box.width(), box.height()), flags, t);
        if (r.width() > box.width() || r.height() > box.height())
            return false;
    }
    return true;
}

QFont fitFont(const QFont &font, QSize box, int flags, const QStringList &texts)
{
    QFont f = font;
    while (f.pointSizeF() > 6 && !fits(f, box, flags, texts))
        f.setPointSizeF(f.pointSizeF() - 0.25);
    return f;
}

void fitLabel(QLabel *label, const QStringList &texts)
{
    int flags = int(label->alignment());
    if (label->wordWrap())
        flags |= Qt::TextWordWrap;
    const QSize box = label->contentsRect().size();
    label->setFont(
        fitFont(label->font(), box, flags, texts.isEmpty() ? QStringList{label->text()} : texts));
}
