#pragma once

#include "features/status/StatusReplyOrder.h"
#include "session/Line.h"
#include "session/LinkStatus.h"

// Asks the instrument for its status line and notices a silent instrument. The line itself
// is shown by the receive loop, which hands every status line to the parser; this only
// tests whether an answer came.
class StatusQuery
{
public:
    // Consecutive misses after which the window shows "no response".
    static constexpr qint16 kMissesForNoResponse = 3;

    StatusQuery(Line &line, LinkStatus &status);

    void QueryStatus();
    // Told of every "st" this writes, so that its line can be placed in the order.
    void setReplyOrder(StatusReplyOrder *order) { m_order = order; }

    // Unanswered queries in a row; held at kMissesForNoResponse.
    qint16 missedReplies() const { return m_missed; }

private:
    Line &m_line;
    LinkStatus &m_status;
    qint16 m_missed = 0;
    StatusReplyOrder *m_order = nullptr;
};
