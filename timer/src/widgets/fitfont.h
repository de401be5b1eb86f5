// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QSize>
#include <QStringList>

// The largest size of a font, at most its own, at which every one of the
// texts fits into a box of the given size, wrapped at word boundaries when
// the flags say so. The layout is fixed in pixels while the fonts that stand
// in for the requested ones may be wider; this keeps every caption whole.
QFont fitFont(const QFont &font, QSize box, int flags, const QStringList &texts);

class QLabel;
// Sets a label's font to fit its box for each of the texts it will show.
void fitLabel(QLabel *label, const QStringList &texts);
