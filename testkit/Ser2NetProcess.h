#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real ser2net (Debian's package, 4.x) run for a test in front of a serial device, such
// as orvantis-sim's pty: it writes its configuration into a temporary folder, listens on a
// free local port, and is stopped (SIGTERM, then kill) when the object goes. It serves the
// device either as raw TCP or as Telnet with RFC 2217, and opens the device only while a
// client is connected.
class Ser2NetProcess
{
public:
    enum class Accepter { RawTcp, Rfc2217 };

    Ser2NetProcess() = default;
    ~Ser2NetProcess() { stop(); }
    Ser2NetProcess(const Ser2NetProcess &) = delete;
    Ser2NetProcess &operator=(const Ser2NetProcess &) = delete;

    // Serves `device` at `baud`, 8 data bits, no parity, 1 stop bit, on a free local port,
    // and waits until it listens. False, with the reason in errorString(), when ser2net is
    // missing or does not come up.
    bool start(Accepter accepter, const QString &device, int baud, int timeoutMs = 10000);
    // Starts it again as last started, on the same port: a server that comes back.
    bool restart(int timeoutMs = 10000);
    // Ends it: the connection of a client drops as when the server goes away.
    void stop();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    // The port entry that reaches it: "tcp://127.0.0.1:N" or "rfc2217://127.0.0.1:N".
    QString address() const;
    quint16 port() const { return m_port; }
    QString errorString() const { return m_error; }
    // The ser2net program, or empty when it is not installed.
    static QString program();
    // A local TCP port nobody listens on now and not handed out before in this process (one
    // a test keeps as refused must not become a server's); 0 when none could be had.
    static quint16 freePort();

private:
    bool launch(int timeoutMs);
    bool listening() const;

    QTemporaryDir m_dir;
    QProcess m_process;
    Accepter m_accepter = Accepter::RawTcp;
    QString m_device;
    int m_baud = 9600;
    quint16 m_port = 0;
    QString m_error;
};
