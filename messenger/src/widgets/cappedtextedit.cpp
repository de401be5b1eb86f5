// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/cappedtextedit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>

QString typedText(const QTextDocument &document)
{
    // The document holds its paragraph ends, the line breaks within a
    // paragraph and the bounds of frames as characters of its own; each of
    // them is a line break of the text.
    QString text = document.toRawText();
    for (QChar &c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QChar(0xFDD0) ||
            c == QChar(0xFDD1))
            c = QLatin1Char('\n');
    return text;
}

CappedTextEdit::CappedTextEdit(int maxLength, QWidget *parent) : QTextEdit(parent), m_max(maxLength)
{
    setAcceptRichText(false);
    // Whatever path text takes in (undo, drag, input methods), the cap holds.
    connect(this, &QTextEdit::textChanged, this, &CappedTextEdit::enforceCap);
}

int CappedTextEdit::room() const
{
    const QTextCursor cursor = textCursor();
    const int selected = cursor.selectionEnd() - cursor.selectionStart();
    return m_max - (length() - selected);
}

// Cuts `text` to at most `room` characters without splitting a surrogate pair.
static QString cutToFit(QString text, int room)
{
    if (room <= 0)
        return QString();
    if (text.size() > room) {
        text.truncate(room);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

void CappedTextEdit::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && (typed.at(0).isPrint() || typed == "\r") &&
                         !(event->modifiers() & Qt::ControlModifier);
    if (inserts && typed.size() > room()) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void CappedTextEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (event->commitString().size() > room()) {
        QInputMethodEvent cut(event->preeditString(), event->attributes());
        cut.setCommitString(cutToFit(event->commitString(), room()), event->replacementStart(),
                            event->replacementLength());
        QTextEdit::inputMethodEvent(&cut);
        return;
    }
    QTextEdit::inputMethodEvent(event);
}

void CappedTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    const QString text = cutToFit(source->text(), room());
    if (!text.isEmpty())
        textCursor().insertText(text);
}

void CappedTextEdit::enforceCap()
{
    if (length() <= m_max)
        return;
    // Only reached by paths the handlers above do not see; trim the end.
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, length() - m_max);
    cursor.removeSelectedText();
}
