#include "session/Line.h"

#include "link/CommPort.h"
#include "session/CommandTransaction.h"

QByteArray Line::SendCommand(const QByteArray &command, const QByteArray &startMarker,
                             const QByteArray &endMarker, float timeoutSeconds)
{
    if (!readyToWrite())
        return QByteArray();
    if (!command.isEmpty())
        m_gate->beforeWrite();
    return m_gate->transaction().SendCommand(command, startMarker, endMarker, timeoutSeconds);
}

void Line::Pause(float seconds)
{
    m_gate->transaction().Pause(seconds);
}

bool Line::write(const QByteArray &bytes)
{
    if (!readyToWrite())
        return false;
    m_gate->beforeWrite();
    return m_gate->port().write(bytes);
}

void Line::pass()
{
    m_gate->transaction().pump().pass();
}

QByteArray Line::afterReply() const
{
    return m_gate->transaction().afterReply();
}

bool Line::lastReplyFramed() const
{
    return m_gate->transaction().lastReplyFramed();
}

bool Line::portOpen() const
{
    return m_gate->port().isOpen();
}

bool Line::readyToWrite()
{
    if (mayWrite())
        return true;
    // A claim that was not granted has been refused once already, when it was made.
    if (m_token != LineGate::kRefused)
        m_gate->refuse();
    return false;
}

StopOnExit Line::stopOnExit(QByteArray stop) const
{
    CommandTransaction &transaction = m_gate->transaction();
    if (!mayWrite())
        stop = transaction.stopOnExit();
    return StopOnExit(transaction, std::move(stop));
}

EventLog &Line::eventLog() const
{
    return m_gate->eventLog();
}
