// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// A font as the layout names it. Tahoma stands in for itself where it is
// installed, else Liberation Sans, whose metrics come close to the ones the
// layout was drawn with (DejaVu Sans, fontconfig's choice, runs wider and
// clips captions).
QFont layoutFont(const QString &face, double points, bool bold = false, bool underline = false);
