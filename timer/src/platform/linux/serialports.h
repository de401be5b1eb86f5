// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Which device a port number names. Port N is the N-th entry of this list:
// the built-in ports ttyS* that the kernel found a UART for, then the USB
// adapters ttyUSB* and ttyACM*, each kind in numeric order. A serial port
// that the kernel uses as its console is left out: a load must never be
// switched on the line that carries the console.
//
// The list is read from sysfs without opening any device. When TEMPRAL_PORTS
// is set, it replaces the list: device paths separated by colons.
namespace serialports
{

QStringList fromSysfs(const QString &sysClassTty, const QString &devDir);
QStringList fromEnvironment(const QByteArray &value);
// TEMPRAL_PORTS when set, otherwise the list from /sys/class/tty.
QStringList system();

} // namespace serialports
