// SPDX-License-Identifier: GPL-3.0-or-later
// Sending: one command line per recipient, started without waiting, and
// one box that tells whether the message was handed over; later, when the
// helpers have ended, one report of the recipients they could not reach.
#include "platform/processlauncher.h"
#include "window/frmnwcheck.h"
#include "window/messageboxes.h"

#include <QLineEdit>
#include <QTextEdit>

void frmNWCheck::Send_Click()
{
    const QString textSent = QLatin1Char(' ') + messageText();
    bool isNumber = false;
    const int count = Total->text().trimmed().toInt(&isNumber);
    if (textSent.size() <= 1) {
        m_boxes.report(this, MessageBoxes::Icon::Critical,
                       QStringLiteral("Ne postoji tekst poruke!"));
    } else if (isNumber && count == 0) {
        // A blank count (the own group is listed) is no number and lets the
        // send go on.
        m_boxes.report(this, MessageBoxes::Icon::Critical,
                       QStringLiteral("Nije navedeno ko su primaoci poruke!"));
    } else {
        Manual->clear();
        qint64 outcome = 0;
        const QStringList entries = m_recipients.entries();
        m_followUp.beginClick();
        for (int i = 0; i < entries.size(); ++i) {
            const QString &entry = entries.at(i);
            const bool group = entry == RecipientList::GroupEntry;
            const QString name = group ? QStringLiteral("*") : entry;
            if (const qint64 task =
                    m_launcher.start(QStringLiteral("net send ") + name + textSent)) {
                outcome = task;
                m_followUp.started(task, entry, group);
            } else {
                m_followUp.notStarted(entry);
            }
            if (i == m_recipients.rowCount() - 1) {
                if (outcome != 0)
                    m_boxes.report(this, MessageBoxes::Icon::None,
                                   QStringLiteral("          Poruka je predata mreži.          "));
                else
                    m_boxes.report(
                        this, MessageBoxes::Icon::Critical,
                        QStringLiteral("Poruka nije mogla biti ispravno predata mreži!"));
            }
        }
        m_followUp.endClick();
    }
    RichTextBox1->setFocus();
}

void frmNWCheck::Send_Outcome(const TaskOutcome &outcome)
{
    m_followUp.ended(outcome);
}
