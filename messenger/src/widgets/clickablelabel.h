// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A label used as a link: a click with the left button emits clicked().
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
