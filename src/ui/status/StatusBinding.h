#pragma once

#include "features/status/StatusParser.h"
#include "features/status/StatusPolling.h"
#include "features/status/StatusQuery.h"

#include <QObject>

#include <deque>

class MainForm;
class OperatorDialogs;

// Ties the status logic to the main window: status lines into the Thermal Control and Light
// Source panels, StatusTimer's query, the poll-rate menu item and the "Enable" switches.
class StatusBinding : public QObject
{
    Q_OBJECT
public:
    StatusBinding(MainForm &form, OperatorDialogs &dialogs);

    // Parses one status line (empty: clears the lamps) and shows it; true when the
    // instrument is fully stable. For a caller's own reply (the cal check's); lines from
    // the receive loop come in through the main window.
    bool ParseStatus(const QByteArray &reply);
    StatusQuery &query() { return m_query; }

signals:
    // Each status line ParseStatus is given while connected, before it is shown.
    void statusLineSeen(const QByteArray &line);

private:
    bool showLine(const QByteArray &reply, StatusReplyOrder::Hold hold);
    void switchClicked(StatusSwitch which, bool on);
    void applyPanels(const StatusPanels &panels);
    void askStatusRate();

    MainForm &m_form;
    OperatorDialogs &m_dialogs;
    StatusParser m_parser;
    StatusReplyOrder m_order;
    // Holds of the lines that have arrived and wait to be shown, oldest first.
    std::deque<StatusReplyOrder::Hold> m_holds;
    StatusQuery m_query;
    StatusPolling m_polling;
};
