#include "StatusQuery.h"

StatusQuery::StatusQuery(CommandTransaction &transaction, LinkStatus &status)
    : m_transaction(transaction), m_status(status)
{
}

void StatusQuery::QueryStatus()
{
    const QByteArray reply = m_transaction.SendCommand("st\r", "st:", "\r", 1.0f);
    if (!reply.isEmpty()) {
        m_missed = 0;
        if (m_status.Status() == LinkStatus::NoResponse)
            m_status.SetStatus(LinkStatus::Idle);
        return;
    }
    if (m_missed < kMissesForNoResponse)
        ++m_missed;
    // Every further miss shows it again.
    if (m_missed >= kMissesForNoResponse)
        m_status.SetStatus(LinkStatus::NoResponse);
}
