#include "features/status/StatusMonitor.h"

#include "session/InstrumentSession.h"

StatusMonitor::StatusMonitor(InstrumentSession &session, QObject *parent)
    : QObject(parent), m_session(session), m_parser(session), m_query(session.line(), session),
      m_polling(session.line(), m_query)
{
    m_query.setReplyOrder(&m_order);
    m_parser.setSwitchCheckedHandler(
        [this](StatusSwitch which) { emit switchCheckRequested(which); });
    // A line is placed in the order when it arrives; it is shown later, with the hold it got
    // then (a command written in between does not change which "st" it answers).
    connect(&session, &InstrumentSession::statusLineArrived, this,
            [this] { m_holds.push_back(m_order.lineArrived()); });
    connect(&session, &InstrumentSession::statusLineReceived, this, &StatusMonitor::lineReceived);
    connect(&session, &InstrumentSession::pollDue, this, &StatusMonitor::QueryStatus);
    // The end of a connection clears the panels; nothing is owed any more.
    connect(&session, &InstrumentSession::statusChanged, this, [this](StatusCode code) {
        if (code != StatusCode::NotConnected)
            return;
        m_order.reset();
        m_holds.clear();
        showLine(QByteArray(), {});
    });
}

void StatusMonitor::lineReceived(const QByteArray &line)
{
    StatusReplyOrder::Hold hold = m_order.pending();
    if (!m_holds.empty()) {
        hold = m_holds.front();
        m_holds.pop_front();
    }
    showLine(line, hold);
}

bool StatusMonitor::ParseStatus(const QByteArray &reply)
{
    return showLine(reply, m_order.pending());
}

bool StatusMonitor::showLine(const QByteArray &reply, StatusReplyOrder::Hold hold)
{
    if (!reply.isEmpty() && m_session.Status() != StatusCode::NotConnected)
        emit statusLineSeen(reply);
    const StatusParseResult result = m_parser.ParseStatus(reply, hold);
    emit panelsChanged(m_parser.panels());
    if (result.statusTimerInterval > 0)
        m_session.setPollInterval(result.statusTimerInterval);
    return result.fullyStable;
}

void StatusMonitor::switchChanged(StatusSwitch which, bool on)
{
    m_parser.setSwitchChecked(which, on);
    // A switch that is not sent makes no line stale.
    if (m_session.line().mayWrite())
        m_order.switched(which);
    m_polling.switchChanged(which, on);
}

void StatusMonitor::askStatusRate(OperatorDialogs &dialogs)
{
    const StatusRateChange change = m_polling.askStatusRate(dialogs, m_session.pollInterval());
    switch (change.action) {
    case StatusRateChange::SetInterval:
        m_session.setPollInterval(change.intervalMs);
        m_session.setPolling(true);
        break;
    case StatusRateChange::TimerOff:
        m_session.setPolling(false);
        break;
    case StatusRateChange::Unchanged:
        break;
    }
}
