#include "link/SerialReader.h"

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace
{
constexpr qint64 kBitsPerByte = 10; // start bit, eight data bits, stop bit
// The driver's queue is looked at again after the time it takes to go out, within these.
constexpr qint64 kQueuePollMinMs = 1;
constexpr qint64 kQueuePollMaxMs = 20;
} // namespace

SerialReader::SerialReader()
{
    m_clock.start();
    connect(&m_port, &QSerialPort::readyRead, this, &SerialReader::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialReader::onError);
}

bool SerialReader::open(const QString &device, int baudRate)
{
    startSession();
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    setBaudRate(baudRate);
    return true;
}

void SerialReader::close()
{
    if (m_port.isOpen())
        drainOutput();
    if (m_port.isOpen())
        closeLeavingSettings();
    endSession();
}

// QSerialPort puts back the settings the line had when it was opened as it closes (Qt 6 has
// no way to turn that off), and the old rate would garble what is still going out. So a
// stand-in takes the device's place under the port's descriptor: the port restores and
// closes the stand-in, and the device is closed here as it is.
void SerialReader::closeLeavingSettings()
{
#ifdef Q_OS_UNIX
    const int device = int(m_port.handle());
    int line = -1;
    const int standIn = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (standIn >= 0) {
        line = ::fcntl(device, F_DUPFD_CLOEXEC, 0);
        if (line >= 0 && ::dup2(standIn, device) < 0) {
            ::close(line);
            line = -1;
        }
        ::close(standIn);
    }
    // What the port would have done to the device on its way out: others may open it again.
    if (line >= 0)
        ::ioctl(line, TIOCNXCL);
#endif
    m_port.close();
    // The stand-in is no terminal: what the port made of that is no error of the line.
    m_port.clearError();
#ifdef Q_OS_UNIX
    if (line >= 0)
        ::close(line);
#endif
}

void SerialReader::drainOutput()
{
    const QDeadlineTimer deadline(kDrainMs);
    // A device that has gone fails the wait at once (and its error closes the port).
    while (m_port.isOpen() && m_port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port.waitForBytesWritten(int(deadline.remainingTime())))
            return;
    }
    if (!m_port.isOpen() || m_port.bytesToWrite() > 0 || !waitForDriverQueue(deadline))
        return;
    const qint64 crossingNs =
        std::min(m_lineFreeNs - m_clock.nsecsElapsed(), wireNs(kOnTheWireBytes));
    if (crossingNs > 0)
        QThread::usleep(quint64(crossingNs / 1000 + 1));
}

bool SerialReader::waitForDriverQueue(const QDeadlineTimer &deadline)
{
#ifdef Q_OS_UNIX
    for (;;) {
        int queued = 0;
        if (::ioctl(m_port.handle(), TIOCOUTQ, &queued) != 0)
            return false;
        if (queued <= 0)
            return true;
        if (deadline.hasExpired())
            return false;
        const qint64 napMs = std::clamp(wireNs(queued) / 1000000, kQueuePollMinMs, kQueuePollMaxMs);
        QThread::msleep(quint64(napMs));
    }
#else
    Q_UNUSED(deadline);
    return true;
#endif
}

qint64 SerialReader::wireNs(qint64 bytes) const
{
    const qint64 rate = std::max<qint64>(1, m_port.baudRate());
    return bytes * kBitsPerByte * 1000000000 / rate;
}

bool SerialReader::setBaudRate(int baudRate)
{
    return baudRate > 0 && m_port.isOpen() && m_port.setBaudRate(baudRate);
}

bool SerialReader::write(const QByteArray &bytes)
{
    if (!m_port.isOpen() || m_port.write(bytes) != bytes.size())
        return false;
    // Out now, not when the thread next looks at its events.
    m_port.flush();
    m_lineFreeNs = std::max(m_lineFreeNs, m_clock.nsecsElapsed()) + wireNs(bytes.size());
    return true;
}

void SerialReader::onReadyRead()
{
    const QByteArray bytes = m_port.readAll();
    received(bytes);
    if (m_port.isOpen())
        napAfter(bytes.size(), m_port.bytesToWrite() > 0);
}

void SerialReader::onError(QSerialPort::SerialPortError error)
{
    // Errors that mean the device is gone end the connection: a read that hits the end of
    // the line (a pty whose other side closed) or a device that vanished. A framing or
    // parity hiccup on a noisy line does not.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                      error == QSerialPort::WriteError || error == QSerialPort::PermissionError ||
                      error == QSerialPort::DeviceNotFoundError;
    if (!gone || !m_port.isOpen())
        return;
    const QByteArray rest = m_port.readAll();
    const QString why = m_port.errorString();
    // A dead device keeps the event loop awake; what had arrived stays for the owner.
    m_port.close();
    fail(why, rest);
}

PortOpenError SerialReader::openError() const
{
    PortOpenError error;
    error.text = m_port.errorString();
    switch (m_port.error()) {
    case QSerialPort::NoError:
        error.kind = PortOpenError::Kind::None;
        break;
    case QSerialPort::DeviceNotFoundError:
        error.kind = PortOpenError::Kind::NotFound;
        break;
    case QSerialPort::PermissionError:
        error.kind = PortOpenError::Kind::Permission;
        break;
    default:
        error.kind = PortOpenError::Kind::Other;
        break;
    }
    return error;
}
