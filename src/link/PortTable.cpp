#include "link/PortTable.h"

#include <QSerialPortInfo>
#include <QtGlobal>
#include <algorithm>

PortTable PortTable::fromSystem()
{
#ifdef Q_OS_WIN
    QStringList devices;
    for (int n = kFirstPort; n <= kLastPort; ++n)
        devices << QStringLiteral("COM%1").arg(n);
    return PortTable(devices);
#else
    if (qEnvironmentVariableIsSet("ORVANTIS_PORTS")) {
        const QString list = qEnvironmentVariable("ORVANTIS_PORTS");
        // Empty entries keep their place, so "a::b" makes b port 3.
        return PortTable(list.isEmpty() ? QStringList() : list.split(QLatin1Char(':')));
    }
    QStringList devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    std::sort(devices.begin(), devices.end());
    return PortTable(devices);
#endif
}

QString PortTable::deviceFor(int portNumber) const
{
    if (portNumber < kFirstPort || portNumber > m_devices.size())
        return QString();
    return m_devices.at(portNumber - 1);
}

QString PortTable::entryText(int portNumber) const
{
    // The number is written with a sign position, as the instrument's own software does.
    QString text = QStringLiteral("COM  %1").arg(portNumber);
    const QString device = deviceFor(portNumber);
    if (!device.isEmpty() && device != QStringLiteral("COM%1").arg(portNumber))
        text += QStringLiteral("  (%1)").arg(device);
    return text;
}
