// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The modal boxes of the timer. Behind an interface so that tests can answer
// them without a desktop.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // Stop icon, OK button; returns when closed.
    virtual void critical(QWidget *parent, const QString &title, const QString &text) = 0;
    // Exclamation icon, OK button; returns when closed.
    virtual void warning(QWidget *parent, const QString &title, const QString &text) = 0;
};

class QtMessageBoxes : public MessageBoxes
{
public:
    void critical(QWidget *parent, const QString &title, const QString &text) override;
    void warning(QWidget *parent, const QString &title, const QString &text) override;
};
