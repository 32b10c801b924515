#include "session/PollingHold.h"

#include "session/InstrumentSession.h"

PollingHold::PollingHold(InstrumentSession &session) : m_session(session)
{
    ++m_session.m_pollingHolds;
}

PollingHold::~PollingHold()
{
    --m_session.m_pollingHolds;
}
