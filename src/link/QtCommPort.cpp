#include "link/QtCommPort.h"

#include "support/StringCode.h"

QtCommPort::QtCommPort(PortTable table, QObject *parent)
    : QObject(parent), m_table(std::move(table))
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtCommPort::onError);
}

void QtCommPort::setPortNumber(int number)
{
    m_portNumber = number;
}

void QtCommPort::setSettings(const QString &settings)
{
    m_settings = settings;
    if (m_port.isOpen())
        applySettings();
}

void QtCommPort::applySettings()
{
    const int rate = ExtractNumber(m_settings.toLatin1());
    if (rate > 0)
        m_port.setBaudRate(rate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
}

bool QtCommPort::open()
{
    if (m_port.isOpen())
        return true;
    const QString device = m_table.deviceFor(m_portNumber);
    if (device.isEmpty())
        return false;
    m_failed = false;
    m_failureText.clear();
    m_held.clear();
    m_heldPos = 0;
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    m_open = true;
    applySettings();
    return true;
}

void QtCommPort::close()
{
    m_open = false;
    m_held.clear();
    m_heldPos = 0;
    if (m_port.isOpen())
        m_port.close();
}

bool QtCommPort::write(const QByteArray &bytes)
{
    if (!m_open || m_failed)
        return false;
    return m_port.write(bytes) == bytes.size();
}

qint64 QtCommPort::bytesWaiting()
{
    if (!m_open)
        return 0;
    if (m_failed)
        return m_held.size() - m_heldPos;
    return m_port.bytesAvailable();
}

char QtCommPort::readChar()
{
    if (m_failed)
        return m_heldPos < m_held.size() ? m_held.at(m_heldPos++) : 0;
    char c = 0;
    m_port.getChar(&c);
    return c;
}

void QtCommPort::onError(QSerialPort::SerialPortError error)
{
    // Errors that mean the device is gone end the connection: a read that hits the end
    // of the line (a pty whose other side closed) or a device that vanished. A framing or
    // parity hiccup on a noisy line does not.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
                      error == QSerialPort::WriteError || error == QSerialPort::PermissionError ||
                      error == QSerialPort::DeviceNotFoundError;
    if (!gone || !m_port.isOpen() || m_failed)
        return;
    m_failed = true;
    m_failureText = m_port.errorString();
    m_held = m_port.readAll();
    m_heldPos = 0;
    m_port.close();
}
