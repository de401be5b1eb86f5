// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/outlineshape.h"

#include <QPainter>
#include <QPen>

OutlineShape::OutlineShape(QColor colour, int style, int width, QWidget *parent)
    : QWidget(parent), m_colour(colour), m_style(style), m_width(width)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void OutlineShape::setBorderStyle(int style)
{
    if (style == m_style)
        return;
    m_style = style;
    update();
}

void OutlineShape::setBorderWidth(int width)
{
    if (width == m_width)
        return;
    m_width = width;
    update();
}

Qt::PenStyle OutlineShape::penStyle() const
{
    switch (m_style) {
    case 2:
        return Qt::DashLine;
    case 3:
        return Qt::DotLine;
    case 4:
        return Qt::DashDotLine;
    case 5:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

void OutlineShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QPen pen(m_colour, m_width, penStyle(), Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // The line lies inside the shape's bounds, as wide as the border.
    const qreal half = m_width / 2.0;
    p.drawRect(QRectF(half, half, width() - m_width, height() - m_width));
}
