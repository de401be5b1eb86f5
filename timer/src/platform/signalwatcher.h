#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the main thread. The
// handler only writes the signal number into a pipe (the one thing that is
// safe inside it); a socket notifier reads it in the event loop.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

signals:
    void ended(int signalNumber);

private:
    void readPipe();
    QSocketNotifier *notifier_ = nullptr;
};
