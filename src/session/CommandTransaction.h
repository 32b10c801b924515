#pragma once

#include "link/CommPort.h"
#include "session/EventPump.h"
#include "session/LinkStatus.h"
#include "session/ProgramState.h"

#include <QByteArray>

// The command transaction: writes a command and waits, while every pending event runs,
// until the reply between a start and an end marker has arrived in ReceiveBuffer (filled by
// the receive loop) or the time-out has passed.
class CommandTransaction
{
public:
    CommandTransaction(ProgramState &state, CommPort &port, LinkStatus &status);

    // startMarker is found ignoring case, endMarker exactly, searched from the start
    // marker's position. Empty command: ReceiveBuffer is kept (cut to its last 65535
    // characters) and the wait continues a reply already arriving. A time-out of 0 makes
    // one pass. Returns the framed reply, or all of ReceiveBuffer at the time-out, or an
    // empty text when the port is not open.
    QByteArray SendCommand(const QByteArray &command, const QByteArray &startMarker,
                           const QByteArray &endMarker, float timeoutSeconds);

    // Lets events run for `seconds`; 0 or less returns at once.
    void Pause(float seconds);

    // The program is ending: tells the instrument to stop the operation under way (what the
    // innermost StopOnExit declared, if any) and closes the port, so that every wait ends at
    // its next pass and nothing more is sent.
    void endForExit();
    QByteArray exchangeStopOnExit(QByteArray stop);
    QByteArray stopOnExit() const { return m_stopOnExit; }

    // What had arrived after the end marker when the last reply was framed; it is no longer
    // in ReceiveBuffer.
    QByteArray afterReply() const { return m_afterReply; }
    // True when the last SendCommand found its end marker; false when its wait ran out.
    bool lastReplyFramed() const { return m_framed; }

    EventPump &pump() { return m_pump; }
    // False once the line has gone (or was never opened): waits that have no time-out of
    // their own end on it.
    bool portOpen() const { return m_port.isOpen(); }

private:
    ProgramState &m_state;
    CommPort &m_port;
    LinkStatus &m_status;
    EventPump m_pump;
    QByteArray m_afterReply;
    bool m_framed = false;
    QByteArray m_stopOnExit;
};
