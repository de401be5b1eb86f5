// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>

// The timer's four pictures by name, without regard to case: "appicon"
// (stopwatch), "redtimer" (stopwatch on red), "lightoff", "lighton". Each is
// drawn from its SVG at 16, 32 and 64 pixels. An unknown name gives a null
// icon.
QIcon tempralIcon(const QString &name);
