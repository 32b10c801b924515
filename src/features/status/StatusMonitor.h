#pragma once

#include "features/status/StatusParser.h"
#include "features/status/StatusPolling.h"
#include "features/status/StatusQuery.h"
#include "features/status/StatusReplyOrder.h"

#include <QObject>

#include <deque>

class InstrumentSession;
class OperatorDialogs;

// The instrument's status as the session reports it: every status line the receive loop
// finds is placed in the order of the "st" commands, parsed into the Thermal Control and
// Light Source panels, and sets the poll interval; StatusTimer's polls query; the switches
// and the poll rate act on the instrument and the session. A window shows panelsChanged();
// the command line reads panels().
class StatusMonitor : public QObject
{
    Q_OBJECT
public:
    explicit StatusMonitor(InstrumentSession &session, QObject *parent = nullptr);

    // Parses one status line (empty: clears the lamps) and shows it; true when the
    // instrument is fully stable. For a caller's own reply (the cal check's); lines from the
    // receive loop come in by themselves.
    bool ParseStatus(const QByteArray &reply);
    void QueryStatus() { m_query.QueryStatus(); }
    // An "Enable" box changed value (operator, program or restored setting): the switch
    // command goes out and the status is asked for.
    void switchChanged(StatusSwitch which, bool on);
    // The box's value as the window shows it, without acting on the instrument.
    void setSwitchChecked(StatusSwitch which, bool on) { m_parser.setSwitchChecked(which, on); }
    // "Set Status Check Rate...": asks the operator and applies the answer to polling.
    void askStatusRate(OperatorDialogs &dialogs);

    const StatusPanels &panels() const { return m_parser.panels(); }
    StatusQuery &query() { return m_query; }

signals:
    void panelsChanged(const StatusPanels &panels);
    // Each status line shown while connected, before it is shown.
    void statusLineSeen(const QByteArray &line);
    // A status line reports `which` on while its box is unchecked: the window checks the box,
    // which runs switchChanged() before the line's parse goes on, as an operator's click.
    void switchCheckRequested(StatusSwitch which);

private:
    bool showLine(const QByteArray &reply, StatusReplyOrder::Hold hold);
    void lineReceived(const QByteArray &line);

    InstrumentSession &m_session;
    StatusParser m_parser;
    StatusReplyOrder m_order;
    // Holds of the lines that have arrived and wait to be shown, oldest first.
    std::deque<StatusReplyOrder::Hold> m_holds;
    StatusQuery m_query;
    StatusPolling m_polling;
};
