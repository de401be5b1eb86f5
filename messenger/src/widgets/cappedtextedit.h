// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextEdit>

// The text of a document as the user typed it: each line break (Enter,
// Shift+Enter, or one within a pasted text) is one "\n", every other
// character stays as it is. (toPlainText() would also turn a no-break space
// into a plain one.)
QString typedText(const QTextDocument &document);

// A plain-text editor that never holds more than maxLength characters.
// Typing past the cap is not taken; a paste or drop is cut to fit.
// A line break is held as one "\n" and counts as one character.
class CappedTextEdit : public QTextEdit
{
public:
    explicit CappedTextEdit(int maxLength, QWidget *parent = nullptr);
    int maxLength() const { return m_max; }
    int length() const { return int(typedText(*document()).size()); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    int room() const;
    void enforceCap();
    const int m_max;
};
