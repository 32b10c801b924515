#include "EventPump.h"

#include <QCoreApplication>
#include <QEventLoop>

EventPump::EventPump()
{
    m_wake.setSingleShot(true);
    m_wake.setInterval(kMaxSleepMs);
    m_wake.setTimerType(Qt::PreciseTimer);
}

void EventPump::pass()
{
    m_wake.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void EventPump::runPending()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
