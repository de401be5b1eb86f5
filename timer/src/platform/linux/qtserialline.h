// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/serialline.h"

#include <QSerialPort>
#include <QStringList>
#include <functional>

// The serial line on QSerialPort. The device is found by number in a list of
// devices (serialports::system() unless another list is given).
class QtSerialLine : public SerialLine
{
public:
    using Listing = std::function<QStringList()>;
    explicit QtSerialLine(Listing listing = {});

    bool open(int portNumber, QString *error) override;
    void close() override;
    bool isOpen() const override;
    bool setRts(bool on) override;
    bool rts() const override;

private:
    Listing m_listing;
    QSerialPort m_port;
    bool m_rts = false; // the value last set successfully
};
