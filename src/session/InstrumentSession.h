#pragma once

#include "link/CommPort.h"
#include "link/PortTable.h"
#include "session/CommandTransaction.h"
#include "session/EventLog.h"
#include "session/FileCapture.h"
#include "session/LineClaim.h"
#include "session/LineGate.h"
#include "session/LinkStatus.h"
#include "session/LoggedOperatorDialogs.h"
#include "session/PeriodicRunInfo.h"
#include "session/PortSearch.h"
#include "session/ProgramState.h"
#include "session/ReceiveLoop.h"
#include "session/Reconnection.h"

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
    // The instrument on a port opened directly has said who it is ("id"): kept as its
    // identity, and the reconnection will expect its serial number.
    void setIdentity(const InstrumentIdentity &identity);
    // What the status line says in place of the code's own text: the reconnection's
    // progress, or why the connection ended; empty otherwise.
    QString statusNote() const;

    // ReceiveBuffer: everything read from the port since it was last cleared or cut (the
    // receive loop fills it, each command clears it).
    const QByteArray &ReceiveBuffer() const { return m_state.ReceiveBuffer; }
    void clearReceiveBuffer() { m_state.ReceiveBuffer.clear(); }
    // Takes the first `count` characters off, once their reader has dealt with them.
    void cutReceiveBuffer(qsizetype count) { m_state.ReceiveBuffer.remove(0, count); }
    // Puts back what came after a framed reply (Line::afterReply()), as the next to arrive.
    void appendToReceiveBuffer(QByteArrayView bytes) { m_state.ReceiveBuffer.append(bytes); }

    // The data file that receives every byte from the instrument (DataFileNumber() is 0
    // while none is open). It tells every opening and closing: dataFileChanged().
    DataFile &dataFile() { return m_state.dataFile; }
    const DataFile &dataFile() const { return m_state.dataFile; }
    int DataFileNumber() const { return m_state.DataFileNumber(); }
    // The folder into which files fetched from the instrument are saved.
    QString DefaultDataFolder() const { return m_state.DefaultDataFolder; }
    void setDefaultDataFolder(const QString &folder) { m_state.DefaultDataFolder = folder; }
    // The operator asked a long file-manager operation to stop.
    bool TransferCancelled() const { return m_state.TransferCancelled; }
    void setTransferCancelled(bool cancelled) { m_state.TransferCancelled = cancelled; }
    // What the instrument said about itself in its last "id" reply.
    const InstrumentIdentity &identity() const { return m_state.identity; }
    // The clock every wait reads; tests shift it to run midnight cases in real time.
    Clock &clock() { return m_state.clock; }

    // The byte count and the byte-counted capture that a download runs; see FileCapture.
    qint64 byteCount() const { return m_capture.byteCount(); }
    float TimeSinceLastByte() const { return m_capture.TimeSinceLastByte(); }
    bool CaptureActive() const { return m_capture.CaptureActive(); }
    void PrepForFileCapture(qint64 length) { m_capture.PrepForFileCapture(length); }
    void expectEchoLineFeed() { m_capture.expectEchoLineFeed(); }
    void EndFileCapture() { m_capture.EndFileCapture(); }

    // The front end's dialogs, each message and question also written to the event log.
    OperatorDialogs &dialogs() { return m_dialogs; }
    // What goes on: the front end gives it its folder and a SessionEventRecorder to write the
    // session's own changes into it.
    EventLog &eventLog() { return m_eventLog; }

    // The port as everyone but the line's owner sees it.
    bool isOpen() const { return m_port.isOpen(); }
    int portNumber() const { return m_port.portNumber(); }
    QString settings() const { return m_port.settings(); }
    QString deviceName() const { return m_port.deviceName(); }
    const PortTable &portTable() const { return m_table; }
    // Why the port did not open the last time it was asked to.
    PortOpenError openError() { return m_port.openError(); }

    // The shared line of short commands and keys; see Line.
    Line &line() { return m_sharedLine; }
    // The line for an operation that owns it while the claim lives; see LineClaim.
    LineClaim claimLine(LineOperation operation) { return LineClaim(m_gate, operation); }
    LineOperation lineOwner() const { return m_gate.owner(); }
    bool lineFree() const { return m_gate.isFree(); }

    // Status polling: StatusTimer runs while the operator wants it ("Automatic status
    // updates"); a tick asks for the status (pollDue) only in status 1 and 5, and not while
    // polling is held (PollingHold) or an operation owns the line.
    void setPolling(bool on);
    bool isPolling() const { return m_statusTimer.isActive(); }
    void setPollInterval(int ms) { m_statusTimer.setInterval(ms); }
    int pollInterval() const { return m_statusTimer.interval(); }
    bool pollingHeld() const { return m_pollingHolds > 0 || !lineFree(); }

    // A periodic run of the instrument, from "Start Periodic" to "Stop" (or the end of the
    // connection), and what its start command said (see PeriodicRunInfo).
    void beginPeriodicRun(const PeriodicRunInfo &run);
    void endPeriodicRun() { m_periodicRun = false; }
    bool periodicRun() const { return m_periodicRun; }
    const PeriodicRunInfo &periodicRunInfo() const { return m_run; }
    // The last leaving left a run sampling into the instrument's flash memory.
    bool leftSampling() const { return m_leftSampling; }

    // A lost port is reopened by itself (see Reconnection) unless this is off; on by default.
    void setReconnectAutomatically(bool on) { m_reconnectAutomatically = on; }
    bool reconnectsAutomatically() const { return m_reconnectAutomatically; }
    bool reconnecting() const { return m_reconnection.isActive(); }

    // The connection search and its dialog's direct open, each owning the line; see
    // PortSearch. The search's progress is reported through portSearch()'s signals. An
    // instrument found is kept as the LastConnection; a port opened directly is not, as
    // nothing has answered there yet.
    const PortSearch &portSearch() const { return m_search; }
    bool SearchForInstrument();
    bool SearchForInstrument(const PortSearch::Scope &scope);
    bool openSelectedPort(const QString &portEntry, const QString &baudEntry);
    void cancelSearch() { m_search.cancel(); }
    // Ends any reconnection, stops a periodic run (three ETX) or leaves a run that stores
    // into the flash sampling (`run`), closes the port and shows status 0. The event log
    // says which.
    void Disconnect(RunOnLeaving run = RunOnLeaving::Stop);
    // The program is ending: a periodic run is stopped (or left sampling, as for
    // Disconnect), the operation under way is told to stop, the port closes so that every
    // wait ends at its next pass, and nothing more is sent.
    void endForExit(RunOnLeaving run = RunOnLeaving::Stop);

    // An upload's "capture" got no "Capture>" in time: should it still come, the instrument is
    // in its capture mode and would store the next command as a line. It is answered with
    // Ctrl-Z before anything else is written, until the instrument shows either prompt.
    void guardLateCapturePrompt();

    // See ReceiveLoop::captureEarly.
    void captureEarly(QByteArrayView bytes) { m_receive.captureEarly(bytes); }

    // One run of the receive loop; Timer1 runs it, and so does every pass of every wait.
    void runReceiveLoop();
    // The events waiting now, then the receive loop; no sleep.
    void runPendingEvents() { m_transaction.pump().runPending(); }
    // One pass of events (and the receive loop), asleep until one arrives or `longestMs`
    // has passed.
    void waitForEvents(int longestMs) { m_transaction.pump().pass(longestMs); }

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
    // The data file was opened or closed (by an operation, or by the receive loop at the
    // end of a capture or on a disk error).
    void dataFileChanged(bool open);
    void lineOwnerChanged(LineOperation owner);
    // Something was not sent, or not started, because the line is owned; `note` says why.
    void lineRefused(const QString &note);
    // StatusTimer asks for the status.
    void pollDue();
    // The connection was lost, and brought back or given up by the reconnection.
    void connectionLost(const QString &device);
    void reconnected(bool runRestarted);
    // The port opened again after a loss; the instrument has not answered yet.
    void lineReopened();
    // The reconnection found the instrument at its prompt and is about to start the run
    // again: what arrived since the line was lost holds no sample.
    void periodicRunRestarting();
    void reconnectionGaveUp(const QString &why);

