#include "qtserialline.h"

#include "serialports.h"

#include <termios.h>

QtSerialLine::QtSerialLine(Listing listing) : listing_(std::move(listing))
{
    if (!listing_)
        listing_ = serialports::system;
}

bool QtSerialLine::open(int portNumber, QString *error)
{
    close();
    const QStringList devices = listing_();
    if (portNumber < 1 || portNumber > devices.size()) {
        *error = QString("no serial port number %1 (%2 found)").arg(portNumber).arg(devices.size());
        return false;
    }
    port_.setPortName(devices[portNumber - 1]);
    if (!port_.open(QIODevice::ReadWrite)) {
        *error = port_.portName() + ": " + port_.errorString();
        return false;
    }
    port_.setFlowControl(QSerialPort::NoFlowControl);
    // The kernel raises RTS on open; the load must be off at once.
    port_.setRequestToSend(false);
    // Hang-up on last close drops RTS (and DTR) should the program die
    // without switching the load off.
    termios tio;
    const int fd = int(port_.handle());
    if (::tcgetattr(fd, &tio) == 0 && !(tio.c_cflag & HUPCL)) {
        tio.c_cflag |= HUPCL;
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    return true;
}

void QtSerialLine::close()
{
    if (port_.isOpen())
        port_.close();
}

bool QtSerialLine::isOpen() const
{
    return port_.isOpen();
}

bool QtSerialLine::setRts(bool on)
{
    if (!port_.isOpen())
        return false;
    return port_.setRequestToSend(on);
}

bool QtSerialLine::rts() const
{
    if (!port_.isOpen())
        return false;
    return port_.isRequestToSend();
}
