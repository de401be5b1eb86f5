// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/picturebutton.h"

#include "widgets/fitfont.h"
#include "widgets/icons.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace
{
constexpr int kMargin = 4;
constexpr int kPicture = 32;
constexpr int kFlags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap;
} // namespace

PictureButton::PictureButton(QWidget *parent) : QPushButton(parent)
{
    m_face = palette().color(QPalette::Button);
}

void PictureButton::setPicture(const QString &name)
{
    m_pictureName = name;
    m_picture = tempralIcon(name);
    update();
}

void PictureButton::setFace(const QColor &colour)
{
    m_face = colour;
    update();
}

void PictureButton::keyPressEvent(QKeyEvent *e)
{
    // A push button outside a dialog ignores Enter; this one is pressed by
    // it. Held down, the key repeats: only its first press counts.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (!e->isAutoRepeat())
            click();
        return;
    }
    QPushButton::keyPressEvent(e);
}

QRect PictureButton::captionRect() const
{
    const int top = kMargin + kPicture + 2;
    return QRect(kMargin, top, width() - 2 * kMargin, height() - top - kMargin);
}

QFont PictureButton::captionFont() const
{
    return fitFont(font(), captionRect().size(), kFlags, {text()});
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    opt.icon = QIcon();
    opt.palette.setColor(QPalette::Button, m_face);
    p.drawControl(QStyle::CE_PushButtonBevel, opt);

    const int shift = isDown() ? 1 : 0;
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    const QRect pic((width() - kPicture) / 2 + shift, kMargin + shift, kPicture, kPicture);
    m_picture.paint(&p, pic, Qt::AlignCenter, mode);

    p.setFont(captionFont());
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(captionRect().translated(shift, shift), kFlags, text());
}
