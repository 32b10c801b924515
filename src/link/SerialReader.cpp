#include "link/SerialReader.h"

SerialReader::SerialReader()
{
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
        m_port.close();
    endSession();
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
