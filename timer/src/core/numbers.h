// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

// How the timer reads and writes the numbers in its text fields.
namespace numbers
{

// The value of a text: its leading decimal number (digits, optionally a point
// and more digits; leading zeros allowed). 0 for an empty text or one that
// does not begin with a digit.
double valueOf(const QString &text);

// A value rounded to the nearest whole number, halves to the even neighbour,
// held to the 32-bit signed range.
std::int32_t whole(double value);

// A number in its shortest form: whole numbers as plain digits ("0010" - 1
// gives "9"), others with the fraction they need.
QString shortest(double value);

// The port number in a text, as a 16-bit integer: the text (blanks around it
// allowed) must be a number; fractions round to the nearest. False for an
// empty text, a text that is not a number, or one outside the 16-bit range.
bool portNumber(const QString &text, int *number);

} // namespace numbers
