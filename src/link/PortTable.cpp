#include "link/PortTable.h"

#include "link/PortAddress.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>
#include <QtGlobal>
#include <algorithm>

namespace
{
// The system's serial ports, an adapter's stable name (its link in /dev/serial/by-id/) in
// place of its ttyUSBn: an adapter that comes back as another ttyUSBn is still the same port.
// Stable names come first, each group sorted.
[[maybe_unused]] QStringList systemPorts(const QString &byIdFolder)
{
    QHash<QString, QString> stableName;
    const QDir byId(byIdFolder);
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files)) {
        if (link.isSymLink())
            stableName.insert(link.canonicalFilePath(), link.absoluteFilePath());
    }
    QStringList stable;
    QStringList others;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString device = info.systemLocation();
        const QString name = stableName.value(QFileInfo(device).canonicalFilePath());
        if (name.isEmpty())
            others << device;
        else
            stable << name;
    }
    std::sort(stable.begin(), stable.end());
    std::sort(others.begin(), others.end());
    return stable + others;
}
} // namespace

PortTable::PortTable(QStringList devices) : m_shared(std::make_shared<Shared>())
{
    m_shared->devices = std::move(devices);
}

QStringList PortTable::splitList(const QString &list)
{
    QStringList entries;
    if (list.isEmpty())
        return entries;
    for (qsizetype from = 0;;) {
        const qsizetype end = PortAddress::entryEnd(list, from);
        entries << list.mid(from, end - from);
        if (end >= list.size())
            return entries;
        from = end + 1;
    }
}

PortTable PortTable::live(std::function<QStringList()> lister)
{
    PortTable table{QStringList()};
    table.m_shared->lister = std::move(lister);
    table.refresh();
    return table;
}

PortTable PortTable::fromSystem()
{
#ifdef Q_OS_WIN
    QStringList devices;
    for (int n = kFirstPort; n <= kLastPort; ++n)
        devices << QStringLiteral("COM%1").arg(n);
    return PortTable(devices);
#else
    // Empty entries keep their place, so "a::b" makes b port 3.
    if (qEnvironmentVariableIsSet("ORVANTIS_PORTS"))
        return PortTable(splitList(qEnvironmentVariable("ORVANTIS_PORTS")));
    return live([] { return systemPorts(QStringLiteral("/dev/serial/by-id")); });
#endif
}

void PortTable::refresh()
{
    if (m_shared->lister)
        m_shared->devices = m_shared->lister();
}

QString PortTable::deviceFor(int portNumber) const
{
    const QStringList &devices = m_shared->devices;
    if (portNumber < kFirstPort || portNumber > devices.size())
        return QString();
    return devices.at(portNumber - 1);
}

QString PortTable::entryText(int portNumber) const
{
    // The number is written with a sign position, as the instrument's own software does.
    const QString number = QString::number(portNumber);
    const QString device = deviceFor(portNumber);
    //: A port in the lists: its number, then the device or address it stands for.
    if (!device.isEmpty() && device != QStringLiteral("COM%1").arg(portNumber))
        return tr("COM  %1  (%2)").arg(number, device);
    //: A port in the lists by its number alone.
    return tr("COM  %1").arg(number);
}

QString PortTable::portName(int portNumber, const QString &device)
{
    //: A port by its number and its device.
    return tr("COM %1 (%2)").arg(portNumber).arg(device);
}
