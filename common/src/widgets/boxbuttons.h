// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMessageBox;

// Qt names its standard buttons in English; the programs speak Serbian.
// Names the box's OK, Yes and No buttons ("U redu", "Da", "Ne"), those it has.
void nameButtonsInSerbian(QMessageBox &box);
