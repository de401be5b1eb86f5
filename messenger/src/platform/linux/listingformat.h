// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// What a listing child (`vesnal-net list URL`) writes on its standard output:
// one line per entry,
//
//   KIND TAB NAME TAB COMMENT LF
//
// KIND is "workgroup", "server", "share" or "dir"; NAME is never empty. In
// NAME and COMMENT a backslash is written "\\", a tab "\t", a line feed
// "\n" and a carriage return "\r"; every other character stands as it is,
// in UTF-8. Nothing else is ever written, so anything else is garbage.
namespace ListingFormat
{

enum class Kind { Workgroup, Server, Share, Directory };

struct Entry {
    Kind kind;
    QString name;
    QString comment;
};

// How a listing child ends. Any other end (another status, a signal, the
// deadline) means the network gave no usable answer.
enum ExitStatus {
    Listed = 0,       // the entries are on standard output
    BadArguments = 2, // nothing was asked
    Refused = 3,      // the address could not be opened; why on standard error
    NoAnswer = 4,     // the network did not answer in time
};

QByteArray line(const Entry &entry);

// The entries of a child's whole output, or std::nullopt when any of it
// breaks the format (a line cut short, an unknown kind or escape, an empty
// name, a raw carriage return, bytes that are not UTF-8).
std::optional<QList<Entry>> parse(const QByteArray &output);

} // namespace ListingFormat
