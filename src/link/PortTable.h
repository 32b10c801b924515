#pragma once

#include <QString>
#include <QStringList>

// Maps the program's port numbers 1-16 to devices. On Linux the table comes from
// ORVANTIS_PORTS (device paths separated by ':') when it is set, otherwise from the
// system's serial ports sorted by device path. On Windows port n is COMn.
class PortTable
{
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 16;

    // Reads the environment and the system's ports.
    static PortTable fromSystem();
    explicit PortTable(QStringList devices) : m_devices(std::move(devices)) {}

    // Device for a port number; empty when the number has no device.
    QString deviceFor(int portNumber) const;
    // Entry text for lists: "COM  3  (/dev/ttyUSB0)"; ExtractNumber recovers the 3.
    QString entryText(int portNumber) const;
    QStringList devices() const { return m_devices; }

private:
    QStringList m_devices;
};
