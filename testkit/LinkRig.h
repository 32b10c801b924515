#pragma once

#include "link/CommPort.h"
#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/LinkStatus.h"
#include "link/ProgramState.h"
#include "link/ReceiveLoop.h"
#include "testkit/ScriptedOperator.h"

#include <QTimer>

// The console's side of the line without its windows, over any port (in memory, the
// simulated instrument, a pty): program state, status code, the byte-counted capture, the
// receive loop on its own timer, the command transaction and a scripted operator.
class LinkRig
{
public:
    // More often than the main window's 200 ms, to keep tests short.
    static constexpr int kReceiveIntervalMs = 5;

    explicit LinkRig(CommPort &port, int receiveIntervalMs = kReceiveIntervalMs);
    ~LinkRig() { timer1.stop(); }
    LinkRig(const LinkRig &) = delete;
    LinkRig &operator=(const LinkRig &) = delete;

    // Opens the port; once open, the link shows status 1 (connected and idle).
    bool open();

    ProgramState state;
    PlainLinkStatus status;
    ScriptedOperator dialogs;
    FileCapture capture{state};
    ReceiveLoop loop;
    CommandTransaction transaction;
    QTimer timer1;

private:
    CommPort &m_port;
};
