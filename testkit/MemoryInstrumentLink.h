#pragma once

#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/LinkStatus.h"
#include "link/ProgramState.h"
#include "link/ReceiveLoop.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/ScriptedOperator.h"

#include <QTimer>

// The program's core on an in-memory port, for tests that play the instrument with a
// responder: program state, an open port, status 1, the byte-counted capture, the receive
// loop run by its own timer, and the command transaction.
class MemoryInstrumentLink
{
public:
    // The receive loop runs more often than the program's 200 ms to keep tests short.
    static constexpr int kReceiveIntervalMs = 5;

    MemoryInstrumentLink();

    ProgramState state;
    MemoryCommPort port;
    PlainLinkStatus status;
    ScriptedOperator dialogs;
    FileCapture capture{state};
    ReceiveLoop loop{state, port, capture, status};
    CommandTransaction transaction{state, port, status};
    QTimer timer1;
};
