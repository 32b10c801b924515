#pragma once

#include "session/LineOperation.h"
#include "session/LinkStatus.h"

#include <QObject>

class EventLog;
class InstrumentSession;

// Writes what the session's own signals show into its event log, so that the features need
// not: the connection made (status 1 after 0) and ended (status 0), the instrument not
// answering and answering again (status 5), a periodic run (status 4 with the session's run
// on, until the run is over), every operation that owns the line from its claim to its
// release, the data file opened and closed outside such operations, and the notes that say
// why something was not sent.
class SessionEventRecorder : public QObject
{
    Q_OBJECT
public:
    SessionEventRecorder(InstrumentSession &session, EventLog &log);

    // The operation as the log names it ("Download").
    static QString operationName(LineOperation operation);

private:
    // The operations that hold no line: a data file open, a periodic run.
    static QString savingName();
    static QString periodicName();
    void statusChanged(StatusCode code);
    void ownerChanged(LineOperation owner);
    void dataFileChanged(bool open);
    // "COM 3 (/dev/ttyUSB0) at 57600 baud"
    QString portText() const;

    InstrumentSession &m_session;
    EventLog &m_log;
    bool m_connected = false;
    bool m_noResponse = false;
    bool m_inRun = false;
    LineOperation m_owner = LineOperation::None;
    QString m_dataFile;
};
