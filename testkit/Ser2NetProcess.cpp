#include "testkit/Ser2NetProcess.h"

#include "testkit/SimProcess.h"
#include "testkit/TestFiles.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>

QString Ser2NetProcess::program()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    if (!found.isEmpty())
        return found;
    // Debian installs it where a user's PATH may not look.
    return QStandardPaths::findExecutable(QStringLiteral("ser2net"),
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
}

quint16 Ser2NetProcess::freePort()
{
    static QSet<quint16> handedOut;
    QTcpServer probe;
    while (probe.listen(QHostAddress::LocalHost) && handedOut.contains(probe.serverPort()))
        probe.close();
    return probe.isListening() ? *handedOut.insert(probe.serverPort()) : 0;
}

bool Ser2NetProcess::start(Accepter accepter, const QString &device, int baud, int timeoutMs)
{
    stop();
    m_accepter = accepter;
    m_device = device;
    m_baud = baud;
    m_port = freePort();
    return launch(timeoutMs);
}

bool Ser2NetProcess::restart(int timeoutMs)
{
    stop();
    return launch(timeoutMs);
}

bool Ser2NetProcess::launch(int timeoutMs)
{
    m_error.clear();
    const QString ser2net = program();
    if (ser2net.isEmpty()) {
        m_error = QStringLiteral("ser2net is not installed (Debian package ser2net; "
                                 "scripts/setup test installs it)");
        return false;
    }
    if (!m_dir.isValid() || m_port == 0) {
        m_error = QStringLiteral("no temporary folder or free local port for ser2net");
        return false;
    }
    const QString listen = QStringLiteral("tcp,127.0.0.1,%1").arg(m_port);
    // "local": the pty has no modem lines to wait for.
    const QString config =
        QStringLiteral("connection: &orvantis\n"
                       "  accepter: %1\n"
                       "  connector: serialdev,%2,%3n81,local\n")
            .arg(m_accepter == Accepter::Rfc2217 ? QStringLiteral("telnet(rfc2217),") + listen
                                                 : listen,
                 m_device)
            .arg(m_baud);
    const QString path = m_dir.filePath(QStringLiteral("ser2net.yaml"));
    if (!writeFile(path, config.toUtf8())) {
        m_error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    // In the foreground with its messages on standard output, without UUCP lock files.
    m_process.setProgram(ser2net);
    m_process.setArguments({QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-u"),
                            QStringLiteral("-c"), path});
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start();
    const QDeadlineTimer deadline(timeoutMs);
    while (isRunning() && !listening() && !deadline.hasExpired())
        QTest::qWait(10);
    if (listening())
        return true;
    m_error = QStringLiteral("ser2net did not listen on port %1 within %2 ms: %3")
                  .arg(m_port)
                  .arg(timeoutMs)
                  .arg(QString::fromLocal8Bit(m_process.readAll()).trimmed());
    stop();
    return false;
}

void Ser2NetProcess::stop()
{
    SimProcess::endProcess(m_process);
}

QString Ser2NetProcess::address() const
{
    const QString scheme =
        m_accepter == Accepter::Rfc2217 ? QStringLiteral("rfc2217") : QStringLiteral("tcp");
    return QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(m_port);
}

bool Ser2NetProcess::listening() const
{
    // The kernel's table of TCP sockets: local address, remote address, state (0A: listen).
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray local = QByteArrayLiteral("0100007F:") +
                             QByteArray::number(m_port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields.at(1) == local && fields.at(3) == "0A")
            return true;
    }
    return false;
}
