#pragma once

#include "features/sampling/SampleLedger.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

class CliOutput;

// What run tells as it goes and at its end: one line per sample (its number, time and size),
// each outage on standard error as it begins and ends, and the summary: the whole samples
// the file holds, the outages and the time without samples. Under --json each of them is a
// record of its own, one per line, the summary last.
class RunReport
{
    Q_DECLARE_TR_FUNCTIONS(RunReport)

public:
    explicit RunReport(CliOutput &output) : m_output(output) {}

    void started(const QDateTime &at);
    void sample(const SampleLedger::Sample &sample, const QDateTime &at);
    void lineLost(const QDateTime &at);
    void lineBack(const QDateTime &at, bool runRestarted);

    // The line is lost now.
    bool isLost() const { return !m_outages.isEmpty() && !m_outages.last().back.isValid(); }
    // Since when, while it is.
    QDateTime lostAt() const { return isLost() ? m_outages.last().lost : QDateTime(); }

    struct Ending {
        QString path;
        qint64 samples = 0;
        qint64 bytes = 0;
        bool endsAtPrompt = false;
    };
    void summary(const Ending &ending, const QDateTime &at);

private:
    struct Outage {
        QDateTime lost;
        QDateTime back;
        bool runRestarted = false;
        // The last sample before it (or the run's start) and the first after it.
        QDateTime lastSample;
        QDateTime nextSample;
    };

    static QString clock(const QDateTime &time);
    void event(const QJsonObject &record);

    CliOutput &m_output;
    QDateTime m_started;
    QDateTime m_lastSample;
    QList<Outage> m_outages;
};
