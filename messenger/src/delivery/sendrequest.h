// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What "send NAME TEXT…" asks for. The words after "send" are joined with
// single blanks, so the messenger's one argument and words typed in a
// terminal mean the same; NAME runs up to the first blank and the text is
// everything after that one blank, exactly as it stands.
struct SendRequest {
    QString name;
    QString text;

    // `arguments` without the program name. std::nullopt (with *why) when
    // the first argument is not "send" or no name follows it.
    static std::optional<SendRequest> parse(const QStringList &arguments, QString *why = nullptr);
};
