#pragma once

#include "link/CommPort.h"
#include "link/PortTable.h"

#include <QObject>
#include <QThread>

class NetworkReader;
class PortReader;
class SerialReader;

// Comm1 over a local serial device (QSerialPort) or a serial line behind a device server on
// the network (a port table entry "tcp://HOST:PORT" or "rfc2217://HOST:PORT"). Each open()
// picks the reader for the port's entry: a SerialReader or a NetworkReader, both on a
// thread of their own, which gather the line's input in batches; this object hands it to
// the receive loop. A line that goes away while open (USB adapter pulled, pty closed, the
// server gone) is recorded as a failure: the receive loop takes what had arrived, checks
// hasFailed() and closes the port. Closing lets what was written last (a stop, a Ctrl-Z) leave
// the computer first, for about half a second at most, and leaves the line's settings as they
// are.
class QtCommPort : public QObject, public CommPort
{
    Q_OBJECT
public:
    explicit QtCommPort(PortTable table, QObject *parent = nullptr);
    ~QtCommPort() override;

    int portNumber() const override { return m_portNumber; }
    void setPortNumber(int number) override { m_portNumber = number; }
    QString settings() const override { return m_settings; }
    void setSettings(const QString &settings) override;
    // False for a raw network port ("tcp://"), and for an RFC 2217 server that refused to
    // set its port; decided by the port's entry until it is open.
    bool canSetRate() const override;
    bool isOpen() const override { return m_open; }
    bool open() override;
    void close() override;
    bool write(const QByteArray &bytes) override;
    qint64 bytesWaiting() override;
    QByteArray readWaiting() override;
    void wakeOnArrival() override;
    bool hasFailed() const override;
    QString failureText() const override;
    QString deviceName() const override { return m_table.deviceFor(m_portNumber); }

    const PortTable &table() const { return m_table; }
    // Why the last open() failed: the serial port's error and its text. A device held by
    // another program (its lock file, or an exclusive open) shows as a PermissionError.
    PortOpenError openError() override;

private:
    // Runs `call` in the reader's thread and waits for it.
    template <typename Call> auto inReader(Call call);
    int rate() const;

    PortTable m_table;
    QThread m_thread;
    SerialReader *m_serial;
    NetworkReader *m_network;
    // The reader of the port opened last.
    PortReader *m_reader;
    bool m_open = false;
    int m_portNumber = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
};
