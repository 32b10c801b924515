#include "link/NetworkReader.h"

#include "link/PortAddress.h"

#include <QDeadlineTimer>
#include <QThread>

#ifdef Q_OS_LINUX
#include <linux/sockios.h>
#include <sys/ioctl.h>
#endif

namespace
{
// How often the kernel's send queue is looked at while it empties.
constexpr int kSendQueuePollMs = 2;
} // namespace

NetworkReader::NetworkReader()
{
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkReader::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &NetworkReader::onError);
}

bool NetworkReader::open(const QString &address, int baudRate)
{
    startSession();
    m_telnet.reset();
    m_rateSettable = false;
    m_openError = {};
    const PortAddress where = PortAddress::parse(address);
    if (!where.isNetwork() || !where.isValid()) {
        m_openError = {PortOpenError::Kind::Other, where.problem()};
        return false;
    }
    const QDeadlineTimer deadline(kConnectTimeoutMs);
    // Nothing of a connection that ended by itself stays in the way.
    m_socket.abort();
    m_socket.connectToHost(where.host(), where.port());
    if (!m_socket.waitForConnected(kConnectTimeoutMs)) {
        m_openError = {PortOpenError::Kind::Other, m_socket.errorString()};
        m_socket.abort();
        return false;
    }
    // Commands of a few bytes go out at once, not when more would fill a packet.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    m_live = true;
    if (where.kind() == PortAddress::Kind::Rfc2217) {
        m_telnet.emplace();
        m_rateSettable = true;
        setBaudRate(baudRate);
        while (!m_telnet->comPortSettled() && !failed() && !deadline.hasExpired())
            m_socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        m_rateSettable = m_telnet->comPortAgreed();
    }
    // A server that hangs up at once (its serial device in use) has no line to offer.
    if (failed()) {
        m_openError = {PortOpenError::Kind::Other, tr("the server ended the connection")};
        close();
        return false;
    }
    return true;
}

void NetworkReader::close()
{
    m_live = false;
    drainOutput();
    m_socket.disconnectFromHost();
    // Unsent bytes are only left behind a connection that no longer carries them.
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.abort();
    m_telnet.reset();
    endSession();
}

void NetworkReader::drainOutput()
{
    const QDeadlineTimer deadline(kDrainMs);
    while (m_socket.state() == QAbstractSocket::ConnectedState && m_socket.bytesToWrite() > 0 &&
           !deadline.hasExpired()) {
        if (!m_socket.waitForBytesWritten(int(deadline.remainingTime())))
            return;
    }
#ifdef Q_OS_LINUX
    // Written is not yet received: until the server has acknowledged them the bytes are in
    // the kernel's queue, which a close with unread input would throw away with a reset.
    int queued = 0;
    while (m_socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired() &&
           ::ioctl(int(m_socket.socketDescriptor()), SIOCOUTQ, &queued) == 0 && queued > 0)
        QThread::msleep(kSendQueuePollMs);
#endif
}

bool NetworkReader::setBaudRate(int baudRate)
{
    if (!m_telnet || baudRate <= 0 || m_socket.state() != QAbstractSocket::ConnectedState)
        return false;
    m_telnet->setLine(baudRate);
    return send(m_telnet->takeOutput()) && m_telnet->comPortAgreed();
}

bool NetworkReader::write(const QByteArray &bytes)
{
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        return false;
    return send(m_telnet ? TelnetCodec::escape(bytes) : bytes);
}

bool NetworkReader::send(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return true;
    if (m_socket.write(bytes) != bytes.size())
        return false;
    // Out now, not when the thread next looks at its events.
    m_socket.flush();
    return true;
}

QByteArray NetworkReader::lineBytes(const QByteArray &arrived)
{
    if (!m_telnet)
        return arrived;
    const QByteArray bytes = m_telnet->decode(arrived);
    send(m_telnet->takeOutput());
    m_rateSettable = m_telnet->comPortAgreed();
    return bytes;
}

void NetworkReader::onReadyRead()
{
    const QByteArray arrived = m_socket.readAll();
    received(lineBytes(arrived));
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        napAfter(arrived.size(), m_socket.bytesToWrite() > 0);
}

void NetworkReader::onError(QAbstractSocket::SocketError error)
{
    // A wait of open() that ran out, or a hiccup the socket gets over, ends nothing. An
    // error before the connection stood is open()'s to report.
    if (!m_live || error == QAbstractSocket::SocketTimeoutError ||
        error == QAbstractSocket::TemporaryError)
        return;
    m_live = false;
    const QByteArray rest = lineBytes(m_socket.readAll());
    fail(m_socket.errorString(), rest);
}
