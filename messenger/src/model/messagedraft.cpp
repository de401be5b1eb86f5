// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/messagedraft.h"

QString MessageDraft::lengthText() const
{
    return m_length < 0 ? QStringLiteral(" ")
                        : QStringLiteral("Dužina poruke: ") + QString::number(m_length);
}

void MessageDraft::textChanged(int length)
{
    m_length = length;
    emit lengthTextChanged();
    if (length >= MaxLength)
        emit limitReached();
    const LengthMark mark =
        length > GroupMaxLength ? LengthMark::TooLongForGroup : LengthMark::FitsGroup;
    if (mark != m_mark) {
        m_mark = mark;
        emit lengthMarkChanged();
    }
}

void MessageDraft::cleared()
{
    m_length = -1;
    emit lengthTextChanged();
}

void MessageDraft::setEditing(bool editing)
{
    if (editing == m_editing)
        return;
    m_editing = editing;
    emit editingChanged();
}
