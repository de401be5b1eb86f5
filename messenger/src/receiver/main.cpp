// SPDX-License-Identifier: GPL-3.0-or-later
// vesnal-receive: Samba's message command on a receiving Linux computer.
//   message command = /usr/bin/vesnal-receive %s %f %L &
// Keeps each message as a record in the spool ($VESNAL_SPOOL, else
// /var/spool/vesnal), where vesnal-popup shows it to the people of this
// computer. docs/receiving.md has the whole setup.
#include "platform/utf8.h"
#include "receiver/receive.h"
#include "receiver/spool.h"

#include <QDateTime>
#include <QTextStream>
#include <cstdio>

int main(int argc, char **argv)
{
    const QStringList arguments = decodeArguments(argc, argv);
    QTextStream err(stderr);
    return Receive::run(arguments, Spool::defaultPath(), QDateTime::currentDateTime(), err);
}
