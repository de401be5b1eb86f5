// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/qtserialline.h"

#include "platform/linux/serialports.h"

#include <termios.h>

QtSerialLine::QtSerialLine(Listing listing) : m_listing(std::move(listing))
{
    if (!m_listing)
        m_listing = serialports::system;
}

bool QtSerialLine::open(int portNumber, QString *error)
{
    close();
    const QStringList devices = m_listing();
    if (portNumber < 1 || portNumber > devices.size()) {
        *error = QString("no serial port number %1 (%2 found)").arg(portNumber).arg(devices.size());
        return false;
    }
    m_port.setPortName(devices[portNumber - 1]);
    if (!m_port.open(QIODevice::ReadWrite)) {
        *error = m_port.portName() + ": " + m_port.errorString();
        return false;
    }
    // Without flow control RTS is ours to drive. The kernel raised it on
    // open; the caller clears it next.
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_rts = false;
    // Hang-up on last close drops RTS (and DTR) should the program die
    // without switching the load off.
    termios tio;
    const int fd = int(m_port.handle());
    if (::tcgetattr(fd, &tio) == 0 && !(tio.c_cflag & HUPCL)) {
        tio.c_cflag |= HUPCL;
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    return true;
}

void QtSerialLine::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_rts = false;
}

bool QtSerialLine::isOpen() const
{
    return m_port.isOpen();
}

bool QtSerialLine::setRts(bool on)
{
    if (!m_port.isOpen() || !m_port.setRequestToSend(on))
        return false;
    m_rts = on;
    return true;
}

bool QtSerialLine::rts() const
{
    // What was set, not what the modem lines read back: a failed read-back
    // must not make a switched-on load look off (and unswitchable).
    return m_rts;
}
