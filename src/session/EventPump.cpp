#include "session/EventPump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <cmath>

EventPump::EventPump()
{
    m_wake.setSingleShot(true);
    m_wake.setInterval(kMaxSleepMs);
    m_wake.setTimerType(Qt::PreciseTimer);
}

void EventPump::pass(int wakeAfterMs)
{
    if (m_beforeSleep)
        m_beforeSleep();
    m_wake.start(wakeAfterMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    finishPass();
}

void EventPump::passUntil(double secondsLeft)
{
    const double ms = std::ceil(secondsLeft * 1000.0);
    pass(int(std::clamp(ms, 0.0, double(kLongestSleepMs))));
}

void EventPump::runPending()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    finishPass();
}

void EventPump::finishPass()
{
    if (m_afterPass)
        m_afterPass();
}
