// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/linemark.h"

#include "widgets/twips.h"

#include <QPainter>

LineMark::LineMark(QWidget *parent, QPointF fromTwips, QPointF toTwips) : QWidget(parent)
{
    const QPointF a = fromTwips / TwipsPerPixel;
    const QPointF b = toTwips / TwipsPerPixel;
    const QRect box = QRectF(a, b).normalized().toAlignedRect().adjusted(-1, -1, 1, 1);
    setGeometry(box);
    m_from = a - box.topLeft();
    m_to = b - box.topLeft();
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(palette().windowText().color(), 1));
    painter.drawLine(m_from, m_to);
}
