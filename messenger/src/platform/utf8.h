// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

// Text that comes from outside the program (a name from the network, a
// child's output, a record, an argument) as UTF-8 to a QString with every
// character kept. QString::fromUtf8 and a plain QStringDecoder take a
// leading U+FEFF for a byte-order mark and drop it, yet here it is the
// first character of a name or a message. Bytes that are not UTF-8 become
// U+FFFD; `valid`, when given, tells whether there were none.
inline QString decodeUtf8(QByteArrayView bytes, bool *valid = nullptr)
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (valid)
        *valid = !utf8.hasError();
    return text;
}

// A program's arguments, decoded as above (QCoreApplication::arguments()
// drops a leading U+FEFF of each).
inline QStringList decodeArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(decodeUtf8(argv[i]));
    return arguments;
}
