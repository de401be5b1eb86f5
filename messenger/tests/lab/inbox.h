// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtTest>

// The folder where the lab's receivers put what they are sent.
inline QDir labInbox()
{
    return QDir(qEnvironmentVariable("VESNAL_LAB_DIR") + QStringLiteral("/inbox"));
}

// The name of the message file in the lab's inbox, among those `named`, that
// holds exactly `text` once it came (each lab run starts with an empty inbox);
// empty when none came within 20 s.
inline QString arrived(const QString &text, const QString &named = QStringLiteral("*.msg"))
{
    const QDir inbox = labInbox();
    for (QDeadlineTimer deadline(20000); !deadline.hasExpired(); QTest::qWait(20))
        for (const QString &name : inbox.entryList({named})) {
            QFile f(inbox.filePath(name));
            if (f.open(QIODevice::ReadOnly) && f.readAll() == text.toUtf8())
                return name;
        }
    return {};
}
