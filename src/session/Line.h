#pragma once

#include "session/LineGate.h"
#include "session/StopOnExit.h"

#include <QByteArray>

#include <utility>

class EventLog;

// A writer's way onto the instrument line. The session hands one shared line to the short
// commands and keys (status queries, switches, samples, the clock, the terminal) and a
// LineClaim to each operation that owns the line for a while. While an operation owns it,
// every other line refuses to write: it sends nothing, returns what a silent instrument
// would (an empty reply), and the operator is told why in a short note.
class Line
{
public:
    Line(LineGate &gate, quint64 token) : m_gate(&gate), m_token(token) {}
    virtual ~Line() = default;
    Line(const Line &) = delete;
    Line &operator=(const Line &) = delete;

    // The command transaction: writes `command` and waits for the reply framed by the
    // markers, or the time-out (see CommandTransaction).
    QByteArray SendCommand(const QByteArray &command, const QByteArray &startMarker,
                           const QByteArray &endMarker, float timeoutSeconds);
    // Lets events run for `seconds`; writes nothing, so it is never refused.
    void Pause(float seconds);
    // Raw bytes straight to the port (ETX, typed keys). False when refused or not written.
    bool write(const QByteArray &bytes);
    // One pass of pending events, for waits that count what arrives.
    void pass();

    QByteArray afterReply() const;
    bool lastReplyFramed() const;
    bool portOpen() const;
    // False while another operation owns the line.
    bool mayWrite() const { return m_gate->mayWrite(m_token); }
    // mayWrite(), and when it is false the operator is told why.
    bool readyToWrite();

    // Declares, for the life of the returned object, what stops the instrument should the
    // program end meanwhile. A line that may not write declares nothing.
    StopOnExit stopOnExit(QByteArray stop) const;

    // The session's event log, for the steps of a feature that no signal of the session shows.
    EventLog &eventLog() const;

protected:
    // A claim moves; the line it leaves behind writes nothing.
    Line(Line &&other) noexcept
        : m_gate(other.m_gate), m_token(std::exchange(other.m_token, LineGate::kRefused))
    {
    }

    LineGate *m_gate;
    // 0 for the shared line, LineGate::kSession for the session's own; a claim's token
    // otherwise.
    quint64 m_token;
};
