// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/captionlabel.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

namespace
{

// Passes a left click on the label on to the box. Lives as long as the label.
class ClickToBox : public QObject
{
public:
    ClickToBox(QLabel *label, QAbstractButton *box) : QObject(label), m_box(box)
    {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::MouseButtonRelease)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(e);
        const auto *label = static_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint()) && m_box && m_box->isEnabled())
            m_box->click();
        return false;
    }

private:
    QPointer<QAbstractButton> m_box;
};

} // namespace

void makeCaption(QLabel *label, QAbstractButton *box)
{
    label->setBuddy(box);
    new ClickToBox(label, box);
}
