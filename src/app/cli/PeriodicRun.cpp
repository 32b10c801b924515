#include "app/cli/PeriodicRun.h"

#include "app/cli/CliContext.h"
#include "app/cli/CliOutput.h"
#include "app/cli/CommandLine.h"
#include "app/cli/CommandLineDialogs.h"
#include "app/cli/SamplingCommands.h"
#include "features/sampling/AcquireCommand.h"
#include "features/sampling/SamplingController.h"
#include "features/sampling/SamplingSettings.h"
#include "session/InstrumentSession.h"

#include <QDateTime>
#include <QFileInfo>

namespace
{
const QString kPeriod = QStringLiteral("period");
const QString kCount = QStringLiteral("count");
const QString kFor = QStringLiteral("for");
// The instrument's prompt ends each sample of a periodic run.
constexpr char kPromptEnd = '>';
// What the instrument sends after three ETX still goes into the file: the file closes once
// the line has been quiet this long, or at the latest after kDrainLongestMs.
constexpr float kQuietSeconds = 0.2f;
constexpr qint64 kDrainLongestMs = 1000;
constexpr float kDrainStepSeconds = 0.05f;
// The longest sleep of the run's own loop: a signal or a sample ends it sooner.
constexpr int kLongestWaitMs = 1000;
} // namespace

PeriodicRun::PeriodicRun(CliContext &context) : m_context(context)
{
}

bool PeriodicRun::readDuration(const QString &text, double *seconds)
{
    QString number = text.trimmed();
    double scale = 1;
    const QChar unit = number.isEmpty() ? QChar() : number.back();
    if (unit.isLetter()) {
        const int at = int(QStringLiteral("smhd").indexOf(unit));
        if (at < 0)
            return false;
        scale = QList<double>{1, 60, 3600, 86400}.at(at);
        number.chop(1);
    }
    // Digits and one decimal point only: no sign, no exponent, no blank before the unit.
    bool plain = !number.isEmpty() && number.front().isDigit() && number.back().isDigit();
    for (const QChar c : number)
        plain = plain && (c.isDigit() || c == QLatin1Char('.'));
    bool isNumber = false;
    *seconds = number.toDouble(&isNumber) * scale;
    return plain && isNumber && *seconds > 0;
}

ExitStatus PeriodicRun::check(const CommandLine &line, CliOutput &output)
{
    double period = 0;
    if (!line.isSet(kPeriod) || !ReadMinimumPeriod(line.value(kPeriod), &period) || period < 0) {
        output.error(SamplingController::badPeriodMessage() +
                     QStringLiteral(" (run needs --period S)"));
        return ExitStatus::Usage;
    }
    if (line.isSet(kCount) && line.isSet(kFor)) {
        output.error(QStringLiteral("run ends either after --count samples or after --for a "
                                    "time, not both"));
        return ExitStatus::Usage;
    }
    bool isCount = false;
    if (line.isSet(kCount) && (line.value(kCount).toLongLong(&isCount) < 1 || !isCount)) {
        output.error(QStringLiteral("--count takes a whole number of samples, such as 100"));
        return ExitStatus::Usage;
    }
    double seconds = 0;
    if (line.isSet(kFor) && !readDuration(line.value(kFor), &seconds)) {
        output.error(QStringLiteral("--for takes a duration such as 90, 90s, 15m, 2h or 1d"));
        return ExitStatus::Usage;
    }
    SamplingSettings settings;
    const ExitStatus status = SamplingCommands::readSettings(line, output, &settings);
    return status == ExitStatus::Done ? SamplingCommands::checkOutputFile(line, output, true)
                                      : status;
}

