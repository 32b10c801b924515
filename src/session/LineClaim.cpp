#include "session/LineClaim.h"

#include "session/InstrumentSession.h"

LineClaim::LineClaim(InstrumentSession &session, LineOperation operation)
    : Line(session, session.claim(operation))
{
}

LineClaim::~LineClaim()
{
    if (granted())
        m_session.release(m_owner);
}

CommPort &LineClaim::port()
{
    return m_session.m_port;
}

CommandTransaction &LineClaim::transaction()
{
    return m_session.m_transaction;
}
