// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAbstractButton;
class QLabel;

// Makes `label` the caption of `box`, as a check box's own text would be: a
// click on the label clicks the box, and assistive tools read the label as
// the box's caption.
void makeCaption(QLabel *label, QAbstractButton *box);
