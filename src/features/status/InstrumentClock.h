#pragma once

#include "session/Line.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QTime>

// The instrument's real-time clock: read with "time", set with "time MM/DD/YYYY HH:MM:SS".
class InstrumentClock
{
    Q_DECLARE_TR_FUNCTIONS(InstrumentClock)

public:
    explicit InstrumentClock(Line &line);

    // Reads the instrument's clock. False, with `date` and `time` untouched, when there is no
    // answer or it holds no date and time.
    bool read(QDate *date, QTime *time);
    // Sets the instrument's clock; the reply is not looked at (a read afterwards tells).
    void set(const QDate &date, const QTime &time);

    // The reply as SendCommand frames it: LF, "MM/DD/YYYY HH:MM:SS" (up to the CR).
    static bool parseReply(const QByteArray &reply, QDate *date, QTime *time);
    // "time MM/DD/YYYY HH:MM:SS" and CR: always "/" and ":", two digits each, 24-hour clock,
    // whatever the computer's own date and time formats.
    static QByteArray setCommand(const QDate &date, const QTime &time);

private:
    Line &m_line;
};
