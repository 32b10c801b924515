#pragma once

#include "link/PortReader.h"
#include "link/TelnetCodec.h"

#include <QAbstractSocket>
#include <QTcpSocket>

#include <atomic>
#include <optional>

// Comm1 on a serial line behind a device server: a TCP connection to "tcp://HOST:PORT"
// (the line's bytes and nothing else) or "rfc2217://HOST:PORT" (Telnet with
// COM-PORT-CONTROL, through TelnetCodec, so the far port's rate follows the settings). Read
// in batches on the reader's thread like a local device. A connection that ends (the server
// gone, a network error) is a lost line. Closing lets what was written reach the server
// first, for up to kDrainMs.
class NetworkReader : public PortReader
{
    Q_OBJECT
public:
    // An address that neither accepts nor refuses within this time cannot be opened. Over
    // RFC 2217, the server's answer to the offer of COM-PORT-CONTROL is awaited within the
    // same time, so that what is written next goes at the rate asked for.
    static constexpr int kConnectTimeoutMs = 1500;
    static constexpr int kDrainMs = 500;

    NetworkReader();

    bool canSetRate() const override { return m_rateSettable; }
    bool open(const QString &address, int baudRate) override;
    PortOpenError openError() const override { return m_openError; }
    void close() override;
    bool setBaudRate(int baudRate) override;
    bool write(const QByteArray &bytes) override;

private:
    void onReadyRead();
    void onError(QAbstractSocket::SocketError error);
    // The line's bytes in what arrived; the Telnet answers go out at once.
    QByteArray lineBytes(const QByteArray &arrived);
    bool send(const QByteArray &bytes);
    void drainOutput();

    QTcpSocket m_socket{this};
    std::optional<TelnetCodec> m_telnet;
    // Only a server that agreed to COM-PORT-CONTROL sets its port's rate: one that stays
    // silent about it would leave the far port at the old rate after the instrument switched.
    std::atomic<bool> m_rateSettable{false};
    PortOpenError m_openError;
    // Connected by open() and not closed since: an error now ends the line.
    bool m_live = false;
};
