#pragma once

#include "link/PortOpenError.h"

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QWaitCondition>

#include <atomic>
#include <functional>

// The reading end of Comm1, owned by a thread of its own: a serial device (SerialReader) or
// a network connection to a device server (NetworkReader). It reads the line in batches:
// after a small read it naps for up to kNapMs while more bytes gather in the system's
// buffer, so a stream at the line rate costs a few wakeups a second instead of one per
// arrival, and the user-interface thread may stall for seconds without a byte being lost. A
// call from the owner (open, write, rate, close) ends the nap at once.
//
// The owner runs open, close, setBaudRate and write in the reader's thread and waits for
// them; received bytes and the line's failure are kept under a mutex for the owner to take.
class PortReader : public QObject
{
    Q_OBJECT
public:
    // A nap lets about 1.2 KB gather at 115200 baud, well inside a driver's buffer.
    static constexpr int kNapMs = 100;
    // A read at least this large means the bytes come faster than a nap would gather: read
    // again at once (a terminal device hands over at most a few kilobytes a read).
    static constexpr qint64 kFullRead = 1024;

    // Owner's side, any time.
    QByteArray take();
    qint64 waiting();
    bool failed();
    QString failureText();
    // The next bytes to arrive call `wake` (once, from the reader's thread); at once when
    // bytes are already waiting.
    void wakeOnArrival(const std::function<void()> &wake);
    // Call before a blocking call into the reader, and endCall() after it.
    void beginCall();
    void endCall();
    virtual bool canSetRate() const { return true; }
    // Why the last open() failed.
    virtual PortOpenError openError() const { return {}; }

    // In the reader's thread only. `device` is the port table's entry.
    virtual bool open(const QString &device, int baudRate) = 0;
    virtual void close() = 0;
    virtual bool setBaudRate(int baudRate) = 0;
    virtual bool write(const QByteArray &bytes) = 0;

protected:
    // A new session: nothing of the last one is kept.
    void startSession();
    // The session is over: bytes not taken are not the next session's.
    void endSession();
    void received(const QByteArray &bytes);
    // After a read of `bytesRead`: naps unless the line runs flat out, the owner is calling
    // in, or bytes wait to go out.
    void napAfter(qint64 bytesRead, bool writing);
    // The line is gone; `rest` is what came with its end. Recorded once.
    void fail(const QString &why, const QByteArray &rest);

private:
    QMutex m_mutex;
    QByteArray m_received;
    bool m_failed = false;
    QString m_failureText;
    std::function<void()> m_wake;
    QWaitCondition m_napEnd;
    std::atomic<int> m_callsPending{0};
};
