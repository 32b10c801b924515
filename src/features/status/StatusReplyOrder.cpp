#include "features/status/StatusReplyOrder.h"

StatusReplyOrder::StatusReplyOrder()
{
    m_clock.start();
}

void StatusReplyOrder::asked()
{
    writeOffLost();
    m_owed.push_back(m_clock.elapsed());
}

void StatusReplyOrder::switched(StatusSwitch which)
{
    writeOffLost();
    m_staleLeft[index(which)] = m_owed.size();
}

StatusReplyOrder::Hold StatusReplyOrder::lineArrived()
{
    const Hold hold = pending();
    // A line whose "st" nobody counted (one typed in the terminal) takes the place of the
    // oldest owed one.
    dropOldest();
    return hold;
}

StatusReplyOrder::Hold StatusReplyOrder::pending()
{
    writeOffLost();
    Hold hold;
    hold.thermal = m_staleLeft[0] > 0;
    hold.light = m_staleLeft[1] > 0;
    return hold;
}

void StatusReplyOrder::reset()
{
    m_owed.clear();
    m_staleLeft.fill(0);
}

void StatusReplyOrder::writeOffLost()
{
    const qint64 now = m_clock.elapsed();
    while (!m_owed.empty() && now - m_owed.front() >= kLineLostAfterMs)
        dropOldest();
}

// The oldest owed line is settled (come or lost); it was among those stale for a switch
// while any are counted as stale.
void StatusReplyOrder::dropOldest()
{
    if (!m_owed.empty())
        m_owed.pop_front();
    for (size_t &left : m_staleLeft) {
        if (left > 0)
            --left;
    }
}
