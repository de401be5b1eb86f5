#include "outlineshape.h"

#include <QPainter>
#include <QPen>

OutlineShape::OutlineShape(QColor colour, int style, int width, QWidget *parent)
    : QWidget(parent), colour_(colour), style_(style), width_(width)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void OutlineShape::setBorderStyle(int style)
{
    if (style == style_)
        return;
    style_ = style;
    update();
}

void OutlineShape::setBorderWidth(int width)
{
    if (width == width_)
        return;
    width_ = width;
    update();
}

Qt::PenStyle OutlineShape::penStyle() const
{
    switch (style_) {
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
    QPen pen(colour_, width_, penStyle(), Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // The line lies inside the shape's bounds, as wide as the border.
    const qreal half = width_ / 2.0;
    p.drawRect(QRectF(half, half, width() - width_, height() - width_));
}
