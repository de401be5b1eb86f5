// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

// A rectangle drawn as an outline only, in one colour, width and line style.
// Styles are numbered 1 solid, 2 dashes, 3 dots, 4 dash-dot, 5 dash-dot-dot.
// It lets clicks through to what lies beneath.
class OutlineShape : public QWidget
{
    Q_OBJECT
public:
    OutlineShape(QColor colour, int style, int width, QWidget *parent);

    int borderStyle() const { return m_style; }
    void setBorderStyle(int style);
    int borderWidth() const { return m_width; }
    void setBorderWidth(int width);
    QColor borderColour() const { return m_colour; }
    Qt::PenStyle penStyle() const;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor m_colour;
    int m_style;
    int m_width;
};
