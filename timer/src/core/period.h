// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <Qt>

// The rules of the set period, the seconds typed into Zadato1.
namespace period
{

// Characters that can be typed (3600 is the longest period).
constexpr int kLength = 4;

// Accepted for a start: its value is 1 to 3600 s.
bool accepts(const QString &text);

// Whether a key pressed in the field may reach it: digits and Backspace,
// and the keys that type nothing (focus, cursor, Delete). Every other
// character is discarded, Enter and control characters such as the paste
// shortcut included.
bool typable(int key, Qt::KeyboardModifiers modifiers, const QString &text);

} // namespace period
