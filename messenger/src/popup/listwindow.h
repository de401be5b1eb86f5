// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class MessageList;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeView;
class UserChoices;

// "Primljene poruke": many received messages in one window instead of a
// stack of popups, and the history of what came. Above the list what was
// refused; the list (sender, destination, time, first line; unread ones
// bold); the whole text of the selected one, as plain text; "U redu" marks
// the selected one as read and goes on to the next unread one (and closes
// the window when none is left), "Sve pročitano" marks all and closes it.
// Closed any other way (Escape, the close button) it marks nothing. Like
// the popup it does not take the keyboard when it appears. "Odgovori"
// asks for a reply to the selected message; "Utišaj pošiljaoca" / "Ukloni
// utišavanje" mutes its sender or undoes it, and "Zvuk pri prijemu" turns
// the arrival sound on and off, both for this user (UserChoices).
class ListWindow : public QDialog
{
    Q_OBJECT
public:
    ListWindow(MessageList *messages, UserChoices *choices, QWidget *parent = nullptr);

    static QString caption();

    // Lines about refused messages; none hides the place.
    void setRefusals(const QStringList &lines);
    void setMessageText(const QString &text);
    void selectRow(int row);
    // The id of the selected message; empty when none is.
    QString selectedId() const;

    QLabel *refusalsLabel() const { return m_refusals; }
    QTreeView *view() const { return m_view; }
    QPlainTextEdit *textBox() const { return m_text; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *allButton() const { return m_all; }
    QPushButton *replyButton() const { return m_reply; }
    QPushButton *muteButton() const { return m_mute; }
    QCheckBox *soundBox() const { return m_sound; }

signals:
    void selected(const QString &id);
    void replyRequested(const QString &id);
    void confirmed(const QString &id);
    void allRead();

private:
    void confirmSelected();
    void toggleMute();
    void showChoices();

    MessageList *m_messages;
    QLabel *m_refusals;
    QTreeView *m_view;
    QPlainTextEdit *m_text;
    QPushButton *m_ok;
    QPushButton *m_all;
    QPushButton *m_reply;
    QPushButton *m_mute;
    QCheckBox *m_sound;
    UserChoices *m_choices;
};
