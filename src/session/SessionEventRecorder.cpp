#include "session/SessionEventRecorder.h"

#include "session/EventLog.h"
#include "session/InstrumentSession.h"

SessionEventRecorder::SessionEventRecorder(InstrumentSession &session, EventLog &log)
    : m_session(session), m_log(log)
{
    connect(&session, &InstrumentSession::statusChanged, this,
            &SessionEventRecorder::statusChanged);
    connect(&session, &InstrumentSession::lineOwnerChanged, this,
            &SessionEventRecorder::ownerChanged);
    connect(&session, &InstrumentSession::dataFileChanged, this,
            &SessionEventRecorder::dataFileChanged);
    connect(&session, &InstrumentSession::lineRefused, this,
            [this](const QString &note) { m_log.append(EventCategory::Message, note); });
}

QString SessionEventRecorder::operationName(LineOperation operation)
{
    switch (operation) {
    case LineOperation::Search:
        return tr("Connection search");
    case LineOperation::Download:
        return tr("Download");
    case LineOperation::Upload:
        return tr("Upload");
    case LineOperation::Delete:
        return tr("Deletion of files");
    case LineOperation::CalCheck:
        return tr("Cal check");
    case LineOperation::Processing:
        return tr("Remote processing");
    case LineOperation::BaudChange:
        return tr("Baud rate change");
    case LineOperation::Reconnection:
        return tr("Reconnection");
    case LineOperation::None:
        break;
    }
    return tr("Operation");
}

QString SessionEventRecorder::savingName()
{
    return tr("Saving to a data file");
}

QString SessionEventRecorder::periodicName()
{
    return tr("Periodic sampling");
}

// Every command shows status 2 while it waits and then puts the code back, so a run, a
// connection and a silence are followed through flags rather than single changes.
void SessionEventRecorder::statusChanged(StatusCode code)
{
    if (m_inRun && !m_session.periodicRun()) {
        m_inRun = false;
        m_log.operationEnded(periodicName(), m_session.leftSampling()
                                                 ? tr("the Orvantis samples on into its "
                                                      "flash memory")
                                                 : QString());
    }
    if (code == StatusCode::NotConnected) {
        m_noResponse = false;
        if (m_connected)
            m_log.append(EventCategory::Connection, tr("Disconnected."));
        m_connected = false;
    } else if (code == StatusCode::Idle && !m_connected) {
        m_connected = true;
        const QString serial = m_session.SerNum();
        m_log.append(EventCategory::Connection,
                     serial.isEmpty() ? tr("Connected to %1.").arg(portText())
                                      : tr("Connected to %1 on %2.").arg(serial, portText()));
    }

    if (code == StatusCode::NoResponse && !m_noResponse) {
        m_noResponse = true;
        m_log.append(EventCategory::Connection,
                     tr("No response from the Orvantis on %1.").arg(portText()));
    } else if (m_noResponse && (code == StatusCode::Idle || code == StatusCode::PeriodicSampling)) {
        m_noResponse = false;
        m_log.append(EventCategory::Connection, tr("The Orvantis answers again."));
    }

    if (!m_inRun && m_session.periodicRun() && code == StatusCode::PeriodicSampling) {
        m_inRun = true;
        m_log.operationStarted(periodicName());
    }
}

void SessionEventRecorder::ownerChanged(LineOperation owner)
{
    if (owner == m_owner)
        return;
    if (m_owner != LineOperation::None) {
        // The rate a change left the line at.
        const bool rate = m_owner == LineOperation::BaudChange && m_session.isOpen();
        m_log.operationEnded(operationName(m_owner), rate ? portText() : QString());
    }
    m_owner = owner;
    if (owner != LineOperation::None)
        m_log.operationStarted(operationName(owner));
}

void SessionEventRecorder::dataFileChanged(bool open)
{
    if (open) {
        // A download's or the cal check's file belongs to that operation's lines.
        if (m_session.lineOwner() != LineOperation::None)
            return;
        m_dataFile = QLatin1Char('"') + m_session.dataFile().shownName() + QLatin1Char('"');
        m_log.operationStarted(savingName(), m_dataFile);
    } else if (!m_dataFile.isEmpty()) {
        m_log.operationEnded(savingName(), m_dataFile);
        m_dataFile.clear();
    }
}

QString SessionEventRecorder::portText() const
{
    return tr("%1 at %2 baud")
        .arg(PortTable::portName(m_session.portNumber(), m_session.deviceName()),
             m_session.settings().section(QLatin1Char(','), 0, 0));
}
