// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QPushButton>

// A push button in the graphical style: a face colour of its own, a 32x32
// picture at the top and the caption below it, centred and wrapped onto as
// many lines as it needs. The caption's font shrinks, if need be, so that it
// always shows whole. Enter presses it as Space does, once per key press.
class PictureButton : public QPushButton
{
    Q_OBJECT
public:
    explicit PictureButton(QWidget *parent);

    void setPicture(const QString &name);
    const QString &pictureName() const { return m_pictureName; }
    void setFace(const QColor &colour);
    QColor face() const { return m_face; }
    // The font the caption is drawn in, fitted to the space under the picture.
    QFont captionFont() const;
    QRect captionRect() const;

protected:
    void paintEvent(QPaintEvent *) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    QString m_pictureName;
    QIcon m_picture;
    QColor m_face;
};
