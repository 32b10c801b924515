#pragma once

#include "session/LineOperation.h"

#include <QObject>

#include <functional>

class CommandTransaction;
class CommPort;
class EventLog;

// Who may write to the instrument line now. Every Line writes through the one gate of its
// session: the shared line while no operation owns the line, a claim's line while its
// operation does; everything else is refused and the operator is told why.
class LineGate : public QObject
{
    Q_OBJECT
public:
    // The token of a claim that was not granted: such a line never writes.
    static constexpr quint64 kRefused = ~quint64(0);
    // The session's own line: the stop of its periodic run and its answer to a late capture
    // prompt answer the instrument's own state, so they go out whoever owns the line.
    static constexpr quint64 kSession = kRefused - 1;

    LineGate(CommandTransaction &transaction, CommPort &port, EventLog &eventLog,
             QObject *parent = nullptr)
        : QObject(parent), m_transaction(transaction), m_port(port), m_eventLog(eventLog)
    {
    }

    // Makes `operation` the owner and returns its token, or kRefused (with a note) while
    // another operation owns the line. Through a LineClaim, which gives the token back.
    quint64 claim(LineOperation operation);
    void release(quint64 token);
    // True for the shared line's token (0) while nobody owns the line, for the owner's, and
    // for the session's own.
    bool mayWrite(quint64 token) const
    {
        return token == kSession ||
               (token != kRefused && (m_ownerToken == 0 || token == m_ownerToken));
    }
    bool isFree() const { return m_ownerToken == 0; }
    LineOperation owner() const { return m_owner; }
    // Says that something was not sent, and why.
    void refuse();

    CommandTransaction &transaction() { return m_transaction; }
    CommPort &port() { return m_port; }
    // The session's event log, for what a writer does that no signal shows.
    EventLog &eventLog() { return m_eventLog; }

    // Runs before every write that is let through, so that what has already arrived can be
    // answered first (a late "Capture>" by its Ctrl-Z).
    void setBeforeWrite(std::function<void()> hook) { m_beforeWrite = std::move(hook); }
    void beforeWrite()
    {
        if (m_beforeWrite)
            m_beforeWrite();
    }

signals:
    void ownerChanged(LineOperation owner);
    void refused(const QString &note);

private:
    CommandTransaction &m_transaction;
    CommPort &m_port;
    EventLog &m_eventLog;
    quint64 m_ownerToken = 0;
    quint64 m_lastToken = 0;
    LineOperation m_owner = LineOperation::None;
    std::function<void()> m_beforeWrite;
};
