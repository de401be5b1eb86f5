#pragma once

#include "messageboxes.h"

#include <QList>
#include <QStringList>
#include <functional>

// Answers boxes at once and remembers what they said.
class FakeMessageBoxes : public MessageBoxes
{
public:
    struct Shown {
        Icon icon;
        QString text;
    };
    void report(QWidget *, Icon icon, const QString &text) override
    {
        shown.append({icon, text});
        if (onReport)
            onReport();
    }
    bool confirm(QWidget *, const QString &text) override
    {
        questions.append(text);
        return answerYes;
    }
    QStringList texts() const
    {
        QStringList t;
        for (const auto &s : shown)
            t.append(s.text);
        return t;
    }
    QList<Shown> shown;
    QStringList questions;
    bool answerYes = true;
    std::function<void()> onReport;
};
