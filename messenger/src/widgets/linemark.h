// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A straight stroke between two points given in the parent's twips.
class LineMark : public QWidget
{
public:
    LineMark(QWidget *parent, QPointF fromTwips, QPointF toTwips);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QPointF m_from; // in pixels, relative to this widget
    QPointF m_to;
};
