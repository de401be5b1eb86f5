// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Turns the requests to quit that the system sends a program (on Linux:
// SIGTERM, SIGINT and SIGHUP) into a Qt signal on the main thread. The
// back end of the build (platform/<system>/) defines it.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    // True from the moment a request to quit has arrived, before the event
    // loop has taken it: blocking calls (tones, pauses) look at it to end
    // early. Never reset: the program is ending.
    static bool requested();

signals:
    void ended(int signalNumber);

private:
    QObject *m_listener = nullptr; // what the back end hears the requests with
};
