#include "session/InstrumentSession.h"

#include "session/LastConnection.h"
#include "session/LineClaim.h"
#include "support/OperatorDialogs.h"
#include "support/StringCode.h"

InstrumentSession::InstrumentSession(CommPort &port, PortTable table, OperatorDialogs &dialogs,
                                     QObject *parent)
    : QObject(parent), m_port(port), m_table(std::move(table)),
      m_loggedDialogs(dialogs, m_eventLog), m_dialogs(m_loggedDialogs), m_capture(m_state),
      m_transaction(m_state, port, *this), m_receive(m_state, port, m_capture, *this),
      m_search(m_state, port, m_transaction, *this, m_table), m_sharedLine(*this, 0)
{
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
    m_receive.setPortLostSink([this](const QString &) {
        // Decided now: by the time a queued call ran, the search may be on another port.
        if (m_search.isProbing())
            return;
        QMetaObject::invokeMethod(this, &InstrumentSession::portLost, Qt::QueuedConnection);
    });
    connect(&m_search, &PortSearch::serialNumberFound, this,
            [this](const QString &serial) { m_SerNum = serial; });

    pump().setBeforeSleep([this] { m_port.wakeOnArrival(); });
    pump().setAfterPass([this] { runReceiveLoop(); });

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(kReceiveIntervalMs);
    // Pending events first, then the run itself (the pump runs it after the pass).
    connect(&m_timer1, &QTimer::timeout, this, [this] { pump().runPending(); });
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
    const LineClaim claim(*this, LineOperation::Search);
    return claim && connected(m_search.SearchForInstrument());
}

bool InstrumentSession::openSelectedPort(const QString &portEntry, const QString &baudEntry)
{
    const LineClaim claim(*this, LineOperation::Search);
    return claim && connected(m_search.openSelectedPort(portEntry, baudEntry));
}

bool InstrumentSession::connected(bool found)
{
    if (found)
        LastConnection{deviceName(), ExtractNumber(settings().toLatin1())}.save();
    return found;
}

void InstrumentSession::Disconnect()
{
    if (m_port.isOpen())
        m_port.close();
    SetStatus(StatusCode::NotConnected);
}

void InstrumentSession::endForExit()
{
    m_timer1.stop();
    m_statusTimer.stop();
    m_transaction.endForExit();
}

void InstrumentSession::checkDataFile()
{
    const bool open = m_state.dataFile.isOpen();
    if (open == m_dataFileOpen)
        return;
    m_dataFileOpen = open;
    emit dataFileChanged(open);
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
    // A download's capture that completed, or a file the disk refused, closed the file.
    checkDataFile();
}

// The receive loop has closed the port. Said once per loss, in the operator's terms.
void InstrumentSession::portLost()
{
    const QString port = QStringLiteral("COM %1 (%2)").arg(portNumber()).arg(deviceName());
    Disconnect();
    m_dialogs.ShowErrorMessage(
        QStringLiteral("The connection to the Orvantis on %1 was lost. Check the cable and the "
                       "instrument's power, then use Connect... to connect again.")
            .arg(port));
}

quint64 InstrumentSession::claim(LineOperation operation)
{
    if (m_ownerToken != 0) {
        emit lineRefused(lineBusyNote(m_ownerOperation));
        return Line::kRefused;
    }
    m_ownerToken = ++m_lastToken;
    m_ownerOperation = operation;
    emit lineOwnerChanged(operation);
    return m_ownerToken;
}

void InstrumentSession::release(quint64 token)
{
    if (token != m_ownerToken)
        return;
    m_ownerToken = 0;
    m_ownerOperation = LineOperation::None;
    emit lineOwnerChanged(LineOperation::None);
}

void InstrumentSession::refuse()
{
    emit lineRefused(lineBusyNote(m_ownerOperation));
}
