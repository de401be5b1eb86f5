// SPDX-License-Identifier: GPL-3.0-or-later
// The message editor: its length label, the 896-character warning, the
// colour for texts too long for the own group, and clearing it.
#include "widgets/cappedtextedit.h"
#include "window/frmnwcheck.h"
#include "window/messageboxes.h"

#include <QLabel>
#include <QTextEdit>

namespace
{
void setTextColour(QLabel *label, QColor colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}
} // namespace

QString frmNWCheck::messageText() const
{
    return typedText(*RichTextBox1->document());
}

void frmNWCheck::RichTextBox1_Change()
{
    const qsizetype length = messageText().size();
    Length->setText(QStringLiteral("Dužina poruke: ") + QString::number(length));
    if (length > 895)
        m_boxes.report(this, MessageBoxes::Icon::Critical,
                       QStringLiteral("Poruka ne sme sadržati više od 896 znakova!"));
    setTextColour(Length, length > 128 ? QColor(255, 0, 0) : QColor(0, 0, 0));
}

void frmNWCheck::RichTextBox1_GotFocus()
{
    setTextColour(Latinica, QColor(0, 0, 0));
}

void frmNWCheck::RichTextBox1_LostFocus()
{
    setTextColour(Latinica, QColor(128, 128, 128));
}

void frmNWCheck::ResetMessage_Click()
{
    if (!RichTextBox1->document()->isEmpty())
        RichTextBox1->clear();
    RichTextBox1->setFocus();
    Length->setText(QStringLiteral(" "));
}
