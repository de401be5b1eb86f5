// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SerialLine;

// Closes the open port and opens the one `number` names (PortCombo's text)
// with the load off. False, the port left closed, when the text names no
// port, the port does not open, or its RTS stays up after opening: such a
// port would carry the load while the window shows it off.
bool openChosenPort(SerialLine &line, const QString &number);
