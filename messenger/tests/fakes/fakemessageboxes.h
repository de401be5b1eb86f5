// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window/messageboxes.h"

#include <QList>
#include <QStringList>
#include <functional>

// Answers boxes at once and remembers what they said.
struct FakeMessageBoxes : MessageBoxes {
    void report(QWidget *, Icon icon, const QString &text) override
    {
        texts.append(text);
        icons.append(icon);
        if (onReport)
            onReport();
    }
    bool confirm(QWidget *, const QString &text) override
    {
        questions.append(text);
        return answerYes;
    }
    void notify(QWidget *, Icon, const QString &text) override { notices.append(text); }
    QStringList texts;
    QStringList notices; // the reports that do not block, in their order
    QList<Icon> icons;
    QStringList questions;
    bool answerYes = true;
    std::function<void()> onReport;
};
