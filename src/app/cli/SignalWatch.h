#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGPIPE as events of the event loop: the handler only writes the signal's
// number to a pipe (the self-pipe trick), and a socket notifier on the pipe's other end reports it
// at the next pass of any wait. One watch at a time; the signals' old handlers come back when
// it goes.
class SignalWatch : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatch(QObject *parent = nullptr);
    ~SignalWatch() override;

    // False when the pipe could not be made (the signals then end the process as usual).
    bool isWatching() const { return m_notifier != nullptr; }
    // The signal received last, 0 before any.
    int received() const { return m_received; }
    // How many arrived.
    int count() const { return m_count; }

signals:
    void signalled(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
    int m_received = 0;
    int m_count = 0;
};
