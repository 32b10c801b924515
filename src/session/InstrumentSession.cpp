#include "session/InstrumentSession.h"

#include "session/LastConnection.h"
#include "session/SendAbort.h"
#include "support/OperatorDialogs.h"
#include "support/StringCode.h"

InstrumentSession::InstrumentSession(CommPort &port, PortTable table, OperatorDialogs &dialogs,
                                     QObject *parent)
    : QObject(parent), m_port(port), m_table(std::move(table)),
      m_loggedDialogs(dialogs, m_eventLog), m_dialogs(m_loggedDialogs), m_capture(m_state),
      m_transaction(m_state, port, *this), m_receive(m_state, port, m_capture, *this),
      m_search(m_state, port, m_transaction, *this, m_table),
      m_gate(m_transaction, port, m_eventLog), m_sharedLine(m_gate, 0),
      m_ownLine(m_gate, LineGate::kSession),
      m_reconnection(
          m_gate, [this] { return claimLine(LineOperation::Reconnection); }, port, m_capture)
{
    connect(&m_reconnection, &Reconnection::noteChanged, this,
            [this] { emit statusChanged(m_status, m_status); });
    connect(&m_reconnection, &Reconnection::reconnected, this, &InstrumentSession::resume);
    connect(&m_reconnection, &Reconnection::portReopened, this, &InstrumentSession::lineReopened);
    connect(&m_reconnection, &Reconnection::restartingRun, this,
            &InstrumentSession::periodicRunRestarting);
    connect(&m_reconnection, &Reconnection::gaveUp, this, [this](const QString &why) {
        m_eventLog.append(EventCategory::Connection, tr("Gave up reconnecting."));
        SetStatus(StatusCode::NotConnected);
        emit reconnectionGaveUp(why);
        m_dialogs.ShowErrorMessage(why);
    });
    connect(&m_gate, &LineGate::ownerChanged, this, &InstrumentSession::lineOwnerChanged);
    connect(&m_gate, &LineGate::refused, this, &InstrumentSession::lineRefused);
    m_receive.setDisplaySink([this](const QString &text) { emit displayTextReceived(text); });
    m_receive.setStatusLineSink([this](const QByteArray &line) {
        emit statusLineArrived();
        // Handed on after this run, outside Timer1's handler: the parser may wait for
        // replies (a switch it ticks sends a command), and those need Timer1 to keep running.
        QMetaObject::invokeMethod(
            this, [this, line] { emit statusLineReceived(line); }, Qt::QueuedConnection);
    });
    // Shown after the run: a modal message inside it would hold up every receive run.
    m_receive.setErrorSink([this](const QString &message) {
        QMetaObject::invokeMethod(
            this, [this, message] { m_dialogs.ShowErrorMessage(message); }, Qt::QueuedConnection);
    });
    m_receive.setPortLostSink([this](const QString &why) {
        // Decided now: by the time a queued call ran, the search may be on another port.
        if (m_search.isProbing())
            return;
        QMetaObject::invokeMethod(
            this, [this, why] { portLost(why); }, Qt::QueuedConnection);
    });
    m_receive.setReceivedSink([this](QByteArrayView bytes) { watchForLateCapture(bytes); });
    m_gate.setBeforeWrite([this] {
        if (m_captureGuard)
            runReceiveLoop();
    });
    connect(&m_search, &PortSearch::serialNumberFound, this,
            [this](const QString &serial) { m_SerNum = serial; });
    connect(&m_state.dataFile, &DataFile::openChanged, this, &InstrumentSession::dataFileChanged);

    EventPump &pump = m_transaction.pump();
    pump.setBeforeSleep([this] { m_port.wakeOnArrival(); });
    pump.setAfterPass([this] { runReceiveLoop(); });

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(kReceiveIntervalMs);
    // Pending events first, then the run itself (the pump runs it after the pass).
    connect(&m_timer1, &QTimer::timeout, this, [this] { runPendingEvents(); });
    m_timer1.start();

    m_statusTimer.setObjectName(QStringLiteral("StatusTimer"));
    m_statusTimer.setInterval(kFirstPollIntervalMs);
    connect(&m_statusTimer, &QTimer::timeout, this, &InstrumentSession::pollTick);
}

