#pragma once

#include "link/CommPort.h"
#include "link/PortTable.h"

#include <QObject>
#include <QSerialPort>
#include <QThread>

class SerialReader;

// Comm1 over QSerialPort. The QSerialPort lives in a SerialReader on a thread of its own,
// which gathers the line's input in batches; this object hands it to the receive loop. A
// device that goes away while open (USB adapter pulled, pty closed) is recorded as a
// failure: the receive loop takes what had arrived, checks hasFailed() and closes the port.
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
    std::pair<QSerialPort::SerialPortError, QString> openError();

private:
    // Runs `call` in the reader's thread and waits for it.
    template <typename Call> auto inReader(Call call);
    int rate() const;

    PortTable m_table;
    QThread m_thread;
    SerialReader *m_reader;
    bool m_open = false;
    int m_portNumber = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
};
