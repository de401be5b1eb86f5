// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "receiver/spoolrecord.h"

#include <QDialog>

class CappedTextEdit;
class QLabel;
class QPushButton;
class ReplySender;

// "Vesnal – odgovor": the reply to one received message. What it answers,
// where the reply goes (or why it cannot go), a plain-text editor of at most
// 896 characters, as the messenger's, its length, "Pošalji" and "Zatvori".
// Tab moves between the editor and the buttons, Ctrl+Enter sends, Escape
// closes. The sending runs on its own: the window never waits for it.
class ReplyWindow : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MaxLength = 896;

    // `sender` becomes the window's.
    ReplyWindow(const SpoolRecord &record, ReplySender *sender, QWidget *parent = nullptr);

    static QString caption();

    CappedTextEdit *editor() const { return m_editor; }
    QLabel *statusLabel() const { return m_status; }
    QPushButton *sendButton() const { return m_send; }
    ReplySender *sender() const { return m_sender; }

private:
    void update();
    void send();

    ReplySender *m_sender;
    QLabel *m_status;
    CappedTextEdit *m_editor;
    QLabel *m_length;
    QPushButton *m_send;
    QPushButton *m_close;
};
