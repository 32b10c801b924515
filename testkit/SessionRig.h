#pragma once

#include "session/InstrumentSession.h"
#include "session/SessionEventRecorder.h"
#include "testkit/ScriptedOperator.h"

// The program's instrument session without any window, over any port (in memory, the
// simulated instrument, a pty), with a scripted operator: the production wiring of the
// receive loop, the transaction and polling, for tests below the windows.
class SessionRig
{
public:
    explicit SessionRig(CommPort &port, const PortTable &table = PortTable(QStringList()));
    SessionRig(const SessionRig &) = delete;
    SessionRig &operator=(const SessionRig &) = delete;

    // Opens the port; once open, the session shows status 1 (connected and idle).
    bool open();

    Line &line() { return session.line(); }

    ScriptedOperator dialogs;
    InstrumentSession session;
    SessionEventRecorder events{session, session.eventLog()};

private:
    CommPort &m_port;
};
