// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/portchoice.h"

#include "core/numbers.h"
#include "platform/serialline.h"

bool openChosenPort(SerialLine &line, const QString &number)
{
    line.close();
    int port = 0;
    QString error;
    if (numbers::portNumber(number, &port) && line.open(port, &error)) {
        if (line.setRts(false))
            return true;
        line.close(); // closing drops the line
    }
    return false;
}
