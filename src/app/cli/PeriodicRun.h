#pragma once

#include "app/cli/ExitStatus.h"

#include <QElapsedTimer>
#include <QString>

class CliOutput;
class CommandLine;
struct CliContext;

// The run command: periodic sampling into a data file until a count of samples, a duration
// or a signal, then the instrument stopped (three ETX) and the file closed. Each sample is
// told as it ends, at the instrument's prompt ">": its number, time and size in bytes.
//
// A lost line does not end the run while the session reconnects by itself (reconnecting());
// the data file stays open, and samples are counted again when they come again.
class PeriodicRun
{
public:
    explicit PeriodicRun(CliContext &context);

    static ExitStatus check(const CommandLine &line, CliOutput &output);
    // "90", "90s", "15m", "2h", "1.5d" in seconds; false when it is none of these.
    static bool readDuration(const QString &text, double *seconds);

    ExitStatus run();

private:
    ExitStatus collect();
    ExitStatus end(ExitStatus status);
    bool finished() const;
    // The hook for a session that reconnects by itself: true while it tries to.
    bool reconnecting() const;
    void takeSamples();
    void sampleEnded(qint64 boundary);

    CliContext &m_context;
    QString m_path;
    qint64 m_count = 0;
    double m_seconds = 0;
    qint64 m_samples = 0;
    // The stream's byte count where the last sample ended.
    bool m_wasReconnecting = false;
    qint64 m_lastBoundary = 0;
    bool m_collecting = false;
    QElapsedTimer m_clock;
};
