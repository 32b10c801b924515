#pragma once

#include "session/LinkStatus.h"

// A plain holder for places that need a status code without a session (protocol tests,
// benchmarks, fuzz targets).
class PlainLinkStatus : public LinkStatus
{
public:
    StatusCode Status() const override { return m_code; }
    StatusCode SetStatus(StatusCode code) override
    {
        const StatusCode previous = m_code;
        m_code = code;
        ++m_changes;
        return previous;
    }
    int changes() const { return m_changes; }

private:
    StatusCode m_code = StatusCode::NotConnected;
    int m_changes = 0;
};
