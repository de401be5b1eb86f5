// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/messageboxes.h"

#include "widgets/boxbuttons.h"

#include <QApplication>
#include <QMessageBox>

namespace
{

void setUp(QMessageBox &box, MessageBoxes::Icon icon, const QString &text)
{
    using Icon = MessageBoxes::Icon;
    box.setWindowTitle(QApplication::applicationName());
    box.setText(text);
    box.setIcon(icon == Icon::Critical      ? QMessageBox::Critical
                : icon == Icon::Exclamation ? QMessageBox::Warning
                                            : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    nameButtonsInSerbian(box);
}

} // namespace

void QtMessageBoxes::report(QWidget *parent, Icon icon, const QString &text)
{
    QMessageBox box(parent);
    setUp(box, icon, text);
    box.exec();
}

bool QtMessageBoxes::confirm(QWidget *parent, const QString &text)
{
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationName());
    box.setText(text);
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    nameButtonsInSerbian(box);
    return box.exec() == QMessageBox::Yes;
}

void QtMessageBoxes::notify(QWidget *parent, Icon icon, const QString &text)
{
    auto *box = new QMessageBox(parent);
    setUp(*box, icon, text);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}
