// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The serial port whose RTS line drives the switching module: RTS set means
// the load is on. No data ever flows; only the modem-control line matters.
class SerialLine
{
public:
    virtual ~SerialLine() = default;
    // Opens the port with the given number (1 = the first serial port).
    // False, with a reason in *error, when there is no such port or it cannot
    // be opened. The system may raise RTS as it opens the port: the caller
    // clears it at once with setRts(false), and so learns when it cannot.
    virtual bool open(int portNumber, QString *error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Drives RTS; false when the line refused (port closed, not a modem line).
    virtual bool setRts(bool on) = 0;
    // The RTS value last set successfully; false after opening and while
    // closed. A failed set leaves it unchanged.
    virtual bool rts() const = 0;
};
