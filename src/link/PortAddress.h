#pragma once

#include <QCoreApplication>
#include <QString>

// What a port entry names: a local serial device ("/dev/ttyUSB0", "COM3") or a serial line
// behind a device server on the network, "tcp://HOST:PORT" (the line's bytes and nothing
// else) or "rfc2217://HOST:PORT" (Telnet with the COM-PORT-CONTROL option, which also sets
// the far port's rate). An IPv6 host is written in brackets: "tcp://[fd00::7]:4001".
class PortAddress
{
    Q_DECLARE_TR_FUNCTIONS(PortAddress)

public:
    enum class Kind { Device, RawTcp, Rfc2217 };

    static PortAddress parse(const QString &entry);
    // Where the entry that starts at `from` in an ORVANTIS_PORTS list ends: at the next ':'
    // that is not part of a network address.
    static qsizetype entryEnd(const QString &list, qsizetype from);

    Kind kind() const { return m_kind; }
    bool isNetwork() const { return m_network; }
    // A device with a name, or a network address of a known kind with a host and a port.
    bool isValid() const { return m_problem.isEmpty(); }
    // Why the entry names no port, in the operator's terms; empty when it is valid.
    QString problem() const { return m_problem; }
    QString host() const { return m_host; }
    quint16 port() const { return m_port; }

private:
    Kind m_kind = Kind::Device;
    bool m_network = false;
    QString m_host;
    quint16 m_port = 0;
    QString m_problem;
};
