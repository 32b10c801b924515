#pragma once

#include "app/cli/ExitStatus.h"
#include "app/cli/RunReport.h"
#include "features/sampling/SampleLedger.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class CliOutput;
class CommandLine;
class SamplingController;
struct CliContext;
struct SamplingSettings;

// The run command: periodic sampling into a data file until a count of samples, a duration,
// an outage longer than --max-outage, or a signal; then the instrument is stopped (three
// ETX), its answer waited for, and the file closed at its prompt. Each sample is told as it
// ends (SampleLedger decides from the file's bytes), each outage as it begins and ends, and a
// summary at the end (RunReport). A lost line does not end the run while the session brings
// it back; the data file stays open.
//
// With --detach the run stores into the instrument's flash only, and is left sampling once
// the instrument has taken it up: the port closes without a stop.
class PeriodicRun
{
    Q_DECLARE_TR_FUNCTIONS(PeriodicRun)

public:
    // How long the line may stay quiet after the stop before its answer is given up.
    static constexpr int kStopAnswerMs = 2000;

    explicit PeriodicRun(CliContext &context);

    static ExitStatus check(const CommandLine &line, CliOutput &output);
    // "90", "90s", "15m", "2h", "1.5d" in seconds; false when it is none of these.
    static bool readDuration(const QString &text, double *seconds);

    ExitStatus run();

private:
    ExitStatus detach(SamplingController &sampling, SamplingSettings settings);
    ExitStatus collect();
    // Three ETX, once.
    void stop(SamplingController &sampling);
    // The file kept open until the instrument's prompt has answered the stop (bounded).
    void drain();
    ExitStatus end(ExitStatus status);
    bool finished() const;
    bool outageTooLong() const;
    void report(const QList<SampleLedger::Sample> &samples);

    CliContext &m_context;
    RunReport m_report;
    SampleLedger m_ledger;
    QString m_path;
    qint64 m_count = 0;
    double m_seconds = 0;
    double m_maxOutage = 0;
    bool m_collecting = false;
    bool m_stopped = false;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceStop;
    // From the port's opening again until the Orvantis is heard: since the last bytes.
    QElapsedTimer m_sinceBytes;
    // The session's signals reach the run only while it lives.
    QObject m_guard;
};
