// SPDX-License-Identifier: GPL-3.0-or-later
// The message editor: what its changes and focus do to the length line and
// the Latin-script reminder (MessageDraft holds the rules), and clearing it.
#include "widgets/cappedtextedit.h"
#include "window/frmnwcheck.h"

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
    m_draft.textChanged(int(messageText().size()));
}

void frmNWCheck::RichTextBox1_GotFocus()
{
    m_draft.setEditing(true);
}

void frmNWCheck::RichTextBox1_LostFocus()
{
    m_draft.setEditing(false);
}

void frmNWCheck::ResetMessage_Click()
{
    if (!RichTextBox1->document()->isEmpty())
        RichTextBox1->clear();
    RichTextBox1->setFocus();
    m_draft.cleared();
}

void frmNWCheck::showLengthText()
{
    Length->setText(m_draft.lengthText());
}

void frmNWCheck::showLengthMark()
{
    switch (m_draft.lengthMark()) {
    case MessageDraft::LengthMark::Unmarked:
        return setTextColour(Length, QColor(64, 64, 64));
    case MessageDraft::LengthMark::FitsGroup:
        return setTextColour(Length, QColor(0, 0, 0));
    case MessageDraft::LengthMark::TooLongForGroup:
        return setTextColour(Length, QColor(255, 0, 0));
    }
}

void frmNWCheck::showEditing()
{
    setTextColour(Latinica, m_draft.editing() ? QColor(0, 0, 0) : QColor(128, 128, 128));
}
