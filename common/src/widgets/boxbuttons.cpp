// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/boxbuttons.h"

#include <QMessageBox>
#include <QPushButton>

void nameButtonsInSerbian(QMessageBox &box)
{
    for (const auto &[button, text] :
         {std::pair{QMessageBox::Ok, "U redu"}, std::pair{QMessageBox::Yes, "Da"},
          std::pair{QMessageBox::No, "Ne"}})
        if (QAbstractButton *b = box.button(button))
            b->setText(QString::fromUtf8(text));
}
