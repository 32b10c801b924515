#pragma once

#include "session/CommandTransaction.h"
#include "session/FileCapture.h"
#include "session/LinkStatus.h"
#include "session/ProgramState.h"
#include "session/ReceiveLoop.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/PlainLinkStatus.h"

#include <QByteArrayList>
#include <QTimer>

// The console's receive path over an in-memory port, driven without real waiting: a zero
// timer stands in for the 200 ms receive timer. On every pass of the event pump it hands the
// port the next pending chunk of instrument output, runs the receive loop, and moves the
// clock on by `step` seconds, so time-outs pass after a few passes.
class FuzzLink
{
public:
    explicit FuzzLink(float step)
        : capture(state), loop(state, port, capture, status), transaction(state, port, status)
    {
        port.open();
        status.SetStatus(StatusCode::Idle);
        m_tick.setInterval(0);
        QObject::connect(&m_tick, &QTimer::timeout, [this, step] {
            if (!pending.isEmpty())
                port.feed(pending.takeFirst());
            loop.run();
            state.clock.setTimeOfDay(state.clock.timeOfDay() + step);
        });
        m_tick.start();
    }

    ProgramState state;
    MemoryCommPort port;
    FileCapture capture;
    PlainLinkStatus status;
    ReceiveLoop loop;
    CommandTransaction transaction;
    // Output still to come from the instrument, one chunk per pass.
    QByteArrayList pending;

private:
    QTimer m_tick;
};
