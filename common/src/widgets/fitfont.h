// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QSize>
#include <QStringList>

// The largest size of a font, at most its own and no less than 6 points, at
// which every one of the texts fits into a box of the given size, wrapped at
// word boundaries when the flags say so. The layouts are fixed in pixels
// while the fonts that stand in for the requested ones may run wider
// (DejaVu Sans, where Liberation Sans is missing); this keeps every caption
// whole.
QFont fitFont(const QFont &font, QSize box, int flags, const QStringList &texts);

class QLabel;
// Sets a label's font to fit its box, aligned and wrapped as the label is,
// for each of the texts it will show (none given: the text it shows now).
void fitLabel(QLabel *label, const QStringList &texts = {});
