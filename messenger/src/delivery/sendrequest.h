// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What "[--address=ADDRESS] send NAME TEXT…" asks for. The words after
// "send" are joined with single blanks, so the messenger's one argument and
// words typed in a terminal mean the same; NAME runs up to the first blank
// and the text is everything after that one blank, exactly as it stands.
// The address, when given, is the only place NAME is looked for (no name
// resolution): a reply goes to the computer the message came from. It can
// only stand before "send", as a word of its own, so no recipient or text
// ever becomes an option.
struct SendRequest {
    QString name;
    QString text;
    QString address; // an IPv4 or IPv6 address in its usual form; empty: none

    // `arguments` without the program name. std::nullopt (with *why) when
    // they do not follow the form above, or the address is not one.
    static std::optional<SendRequest> parse(const QStringList &arguments, QString *why = nullptr);
};
