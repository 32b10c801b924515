#pragma once

#include "link/PortReader.h"

#include <QElapsedTimer>
#include <QSerialPort>

class QDeadlineTimer;

// Comm1 on a local serial device: the QSerialPort, read in batches on the reader's thread.
//
// Closing lets the last bytes written (a stop, a Ctrl-Z, a last command) leave the computer
// first, for up to kDrainMs: what the port still holds, the driver's queue, and the last of
// them on the wire at the line's rate. The line's settings stay as they are on close: put
// back at once, the old rate would garble bytes still going out. A device that has gone is
// not waited for.
class SerialReader : public PortReader
{
    Q_OBJECT
public:
    static constexpr int kDrainMs = 500;
    // What an adapter may still be sending when its driver's queue is empty.
    static constexpr qint64 kOnTheWireBytes = 64;

    SerialReader();

    bool open(const QString &device, int baudRate) override;
    void close() override;
    bool setBaudRate(int baudRate) override;
    bool write(const QByteArray &bytes) override;
    PortOpenError openError() const override;

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void drainOutput();
    void closeLeavingSettings();
    // False when the queue did not empty in time or the device has gone.
    bool waitForDriverQueue(const QDeadlineTimer &deadline);
    // How long `bytes` take on the wire at the current rate.
    qint64 wireNs(qint64 bytes) const;

    QSerialPort m_port{this};
    QElapsedTimer m_clock;
    // When the bytes written so far have crossed the line, by m_clock.
    qint64 m_lineFreeNs = 0;
};
