#include "link/QtCommPort.h"

#include "link/NetworkReader.h"
#include "link/PortAddress.h"
#include "link/SerialReader.h"
#include "support/StringCode.h"

QtCommPort::QtCommPort(PortTable table, QObject *parent)
    : QObject(parent), m_table(std::move(table)), m_serial(new SerialReader),
      m_network(new NetworkReader), m_reader(m_serial)
{
    m_thread.setObjectName(QStringLiteral("PortReader"));
    m_serial->moveToThread(&m_thread);
    m_network->moveToThread(&m_thread);
    m_thread.start();
}

QtCommPort::~QtCommPort()
{
    close();
    m_serial->deleteLater();
    m_network->deleteLater();
    m_thread.quit();
    m_thread.wait();
}

template <typename Call> auto QtCommPort::inReader(Call call)
{
    m_reader->beginCall();
    decltype(call()) result{};
    QMetaObject::invokeMethod(
        m_reader, [&] { result = call(); }, Qt::BlockingQueuedConnection);
    m_reader->endCall();
    return result;
}

int QtCommPort::rate() const
{
    return ExtractNumber(m_settings.toLatin1());
}

void QtCommPort::setSettings(const QString &settings)
{
    m_settings = settings;
    if (m_open)
        inReader([this] { return m_reader->setBaudRate(rate()); });
}

bool QtCommPort::canSetRate() const
{
    if (m_open)
        return m_reader->canSetRate();
    return PortAddress::parse(deviceName()).kind() != PortAddress::Kind::RawTcp;
}

bool QtCommPort::open()
{
    if (m_open)
        return true;
    const QString device = m_table.deviceFor(m_portNumber);
    if (device.isEmpty())
        return false;
    if (PortAddress::parse(device).isNetwork())
        m_reader = m_network;
    else
        m_reader = m_serial;
    m_open = inReader([this, device] { return m_reader->open(device, rate()); });
    return m_open;
}

PortOpenError QtCommPort::openError()
{
    return inReader([this] { return m_reader->openError(); });
}

void QtCommPort::close()
{
    m_open = false;
    inReader([this] {
        m_reader->close();
        return true;
    });
}

bool QtCommPort::write(const QByteArray &bytes)
{
    if (!m_open || m_reader->failed())
        return false;
    return inReader([this, &bytes] { return m_reader->write(bytes); });
}

qint64 QtCommPort::bytesWaiting()
{
    return m_open ? m_reader->waiting() : 0;
}

QByteArray QtCommPort::readWaiting()
{
    return m_open ? m_reader->take() : QByteArray();
}

void QtCommPort::wakeOnArrival()
{
    if (!m_open)
        return;
    // A queued call to this object ends the user-interface thread's sleep.
    m_reader->wakeOnArrival([this] {
        QMetaObject::invokeMethod(
            this, [] {}, Qt::QueuedConnection);
    });
}

bool QtCommPort::hasFailed() const
{
    return m_reader->failed();
}

QString QtCommPort::failureText() const
{
    return m_reader->failureText();
}
