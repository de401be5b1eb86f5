// SPDX-License-Identifier: GPL-3.0-or-later
// vesnal-receive: Samba's message command on a receiving Linux computer.
//   message command = /usr/bin/vesnal-receive %s %f %L &
// Keeps each message as a record in the spool ($VESNAL_SPOOL, else
// /var/spool/vesnal), where vesnal-popup shows it to the people of this
// computer. README ("Receiving messages on Linux") has the whole setup.
#include "receiver/receive.h"
#include "receiver/spool.h"

#include <QDateTime>
#include <QFile>
#include <QTextStream>
#include <cstdio>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    QTextStream err(stderr);
    return Receive::run(arguments, Spool::defaultPath(), QDateTime::currentDateTime(), err);
}
