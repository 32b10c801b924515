#pragma once

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QSerialPort>
#include <QWaitCondition>

#include <atomic>
#include <functional>
#include <utility>

// The QSerialPort of Comm1, owned by a thread of its own. It reads the line in batches:
// after a small read it naps for up to kNapMs while more bytes gather in the driver, so a
// stream at the line rate costs a few wakeups a second instead of one per arrival, and the
// user-interface thread may stall for seconds without a byte being lost. A call from the
// owner (open, write, rate, close) ends the nap at once.
//
// The owner runs open, close, setBaudRate and write in the reader's thread and waits for
// them; received bytes and the line's failure are kept under a mutex for the owner to take.
class SerialReader : public QObject
{
    Q_OBJECT
public:
    // A nap lets about 1.2 KB gather at 115200 baud, well inside a serial driver's buffer.
    static constexpr int kNapMs = 100;
    // A read at least this large means the bytes come faster than a nap would gather: read
    // again at once (a terminal device hands over at most a few kilobytes a read).
    static constexpr qint64 kFullRead = 1024;

    SerialReader();

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

    // In the reader's thread only.
    bool open(const QString &device, int baudRate);
    void close();
    bool setBaudRate(int baudRate);
    bool write(const QByteArray &bytes);
    // Why the last open() failed, as the port reported it.
    std::pair<QSerialPort::SerialPortError, QString> openError() const
    {
        return {m_port.error(), m_port.errorString()};
    }

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void nap();

    QSerialPort m_port{this};
    QMutex m_mutex;
    QByteArray m_received;
    bool m_failed = false;
    QString m_failureText;
    std::function<void()> m_wake;
    QWaitCondition m_napEnd;
    std::atomic<int> m_callsPending{0};
};