InstrumentSession::~InstrumentSession()
{
    m_timer1.stop();
    m_statusTimer.stop();
}

StatusCode InstrumentSession::SetStatus(StatusCode code)
{
    m_endNote.clear();
    if (code == StatusCode::NotConnected) {
        m_SerNum.clear();
        m_periodicRun = false;
    }
    if (code == StatusCode::PeriodicSampling && !m_periodicRun)
        code = StatusCode::Idle;
    const StatusCode previous = m_status;
    m_status = code;
    emit statusChanged(code, previous);
    return previous;
}

void InstrumentSession::setPolling(bool on)
{
    if (on)
        m_statusTimer.start();
    else
        m_statusTimer.stop();
}

void InstrumentSession::pollTick()
{
    if (pollingHeld())
        return;
    if (m_status == StatusCode::Idle || m_status == StatusCode::NoResponse)
        emit pollDue();
}

bool InstrumentSession::SearchForInstrument()
{
    return SearchForInstrument(PortSearch::Scope{QString(), PortSearch::kBaudRates});
}

bool InstrumentSession::SearchForInstrument(const PortSearch::Scope &scope)
{
    const LineClaim claim = claimLine(LineOperation::Search);
    return claim && connected(m_search.SearchForInstrument(scope));
}

bool InstrumentSession::openSelectedPort(const QString &portEntry, const QString &baudEntry)
{
    const LineClaim claim = claimLine(LineOperation::Search);
    return claim && m_search.openSelectedPort(portEntry, baudEntry);
}

void InstrumentSession::setIdentity(const InstrumentIdentity &identity)
{
    m_state.identity = identity;
    m_SerNum = identity.InstrumentSerial;
}

bool InstrumentSession::connected(bool found)
{
    if (found) {
        m_leftSampling = false;
        LastConnection{deviceName(), ExtractNumber(settings().toLatin1())}.save();
    }
    return found;
}

void InstrumentSession::guardLateCapturePrompt()
{
    m_captureGuard = true;
    m_guardTail.clear();
}

void InstrumentSession::watchForLateCapture(QByteArrayView bytes)
{
    if (!m_captureGuard)
        return;
    static const QByteArray kCapturePrompt("Capture>");
    static const QByteArray kCommandPrompt("Orvantis>");
    const QByteArray seen = m_guardTail + bytes.toByteArray();
    if (seen.contains(kCapturePrompt)) {
        m_captureGuard = false;
        m_ownLine.write(QByteArray(1, '\x1a'));
    } else if (seen.contains(kCommandPrompt)) {
        m_captureGuard = false;
    } else {
        m_guardTail = seen.right(kCommandPrompt.size() - 1);
    }
}

QString InstrumentSession::statusNote() const
{
    return m_reconnection.isActive() ? m_reconnection.note() : m_endNote;
}

void InstrumentSession::beginPeriodicRun(const PeriodicRunInfo &run)
{
    m_periodicRun = true;
    m_leftSampling = false;
    m_run = run;
}

