#include "testkit/SessionRig.h"

SessionRig::SessionRig(CommPort &port, const PortTable &table)
    : session(port, table, dialogs), m_port(port)
{
}

bool SessionRig::open()
{
    if (!m_port.open())
        return false;
    session.SetStatus(StatusCode::Idle);
    return true;
}