private:
    friend class PollingHold;

    // A search ended; an instrument found is kept for next time.
    bool connected(bool found);
    void pollTick();
    void portLost(const QString &why);
    enum class Left { Nothing, Stopped, LeftSampling, NotStopped };
    // Leaving: three ETX when a periodic run is going, so that the instrument stops, unless
    // `run` leaves a flash run sampling; the event log says which.
    Left leavePeriodicRun(RunOnLeaving run);
    void resume(bool restarted);
    void watchForLateCapture(QByteArrayView bytes);

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
    LineGate m_gate;
    Line m_sharedLine;
    // The session's own writes: the stop of a periodic run, the answer to a late capture.
    Line m_ownLine;
    Reconnection m_reconnection;
    QTimer m_timer1{this};
    QTimer m_statusTimer{this};
    StatusCode m_status = StatusCode::NotConnected;
    QString m_SerNum;
    QString m_endNote;
    bool m_periodicRun = false;
    PeriodicRunInfo m_run;
    bool m_leftSampling = false;
    bool m_reconnectAutomatically = true;
    bool m_captureGuard = false;
    // The end of what came before, for a prompt split between two runs.
    QByteArray m_guardTail;
    bool m_inReceiveRun = false;
    ReceiveLamp m_lamp = ReceiveLamp::ButtonFace;
    int m_pollingHolds = 0;
};
