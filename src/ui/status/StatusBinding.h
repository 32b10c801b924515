#pragma once

#include "features/status/StatusMonitor.h"
#include "ui/mainwindow/MainFormControls.h"

#include <QObject>

class InstrumentSession;
class OperatorDialogs;

// Ties the status logic to the main window's Thermal Control and Light Source panels: the
// monitor's panels onto the lamps, labels and "Enable" boxes, the boxes' changes back to the
// instrument, and the poll-rate question. While an operation owns the line the two boxes
// stay disabled: a switch would write into the operation's exchange.
class StatusBinding : public QObject
{
    Q_OBJECT
public:
    StatusBinding(InstrumentSession &session, const MainFormControls &controls,
                  OperatorDialogs &dialogs, QObject *parent = nullptr);

    StatusMonitor &monitor() { return m_monitor; }
    // For a caller's own status reply (the cal check's); see StatusMonitor::ParseStatus.
    bool ParseStatus(const QByteArray &reply) { return m_monitor.ParseStatus(reply); }

public slots:
    // "Set Status Check Rate...".
    void askStatusRate();

private:
    void applyPanels(const StatusPanels &panels);
    void enableSwitches();

    InstrumentSession &m_session;
    const MainFormControls &m_controls;
    OperatorDialogs &m_dialogs;
    StatusMonitor m_monitor;
};
