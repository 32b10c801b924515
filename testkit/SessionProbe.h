#pragma once

#include "session/InstrumentSession.h"

#include <QElapsedTimer>
#include <QTimer>

// What tests read and set inside an instrument session, in one place: when the session's
// insides change, only this file follows.
namespace probe
{
inline QByteArray &receiveBuffer(InstrumentSession &session)
{
    return session.state().ReceiveBuffer;
}
inline qint64 byteCount(InstrumentSession &session)
{
    return session.capture().byteCount();
}
// Seconds since the last byte arrived.
inline float silence(InstrumentSession &session)
{
    return session.capture().TimeSinceLastByte();
}
inline bool capturing(InstrumentSession &session)
{
    return session.capture().CaptureActive();
}
inline DataFile &dataFile(InstrumentSession &session)
{
    return session.state().dataFile;
}
inline void setDownloadFolder(InstrumentSession &session, const QString &folder)
{
    session.state().DefaultDataFolder = folder;
}
inline Clock &clock(InstrumentSession &session)
{
    return session.state().clock;
}
} // namespace probe

// Holds a clock still, so that no wait reading it ends on its time-out, for up to
// `ceilingMs` of real time; past that it lets every such wait run out at once and says so
// (ranOut()). A test that holds it shows that a wait ended on its event, not on its
// time-out, however slow the machine.
class HeldClock
{
public:
    explicit HeldClock(Clock &clock, int ceilingMs = 60000) : m_clock(clock)
    {
        const double held = clock.timeOfDay();
        m_since.start();
        m_tick.setInterval(5);
        QObject::connect(&m_tick, &QTimer::timeout, [this, held, ceilingMs] {
            if (m_since.elapsed() < ceilingMs) {
                m_clock.setTimeOfDay(held);
                return;
            }
            m_clock.setTimeOfDay(held + 600);
            m_ranOut = true;
            m_tick.stop();
        });
        m_tick.start();
    }
    ~HeldClock() { m_clock.reset(); }
    HeldClock(const HeldClock &) = delete;
    HeldClock &operator=(const HeldClock &) = delete;

    bool ranOut() const { return m_ranOut; }

private:
    Clock &m_clock;
    QTimer m_tick;
    QElapsedTimer m_since;
    bool m_ranOut = false;
};
