#pragma once

#include "link/CommPort.h"
#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/LinkStatus.h"
#include "link/ProgramState.h"
#include "link/ReceiveLoop.h"

#include <QTimer>

// The console's side of the line without its windows: program state, status code, the
// receive loop on its timer and the command transaction, all over a given port.
class ConsoleLink
{
public:
    // `receiveIntervalMs`: how often the receive loop runs (the main window's is 200 ms).
    explicit ConsoleLink(CommPort &port, int receiveIntervalMs = 20);
    ~ConsoleLink();
    ConsoleLink(const ConsoleLink &) = delete;
    ConsoleLink &operator=(const ConsoleLink &) = delete;

    ProgramState state;
    PlainLinkStatus status;
    FileCapture capture{state};
    ReceiveLoop loop;
    CommandTransaction transaction;
    QTimer timer;
};
