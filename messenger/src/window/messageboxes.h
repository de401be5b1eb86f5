// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The boxes through which the messenger reports refusals and results: modal
// ones, and a report that stays open beside the window without holding it.
// Behind an interface so that tests can answer them without a desktop.
class MessageBoxes
{
public:
    enum class Icon { None, Critical, Exclamation };

    virtual ~MessageBoxes() = default;
    // A report with one OK button; returns when it is closed.
    virtual void report(QWidget *parent, Icon icon, const QString &text) = 0;
    // A Yes/No question, Yes the default; true for Yes.
    virtual bool confirm(QWidget *parent, const QString &text) = 0;
    // A report with one OK button that does not block `parent` or wait:
    // it returns at once and the box closes itself when answered.
    virtual void notify(QWidget *parent, Icon icon, const QString &text) = 0;
};

// The real boxes, titled with the application's name.
class QtMessageBoxes : public MessageBoxes
{
public:
    void report(QWidget *parent, Icon icon, const QString &text) override;
    bool confirm(QWidget *parent, const QString &text) override;
    void notify(QWidget *parent, Icon icon, const QString &text) override;
};
