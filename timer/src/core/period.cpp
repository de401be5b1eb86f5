// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/period.h"

#include "core/numbers.h"

namespace period
{

bool accepts(const QString &text)
{
    const double value = numbers::valueOf(text);
    return value >= 1 && value <= 3600;
}

bool typable(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    switch (key) {
    case Qt::Key_Backspace:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return true; // not typed characters: focus moves, Delete deletes
    default:
        break;
    }
    // With Ctrl a letter key types a control character (the paste shortcut
    // among them); those are discarded like every other non-digit.
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return text.isEmpty() && !(key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde);
    if (text.isEmpty())
        return true; // navigation keys type nothing
    return text.size() == 1 && text[0] >= u'0' && text[0] <= u'9';
}

} // namespace period
