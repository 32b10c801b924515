#pragma once

#include "testkit/MemoryCommPort.h"
#include "testkit/SessionRig.h"

#include <QByteArrayList>
#include <QTimer>

// The program's instrument session over an in-memory port, driven without real waiting: on
// every pass of the event pump the port takes the next pending chunk of instrument output
// and the session's clock moves on by `step` seconds, so that time-outs pass after a few
// passes.
class FuzzSession
{
public:
    explicit FuzzSession(float step) : rig(port)
    {
        rig.session.eventLog().setFolder(QString());
        rig.open();
        m_tick.setInterval(0);
        QObject::connect(&m_tick, &QTimer::timeout, [this, step] {
            if (!pending.isEmpty())
                port.feed(pending.takeFirst());
            Clock &clock = rig.session.clock();
            clock.setTimeOfDay(clock.timeOfDay() + step);
        });
        m_tick.start();
    }

    MemoryCommPort port;
    SessionRig rig;
    // Output still to come from the instrument, one chunk per pass.
    QByteArrayList pending;

private:
    QTimer m_tick;
};
