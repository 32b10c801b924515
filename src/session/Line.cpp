#include "session/Line.h"

#include "session/InstrumentSession.h"

QByteArray Line::SendCommand(const QByteArray &command, const QByteArray &startMarker,
                             const QByteArray &endMarker, float timeoutSeconds)
{
    if (!readyToWrite())
        return QByteArray();
    return m_session.m_transaction.SendCommand(command, startMarker, endMarker, timeoutSeconds);
}

void Line::Pause(float seconds)
{
    m_session.m_transaction.Pause(seconds);
}

bool Line::write(const QByteArray &bytes)
{
    return readyToWrite() && m_session.m_port.write(bytes);
}

void Line::pass()
{
    m_session.pump().pass();
}

QByteArray Line::afterReply() const
{
    return m_session.m_transaction.afterReply();
}

bool Line::lastReplyFramed() const
{
    return m_session.m_transaction.lastReplyFramed();
}

bool Line::portOpen() const
{
    return m_session.m_port.isOpen();
}

bool Line::mayWrite() const
{
    const quint64 owner = m_session.m_ownerToken;
    return m_owner != kRefused && (owner == 0 || owner == m_owner);
}

bool Line::readyToWrite()
{
    if (mayWrite())
        return true;
    // A claim that was not granted has been refused once already, when it was made.
    if (m_owner != kRefused)
        m_session.refuse();
    return false;
}

StopOnExit Line::stopOnExit(QByteArray stop) const
{
    CommandTransaction &transaction = m_session.m_transaction;
    if (!mayWrite())
        stop = transaction.stopOnExit();
    return StopOnExit(transaction, std::move(stop));
}

EventLog &Line::eventLog() const
{
    return m_session.eventLog();
}
