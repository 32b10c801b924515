#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Maps the program's port numbers 1-16 to devices. On Linux the table comes from
// ORVANTIS_PORTS (entries separated by ':', each a device path, used as given: a link that is
// re-pointed is still the same port, or a network address such as "rfc2217://host:2000", see
// PortAddress) when it is set, otherwise from the system's serial ports, adapters under their
// stable /dev/serial/by-id/ names first. On Windows port n is COMn.
//
// Copies share one list, so the port and the search agree on what port n is after a
// refresh.
class PortTable
{
    Q_DECLARE_TR_FUNCTIONS(PortTable)

public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 16;

    // Reads the environment and the system's ports. Without ORVANTIS_PORTS (on Linux) the
    // table is live: refresh() reads the system's ports again, so an adapter plugged in
    // after start-up is found by the next search.
    static PortTable fromSystem();
    // A table that reads its devices from `lister` now and at every refresh().
    static PortTable live(std::function<QStringList()> lister);
    // A fixed table; refresh() leaves it as it is.
    explicit PortTable(QStringList devices);
    // The entries of an ORVANTIS_PORTS list; empty entries keep their place.
    static QStringList splitList(const QString &list);

    // Reads a live table's devices again; every copy sees the new list.
    void refresh();

    // Device for a port number; empty when the number has no device.
    QString deviceFor(int portNumber) const;
    // Entry text for lists: "COM  3  (/dev/ttyUSB0)"; ExtractNumber recovers the 3.
    QString entryText(int portNumber) const;
    // A port in messages and the event log: "COM 3 (/dev/ttyUSB0)".
    static QString portName(int portNumber, const QString &device);
    QStringList devices() const { return m_shared->devices; }

private:
    struct Shared {
        QStringList devices;
        std::function<QStringList()> lister;
    };
    std::shared_ptr<Shared> m_shared;
};