ExitStatus PeriodicRun::run()
{
    const CommandLine &line = m_context.line;
    InstrumentSession &session = m_context.session;
    SamplingSettings settings;
    SamplingCommands::readSettings(line, m_context.output, &settings);
    settings.sampleDelay = line.value(kPeriod);
    m_count = line.value(kCount).toLongLong();
    if (line.isSet(kFor))
        readDuration(line.value(kFor), &m_seconds);
    m_path = line.value(QStringLiteral("output"));
    if (!SamplingCommands::openDataFile(session, m_context.output, m_path,
                                        line.isSet(QStringLiteral("keep"))))
        return ExitStatus::Failed;

    // Until the run's own loop takes over, a signal ends the start command's wait as an exit
    // would: three ETX, and the port closed.
    m_context.onInterrupt = [this] {
        if (!m_collecting)
            m_context.session.endForExit();
    };
    m_lastBoundary = session.byteCount();
    m_clock.start();
    SamplingController sampling(session, m_context.dialogs);
    sampling.StartPeriodic(settings);
    Line &shared = session.line();
    if (shared.lastReplyFramed()) {
        // The start command's reply ends at the first sample's prompt; what came after it is
        // the next sample's beginning.
        const QByteArray after = shared.afterReply();
        sampleEnded(session.byteCount() - after.size());
        session.clearReceiveBuffer();
        session.appendToReceiveBuffer(after);
    }
    m_collecting = true;
    const ExitStatus status = collect();
    if (session.isOpen()) {
        // The sample the three ETX cut short, and the prompt after them, are no sample.
        session.clearReceiveBuffer();
        sampling.Stop();
        QElapsedTimer draining;
        draining.start();
        // Quiet counts from the stop too: a line quiet between samples is not yet the
        // instrument's answer to the ETX.
        const auto quiet = [&] {
            return draining.elapsed() >= qint64(kQuietSeconds * 1000) &&
                   session.TimeSinceLastByte() >= kQuietSeconds;
        };
        while (session.isOpen() && !quiet() && draining.elapsed() < kDrainLongestMs)
            session.line().Pause(kDrainStepSeconds);
    }
    return end(status);
}

ExitStatus PeriodicRun::collect()
{
    InstrumentSession &session = m_context.session;
    for (;;) {
        if (reconnecting()) {
            // What comes while the line is brought back (its "id" answered) is no sample;
            // counting starts again from where the line is then.
            m_wasReconnecting = true;
        } else {
            if (m_wasReconnecting) {
                m_wasReconnecting = false;
                session.clearReceiveBuffer();
                m_lastBoundary = session.byteCount();
            }
            takeSamples();
        }
        if (m_context.interrupted())
            return ExitStatus::Interrupted;
        if (finished())
            return ExitStatus::Done;
        // Lost for good: the reconnection gave up (or was off), which ends in status 0.
        if (session.Status() == StatusCode::NotConnected) {
            m_context.output.error(QStringLiteral("the connection to the Orvantis was lost; %1 "
                                                  "holds what came before")
                                       .arg(m_path));
            return ExitStatus::NoInstrument;
        }
        // The receive loop closes a file the disk refused, and says why.
        if (!session.dataFile().isOpen())
            return ExitStatus::Failed;
        int waitMs = kLongestWaitMs;
        if (m_seconds > 0)
            waitMs = int(
                qBound<qint64>(1, qint64(m_seconds * 1000) - m_clock.elapsed(), qint64(waitMs)));
        session.waitForEvents(waitMs);
    }
}

ExitStatus PeriodicRun::end(ExitStatus status)
{
    InstrumentSession &session = m_context.session;
    SamplingCommands::closeDataFile(session);
    m_context.output.note(QStringLiteral("%1 samples; %2 holds %3 bytes.")
                              .arg(m_samples)
                              .arg(m_path)
                              .arg(QFileInfo(m_path).size()));
    return status;
}

bool PeriodicRun::finished() const
{
    return (m_count > 0 && m_samples >= m_count) ||
           (m_seconds > 0 && m_clock.elapsed() >= qint64(m_seconds * 1000));
}

bool PeriodicRun::reconnecting() const
{
    return m_context.session.reconnecting();
}

// Every prompt received since the last look ends a sample. ReceiveBuffer holds the latest
// bytes of the stream, so each byte's place in the stream follows from the byte count; the
// buffer is emptied after each look so that it never reaches its cap.
void PeriodicRun::takeSamples()
{
    InstrumentSession &session = m_context.session;
    const QByteArray &buffer = session.ReceiveBuffer();
    const qint64 start = session.byteCount() - buffer.size();
    for (qsizetype at = buffer.indexOf(kPromptEnd); at >= 0;
         at = buffer.indexOf(kPromptEnd, at + 1)) {
        // Samples beyond the count are in the file, but the run has ended.
        if (start + at + 1 > m_lastBoundary && !finished())
            sampleEnded(start + at + 1);
    }
    session.clearReceiveBuffer();
}

void PeriodicRun::sampleEnded(qint64 boundary)
{
    const qint64 bytes = boundary - m_lastBoundary;
    m_lastBoundary = boundary;
    ++m_samples;
    const QDateTime now = QDateTime::currentDateTime();
    if (m_context.output.json()) {
        m_context.output.jsonLine({{QStringLiteral("sample"), m_samples},
                                   {QStringLiteral("time"), now.toString(Qt::ISODateWithMs)},
                                   {QStringLiteral("bytes"), bytes}});
    } else {
        m_context.output.line(QStringLiteral("%1  %2  %3 bytes")
                                  .arg(m_samples, 5)
                                  .arg(now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                                  .arg(bytes));
    }
}
