// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "receiver/spoolstate.h"

#include <QStringList>

// What the list window says about refused messages, newest first, at most
// `most` lines and one that counts the rest:
//   "PC_02 (10.203.0.2): 340 poruka odbijeno (previše poruka za kratko
//    vreme), 07.12.2026. od 10:15:03 do 10:17:40"
QStringList refusalLines(QList<Refusal> refusals, int most);
