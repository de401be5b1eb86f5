// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

// The message being written, as its length line and the Latin-script
// reminder beside the editor show it. The editor holds at most MaxLength
// characters; a text that reaches it is reported, each time a change leaves
// it there. A text longer than a message to the own group may be is marked,
// and left as it is.
class MessageDraft : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxLength = 896;
    static constexpr int GroupMaxLength = 128;

    // How the length line is marked: not yet, or by whether the text would
    // go to the own group whole.
    enum class LengthMark { Unmarked, FitsGroup, TooLongForGroup };

    using QObject::QObject;

    // "Dužina poruke: " and the length since the last change, or one blank
    // before the first and after clearing.
    QString lengthText() const;
    LengthMark lengthMark() const { return m_mark; }
    // The editor has the focus: the reminder stands out.
    bool editing() const { return m_editing; }

    // After every change of the text, to `length` characters.
    void textChanged(int length);
    // After the text has been cleared on purpose: the length line goes blank.
    void cleared();
    void setEditing(bool editing);

signals:
    void lengthTextChanged();
    // The text has reached MaxLength; emitted between the length text and
    // the mark, so that the new length shows while this is reported.
    void limitReached();
    void lengthMarkChanged();
    void editingChanged();

private:
    int m_length = -1; // -1: the length line is blank
    LengthMark m_mark = LengthMark::Unmarked;
    bool m_editing = false;
};
