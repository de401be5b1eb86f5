// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "receiver/spoolrecord.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// One received message on the screen: the heading line, an empty line and
// the text, as plain text only (nothing in it is interpreted: no markup, no
// links), selectable and wrapped; and "U redu". It stays above other
// windows and does not take the keyboard when it appears. "U redu" accepts
// it (the message counts as read); closing it any other way rejects it.
// "Odgovori" asks for a reply to it, and leaves it open.
class PopupWindow : public QDialog
{
    Q_OBJECT
public:
    PopupWindow(const QString &id, const SpoolRecord &record, QWidget *parent = nullptr);

    static QString caption();
    // Makes `box` a read-only plain-text view of a message: nothing in the
    // text is taken as markup, a long one wraps and scrolls.
    static void setUpTextBox(QPlainTextEdit *box);
    // "Poruka od PC_02 za RX-01, 07.12.2026. u 10:15:03"
    static QString heading(const SpoolRecord &record);

    const QString &id() const { return m_id; }
    QPlainTextEdit *textBox() const { return m_text; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *replyButton() const { return m_reply; }

signals:
    void replyRequested(const QString &id);

private:
    QString m_id;
    QPlainTextEdit *m_text;
    QPushButton *m_ok;
    QPushButton *m_reply;
};
