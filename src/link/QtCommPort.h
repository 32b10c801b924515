#pragma once

#include "link/CommPort.h"
#include "link/PortTable.h"

#include <QObject>
#include <QSerialPort>

// Comm1 over QSerialPort. A device that goes away while open (USB adapter pulled, pty
// closed) is recorded as a failure instead of being reported on every access; the owner
// reads what had arrived, checks hasFailed() and closes the port once.
class QtCommPort : public QObject, public CommPort
{
    Q_OBJECT
public:
    explicit QtCommPort(PortTable table, QObject *parent = nullptr);

    int portNumber() const override { return m_portNumber; }
    void setPortNumber(int number) override;
    QString settings() const override { return m_settings; }
    void setSettings(const QString &settings) override;
    bool isOpen() const override { return m_open; }
    bool open() override;
    void close() override;
    bool write(const QByteArray &bytes) override;
    qint64 bytesWaiting() override;
    char readChar() override;
    bool hasFailed() const override { return m_failed; }
    QString failureText() const override { return m_failureText; }
    QString deviceName() const override { return m_table.deviceFor(m_portNumber); }

    const PortTable &table() const { return m_table; }

private:
    void applySettings();
    void onError(QSerialPort::SerialPortError error);

    PortTable m_table;
    QSerialPort m_port;
    // Open as the program sees it. After the device has gone, the QSerialPort is closed
    // at once (a dead device keeps waking the event loop) while the port stays open for
    // the program until the receive loop has taken what had arrived, held in m_held.
    bool m_open = false;
    QByteArray m_held;
    qsizetype m_heldPos = 0;
    int m_portNumber = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    bool m_failed = false;
    QString m_failureText;
};