InstrumentSession::Left InstrumentSession::leavePeriodicRun(RunOnLeaving run)
{
    const bool connected = m_status != StatusCode::NotConnected && !m_SerNum.isEmpty();
    Left left = Left::Nothing;
    if (m_periodicRun && run == RunOnLeaving::LeaveSampling && m_run.toFlash) {
        left = Left::LeftSampling;
        m_leftSampling = true;
        m_periodicRun = false;
        // Nothing goes out: not even the stop the start command declared, should its wait
        // still be going on.
        m_transaction.exchangeStopOnExit({});
    } else if (m_periodicRun) {
        left = m_ownLine.portOpen() && SendAbort(m_ownLine) ? Left::Stopped : Left::NotStopped;
    }
    if (!connected && left == Left::Nothing)
        return left;
    QString text;
    switch (left) {
    case Left::LeftSampling:
        text = tr("Leaving: the Orvantis goes on sampling every %1 s into its flash "
                  "memory as %2.")
                   .arg(m_run.period, m_run.flashName);
        break;
    case Left::Stopped:
        text = tr("Leaving: the periodic run was stopped (three ETX).");
        break;
    case Left::NotStopped:
        text = tr("Leaving: the periodic run could not be stopped (the line is "
                  "lost).");
        break;
    case Left::Nothing:
        text = tr("Leaving: nothing to stop.");
        break;
    }
    m_eventLog.append(EventCategory::Connection, text);
    return left;
}

void InstrumentSession::Disconnect(RunOnLeaving run)
{
    m_reconnection.cancel();
    const Left left = leavePeriodicRun(run);
    if (m_port.isOpen())
        m_port.close();
    SetStatus(StatusCode::NotConnected);
    if (left == Left::Stopped)
        m_endNote = tr("No Orvantis connected (periodic sampling was stopped)");
    else if (left == Left::LeftSampling)
        m_endNote = tr("No Orvantis connected (left sampling into its flash memory)");
    if (!m_endNote.isEmpty())
        emit statusChanged(m_status, m_status);
}

void InstrumentSession::endForExit(RunOnLeaving run)
{
    m_timer1.stop();
    m_statusTimer.stop();
    m_reconnection.cancel();
    leavePeriodicRun(run);
    m_transaction.endForExit();
}

void InstrumentSession::runReceiveLoop()
{
    if (m_inReceiveRun)
        return;
    m_inReceiveRun = true;
    const ReceiveLamp lamp = m_receive.run();
    m_inReceiveRun = false;
    if (lamp != m_lamp) {
        m_lamp = lamp;
        emit receiveLampChanged(lamp);
    }
}

// The receive loop has closed the port. With reconnection on, the session keeps everything
// (the data file, the run, the serial number) and tries to bring the line back, telling the
// operator in the status line only: a message box would wait for someone to press OK.
// Otherwise it is said once per loss, in the operator's terms.
void InstrumentSession::portLost(const QString &why)
{
    const QString port = PortTable::portName(portNumber(), deviceName());
    m_eventLog.append(EventCategory::Connection, tr("Connection lost on %1 (%2).").arg(port, why));
    emit connectionLost(port);
    if (m_reconnectAutomatically && m_status != StatusCode::NotConnected &&
        !m_reconnection.isActive()) {
        m_eventLog.append(EventCategory::Connection,
                          tr("Reconnecting to %1 every second.").arg(port));
        Reconnection::Resume resume;
        resume.serial = m_SerNum;
        if (m_periodicRun)
            resume.startCommand = m_run.startCommand;
        m_reconnection.start(resume);
        return;
    }
    if (m_reconnection.isActive())
        return;
    Disconnect();
    m_dialogs.ShowErrorMessage(
        tr("The connection to the Orvantis on %1 was lost. Check the cable and the "
           "instrument's power, then use Connect... to connect again.")
            .arg(port));
}

// The same instrument answers again: polling comes back, or the run goes on.
void InstrumentSession::resume(bool restarted)
{
    const QString text = !m_periodicRun ? tr("Reconnected to %1.")
                         : restarted ? tr("Reconnected to %1; the periodic run was started again.")
                                     : tr("Reconnected to %1; the periodic run went on.");
    m_eventLog.append(EventCategory::Connection, text.arg(m_SerNum));
    SetStatus(m_periodicRun ? StatusCode::PeriodicSampling : StatusCode::Idle);
    emit reconnected(restarted);
}
