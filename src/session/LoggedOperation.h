#pragma once

#include "session/EventLog.h"

// An operation that no signal of the session shows (a single sample, a clock setting) in the
// event log: started when the object is made, ended when it goes, however the operation ends.
class LoggedOperation
{
public:
    LoggedOperation(EventLog &log, QString operation, const QString &detail = {})
        : m_log(log), m_operation(std::move(operation))
    {
        m_log.operationStarted(m_operation, detail);
    }
    ~LoggedOperation() { m_log.operationEnded(m_operation); }
    LoggedOperation(const LoggedOperation &) = delete;
    LoggedOperation &operator=(const LoggedOperation &) = delete;

private:
    EventLog &m_log;
    QString m_operation;
};
