#pragma once

class InstrumentSession;

// Holds status polling off for as long as it lives; holds nest. The poll timer and the
// operator's "Automatic status updates" stay as they are, so polling comes back exactly as
// the operator left it.
class PollingHold
{
public:
    explicit PollingHold(InstrumentSession &session);
    ~PollingHold();
    PollingHold(const PollingHold &) = delete;
    PollingHold &operator=(const PollingHold &) = delete;

private:
    InstrumentSession &m_session;
};
