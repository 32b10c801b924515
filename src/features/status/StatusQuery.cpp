#include "features/status/StatusQuery.h"

StatusQuery::StatusQuery(Line &line, LinkStatus &status) : m_line(line), m_status(status)
{
}

void StatusQuery::QueryStatus()
{
    // Not asked is not missed: while an operation owns the line nothing is counted.
    if (!m_line.mayWrite())
        return;
    if (m_order && m_line.portOpen())
        m_order->asked();
    const QByteArray reply = m_line.SendCommand("st\r", "st:", "\r", 1.0f);
    // On a time-out the transaction hands back whatever came, so an instrument that only
    // echoes "st" and shows its prompt would pass for one that answers. Only a status line
    // (its "st:" found, as the start marker is, in any case) is an answer.
    if (reply.toLower().contains("st:")) {
        m_missed = 0;
        if (m_status.Status() == StatusCode::NoResponse)
            m_status.SetStatus(StatusCode::Idle);
        return;
    }
    if (m_missed < kMissesForNoResponse)
        ++m_missed;
    // Every further miss shows it again.
    if (m_missed >= kMissesForNoResponse)
        m_status.SetStatus(StatusCode::NoResponse);
}
