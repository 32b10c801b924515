#pragma once

#include "link/CommPort.h"
#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/LinkStatus.h"
#include "link/PortSearch.h"
#include "link/PortTable.h"
#include "link/ProgramState.h"
#include "link/ReceiveLoop.h"
#include "session/EventLog.h"
#include "session/Line.h"
#include "session/LineOperation.h"
#include "session/LoggedOperatorDialogs.h"
#include "session/SessionEventRecorder.h"

#include <QObject>
#include <QTimer>

class OperatorDialogs;

// The instrument session: one port, one instrument, and everything between them that both
// front ends share. It owns the status code, the command transaction, the receive loop and
// its timer (Timer1), the byte-counted capture and the data file, status polling
// (StatusTimer) with its holds, and who may write to the line. Windows and the command line
// observe it through its signals; nothing above it touches the port.
class InstrumentSession : public QObject, public LinkStatus
{
    Q_OBJECT
public:
    static constexpr int kReceiveIntervalMs = 200;
    static constexpr int kFirstPollIntervalMs = 5000;

    InstrumentSession(CommPort &port, PortTable table, OperatorDialogs &dialogs,
                      QObject *parent = nullptr);
    ~InstrumentSession() override;

    // The status code. Status 4 mirrors a periodic run: asked for while no run is going
    // (a wait that began during the run ends after Stop), it becomes 1. Status 0 clears the
    // serial number and ends any run.
    StatusCode Status() const override { return m_status; }
    StatusCode SetStatus(StatusCode code) override;
    QString SerNum() const { return m_SerNum; }

    ProgramState &state() { return m_state; }
    const ProgramState &state() const { return m_state; }
    FileCapture &capture() { return m_capture; }
    // The front end's dialogs, each message and question also written to the event log.
    OperatorDialogs &dialogs() { return m_dialogs; }
    // Connection changes and line owners go in by themselves (SessionEventRecorder); the
    // front end gives it its folder.
    EventLog &eventLog() { return m_eventLog; }

    // The port as everyone but the line's owner sees it.
    bool isOpen() const { return m_port.isOpen(); }
    int portNumber() const { return m_port.portNumber(); }
    QString settings() const { return m_port.settings(); }
    QString deviceName() const { return m_port.deviceName(); }
    const PortTable &portTable() const { return m_table; }

    // The shared line of short commands and keys; see Line.
    Line &line() { return m_sharedLine; }
    LineOperation lineOwner() const { return m_ownerOperation; }
    bool lineFree() const { return m_ownerToken == 0; }

    // Status polling: StatusTimer runs while the operator wants it ("Automatic status
    // updates"); a tick asks for the status (pollDue) only in status 1 and 5, and not while
    // polling is held (PollingHold) or an operation owns the line.
    void setPolling(bool on);
    bool isPolling() const { return m_statusTimer.isActive(); }
    void setPollInterval(int ms) { m_statusTimer.setInterval(ms); }
    int pollInterval() const { return m_statusTimer.interval(); }
    bool pollingHeld() const { return m_pollingHolds > 0 || !lineFree(); }

    // A periodic run of the instrument, from "Start Periodic" to "Stop" (or the end of the
    // connection).
    void beginPeriodicRun() { m_periodicRun = true; }
    void endPeriodicRun() { m_periodicRun = false; }
    bool periodicRun() const { return m_periodicRun; }

    // The connection search and its dialog's direct open, each owning the line; see
    // PortSearch. The search's progress is reported through portSearch()'s signals. A
    // connection made is kept as the LastConnection.
    const PortSearch &portSearch() const { return m_search; }
    bool SearchForInstrument();
    bool openSelectedPort(const QString &portEntry, const QString &baudEntry);
    void cancelSearch() { m_search.cancel(); }
    // Closes the port (sending nothing) and shows status 0.
    void Disconnect();
    // The program is ending: the operation under way is told to stop, the port closes so
    // that every wait ends at its next pass, and nothing more is sent.
    void endForExit();

    // The open data file changed (opened, closed, or closed by the receive loop): tells
    // dataFileChanged() when it did.
    void checkDataFile();

    // One run of the receive loop; Timer1 runs it, and so does every pass of every wait.
    void runReceiveLoop();
    EventPump &pump() { return m_transaction.pump(); }

signals:
    void statusChanged(StatusCode code, StatusCode previous);
    // A status line has arrived: told at once, inside the receive run, before the line is
    // handed on (the order of lines against commands is known only here).
    void statusLineArrived();
    // The line itself, after the run (its handlers may wait for replies).
    void statusLineReceived(const QByteArray &line);
    // One receive run's display text for the terminal.
    void displayTextReceived(const QString &text);
    void receiveLampChanged(ReceiveLamp lamp);
    void dataFileChanged(bool open);
    void lineOwnerChanged(LineOperation owner);
    // Something was not sent, or not started, because the line is owned; `note` says why.
    void lineRefused(const QString &note);
    // StatusTimer asks for the status.
    void pollDue();

private:
    friend class Line;
    friend class LineClaim;
    friend class PollingHold;

    // A search or direct open ended; a connection that worked is kept for next time.
    bool connected(bool found);
    quint64 claim(LineOperation operation);
    void release(quint64 token);
    void refuse();
    void pollTick();
    void portLost();

    ProgramState m_state;
    CommPort &m_port;
    PortTable m_table;
    EventLog m_eventLog;
    LoggedOperatorDialogs m_loggedDialogs;
    OperatorDialogs &m_dialogs;
    FileCapture m_capture;
    CommandTransaction m_transaction;
    ReceiveLoop m_receive;
    PortSearch m_search;
    Line m_sharedLine;
    QTimer m_timer1{this};
    QTimer m_statusTimer{this};
    StatusCode m_status = StatusCode::NotConnected;
    QString m_SerNum;
    bool m_periodicRun = false;
    bool m_inReceiveRun = false;
    bool m_dataFileOpen = false;
    ReceiveLamp m_lamp = ReceiveLamp::ButtonFace;
    int m_pollingHolds = 0;
    quint64 m_ownerToken = 0;
    quint64 m_lastToken = 0;
    LineOperation m_ownerOperation = LineOperation::None;
    SessionEventRecorder m_eventRecorder{*this, m_eventLog};
};
