#include "link/SerialReader.h"

#include <QDeadlineTimer>

#include <utility>

SerialReader::SerialReader()
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialReader::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialReader::onError);
}

QByteArray SerialReader::take()
{
    QMutexLocker lock(&m_mutex);
    return std::exchange(m_received, QByteArray());
}

qint64 SerialReader::waiting()
{
    QMutexLocker lock(&m_mutex);
    return m_received.size();
}

bool SerialReader::failed()
{
    QMutexLocker lock(&m_mutex);
    return m_failed;
}

QString SerialReader::failureText()
{
    QMutexLocker lock(&m_mutex);
    return m_failureText;
}

void SerialReader::wakeOnArrival(const std::function<void()> &wake)
{
    QMutexLocker lock(&m_mutex);
    if (!m_received.isEmpty()) {
        lock.unlock();
        wake();
        return;
    }
    m_wake = wake;
}

void SerialReader::beginCall()
{
    ++m_callsPending;
    QMutexLocker lock(&m_mutex);
    m_napEnd.wakeAll();
}

void SerialReader::endCall()
{
    --m_callsPending;
}

bool SerialReader::open(const QString &device, int baudRate)
{
    {
        QMutexLocker lock(&m_mutex);
        m_received.clear();
        m_failed = false;
        m_failureText.clear();
    }
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
        m_port.close();
    // Bytes of the session that ended are not the next session's.
    QMutexLocker lock(&m_mutex);
    m_received.clear();
    m_wake = nullptr;
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
    return true;
}

void SerialReader::onReadyRead()
{
    const QByteArray bytes = m_port.readAll();
    if (!bytes.isEmpty()) {
        std::function<void()> wake;
        {
            QMutexLocker lock(&m_mutex);
            m_received += bytes;
            wake = std::exchange(m_wake, nullptr);
        }
        if (wake)
            wake();
    }
    if (bytes.size() < kFullRead && m_port.isOpen())
        nap();
}

void SerialReader::nap()
{
    QMutexLocker lock(&m_mutex);
    if (m_callsPending == 0 && m_port.bytesToWrite() == 0)
        m_napEnd.wait(&m_mutex, QDeadlineTimer(kNapMs));
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
    std::function<void()> wake;
    {
        QMutexLocker lock(&m_mutex);
        if (m_failed)
            return;
        m_failed = true;
        m_failureText = why;
        m_received += rest;
        wake = std::exchange(m_wake, nullptr);
    }
    if (wake)
        wake();
}
