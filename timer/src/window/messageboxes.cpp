// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/messageboxes.h"

#include "widgets/boxbuttons.h"

#include <QMessageBox>

static void showBox(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                    const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    nameButtonsInSerbian(box);
    box.exec();
}

void QtMessageBoxes::critical(QWidget *parent, const QString &title, const QString &text)
{
    showBox(parent, QMessageBox::Critical, title, text);
}

void QtMessageBoxes::warning(QWidget *parent, const QString &title, const QString &text)
{
    showBox(parent, QMessageBox::Warning, title, text);
}
