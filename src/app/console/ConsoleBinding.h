#pragma once

#include "session/InstrumentSession.h"
#include "session/SessionEventRecorder.h"
#include "ui/calcheck/CalCheckBinding.h"
#include "ui/eventlog/EventLogBinding.h"
#include "ui/files/FileTransferBinding.h"
#include "ui/mainwindow/MainForm.h"
#include "ui/processing/ProcessingBinding.h"
#include "ui/sampling/SamplingBinding.h"
#include "ui/status/StatusBinding.h"
#include "ui/status/StatusHistoryBinding.h"
#include "ui/terminal/TerminalForm.h"

class OperatorDialogs;

// The console around one instrument session and one operator: the session, the main window,
// the terminal, the bindings of every panel and menu, and start-up. main() builds one over
// the real port and dialogs; end-to-end tests build one over a simulator's pty and a
// scripted operator. Everything below asks the operator through the session's dialogs, which
// write each message and question into the event log.
class ConsoleBinding
{
public:
    ConsoleBinding(CommPort &comm, const PortTable &table, OperatorDialogs &dialogs);

    // Start-up after the window is built: saved values, download folder, the terminal if it
    // was open at the last exit, the connection search (when `search`), "power,1".
    void startUp(bool search = true);
    // The "Connecting" dialog, modal; it searches as soon as it is on screen.
    void showConnectForm();

    InstrumentSession session;
    SessionEventRecorder events{session, session.eventLog()};
    TerminalForm terminal;
    MainForm form;
    StatusBinding status;
    SamplingBinding sampling;
    CalCheckBinding calCheck;
    FileTransferBinding files;
    ProcessingBinding processing;
    StatusHistoryBinding history;
    EventLogBinding eventLog;

private:
    void wireRequests();

    OperatorDialogs &m_dialogs;
};
