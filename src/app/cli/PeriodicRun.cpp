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
const QString kMaxOutage = QStringLiteral("max-outage");
const QString kDetach = QStringLiteral("detach");
const QString kOutput = QStringLiteral("output");
// A quiet moment of the line. Once the stop has been answered, the line must stay quiet
// this long (a second answer to the other ETX goes into the file too). After the port
// opened again, until the Orvantis is heard, bytes that come after such a moment begin a
// sample: one under way, sent in one burst, streams in at once, and an echo of "id" may
// come before the next.
constexpr int kQuietMs = 200;
// However long the Orvantis keeps sending what it had on its way, the run ends.
constexpr qint64 kDrainLongestMs = 30000;
// The longest sleep of the run's own loops: a signal or a sample ends it sooner.
constexpr int kLongestWaitMs = 1000;
constexpr int kDrainStepMs = 50;
} // namespace

PeriodicRun::PeriodicRun(CliContext &context) : m_context(context), m_report(context.output)
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
    const auto refuse = [&output](const QString &text) {
        output.error(text);
        return ExitStatus::Usage;
    };
    double period = 0;
    if (!line.isSet(kPeriod) || !ReadMinimumPeriod(line.value(kPeriod), &period) || period < 0)
        return refuse(tr("%1 (run needs --period S)").arg(SamplingController::badPeriodMessage()));
    if (line.isSet(kCount) && line.isSet(kFor))
        return refuse(tr("run ends either after --count samples or after --for a "
                         "time, not both"));
    bool isCount = false;
    if (line.isSet(kCount) && (line.value(kCount).toLongLong(&isCount) < 1 || !isCount))
        return refuse(tr("--count takes a whole number of samples, such as 100"));
    double seconds = 0;
    if (line.isSet(kFor) && !readDuration(line.value(kFor), &seconds))
        return refuse(tr("--for takes a duration such as 90, 90s, 15m, 2h or 1d"));
    if (line.isSet(kMaxOutage) && !readDuration(line.value(kMaxOutage), &seconds))
        return refuse(tr("--max-outage takes a duration such as 30, 90s, 15m, 2h or 1d"));
    SamplingSettings settings;
    const ExitStatus status = SamplingCommands::readSettings(line, output, &settings);
    if (status != ExitStatus::Done)
        return status;
    if (!line.isSet(kDetach))
        return SamplingCommands::checkOutputFile(line, output, true);
    // A detached run sends nothing to this computer: nothing would be there to receive it.
    if (!line.isSet(QStringLiteral("flash")))
        return refuse(tr("--detach leaves the Orvantis storing into its flash "
                         "memory: it needs --flash NAME"));
    for (const QString &option :
         {kOutput, kCount, kFor, kMaxOutage, QStringLiteral("keep"), QStringLiteral("force")}) {
        if (line.isSet(option))
            return refuse(tr("--detach sends no sample to this computer and leaves "
                             "the run going: it takes no --%1")
                              .arg(option == kOutput ? QStringLiteral("output (-o)") : option));
    }
    return ExitStatus::Done;
}

ExitStatus PeriodicRun::run()
{
    const CommandLine &line = m_context.line;
    InstrumentSession &session = m_context.session;
    SamplingSettings settings;
    SamplingCommands::readSettings(line, m_context.output, &settings);
    settings.sampleDelay = line.value(kPeriod);
    SamplingController sampling(session, m_context.dialogs);
    if (line.isSet(kDetach))
        return detach(sampling, settings);

    m_count = line.value(kCount).toLongLong();
    if (line.isSet(kFor))
        readDuration(line.value(kFor), &m_seconds);
    if (line.isSet(kMaxOutage))
        readDuration(line.value(kMaxOutage), &m_maxOutage);
    m_path = line.value(kOutput);
    m_context.output.setStreaming(true);
    if (!SamplingCommands::openDataFile(session, m_context.output, line))
        return ExitStatus::Failed;
    session.dataFile().setWriteObserver([this](QByteArrayView bytes) {
        if (m_sinceBytes.isValid()) {
            if (m_sinceBytes.elapsed() >= kQuietMs)
                m_ledger.samplesBeginHere();
            m_sinceBytes.start();
        }
        report(m_ledger.take(bytes));
    });
    QObject::connect(&session, &InstrumentSession::connectionLost, &m_guard, [this] {
        m_ledger.lineLost();
        m_report.lineLost(QDateTime::currentDateTime());
    });
    QObject::connect(&session, &InstrumentSession::lineReopened, &m_guard, [this] {
        m_ledger.lineLost();
        m_sinceBytes.start();
    });
    QObject::connect(&session, &InstrumentSession::periodicRunRestarting, &m_guard, [this] {
        m_sinceBytes.invalidate();
        m_ledger.samplesBeginHere();
    });
    QObject::connect(&session, &InstrumentSession::reconnected, &m_guard, [this](bool restarted) {
        m_sinceBytes.invalidate();
        m_ledger.lineBack();
        m_report.lineBack(QDateTime::currentDateTime(), restarted);
    });

    // A signal during the start command's wait stops the run at once: the instrument's
    // answer ends that wait, and the file still ends at the prompt. Later the run's own loop
    // sees the signal.
    m_context.onInterrupt = [this, &sampling] {
        if (!m_collecting)
            stop(sampling);
    };
    m_clock.start();
    m_report.started(QDateTime::currentDateTime());
    sampling.StartPeriodic(settings);
    m_collecting = true;
    const ExitStatus status = collect();
    if (session.isOpen()) {
        stop(sampling);
        drain();
    }
    report(m_ledger.finish());
    return end(status);
}

ExitStatus PeriodicRun::detach(SamplingController &sampling, SamplingSettings settings)
{
    InstrumentSession &session = m_context.session;
    settings.storeInComputer = false;
    sampling.StartPeriodic(settings);
    // Taken up: the start command's echo came back, and mostly the first sample's prompt.
    const bool takenUp =
        session.line().lastReplyFramed() || session.ReceiveBuffer().toLower().contains("start");
    const PeriodicRunInfo run = session.periodicRunInfo();
    if (m_context.interrupted())
        return ExitStatus::Interrupted;
    if (!takenUp || !session.isOpen()) {
        sampling.Stop();
        m_context.output.error(tr("the Orvantis did not take up the run (no echo of "
                                  "the start command within %1 s); three ETX were "
                                  "sent to stop whatever it began")
                                   .arg(double(SamplingController::kStartTimeoutSeconds)));
        return ExitStatus::Failed;
    }
    session.Disconnect(RunOnLeaving::LeaveSampling);
    m_context.output.result(
        {{QStringLiteral("detached"), true},
         {QStringLiteral("period"), run.period.toDouble()},
         {QStringLiteral("flashName"), run.flashName},
         {QStringLiteral("started"), CliOutput::isoTime(QDateTime::currentDateTime())}},
        {tr("The Orvantis stores a sample every %1 s in its flash memory as %2, and "
            "goes on without this computer.")
             .arg(run.period, run.flashName),
         tr("\"orvantis stop\" stops it; so does any other command of orvantis or "
            "the console's connection, since finding the Orvantis stops what it "
            "is doing.")});
    return ExitStatus::Done;
}

ExitStatus PeriodicRun::collect()
{
    InstrumentSession &session = m_context.session;
    for (;;) {
        if (m_context.interrupted())
            return ExitStatus::Interrupted;
        if (finished())
            return ExitStatus::Done;
        if (outageTooLong()) {
            m_context.output.error(tr("the connection was lost at %1 and not back within %2 s; the "
                                      "Orvantis may still be sampling; %3 holds what came before")
                                       .arg(m_report.lostAt().toString(QStringLiteral("HH:mm:ss")))
                                       .arg(m_maxOutage)
                                       .arg(m_path));
            session.Disconnect();
            return ExitStatus::NoInstrument;
        }
        // Lost for good: the reconnection gave up (or was off), which ends in status 0.
        if (session.Status() == StatusCode::NotConnected) {
            m_context.output.error(tr("the connection to the Orvantis was lost; %1 "
                                      "holds what came before")
                                       .arg(m_path));
            return ExitStatus::NoInstrument;
        }
        // The receive loop closes a file the disk refused, and says why.
        if (!session.dataFile().isOpen())
            return ExitStatus::Failed;
        qint64 waitMs = kLongestWaitMs;
        if (m_seconds > 0)
            waitMs = qMin(waitMs, qint64(m_seconds * 1000) - m_clock.elapsed());
        if (m_report.isLost() && m_maxOutage > 0)
            waitMs = qMin(waitMs, qint64(m_maxOutage * 1000) -
                                      m_report.lostAt().msecsTo(QDateTime::currentDateTime()));
        session.waitForEvents(int(qBound(qint64(1), waitMs, qint64(kLongestWaitMs))));
    }
}

void PeriodicRun::stop(SamplingController &sampling)
{
    if (m_stopped)
        return;
    m_stopped = true;
    m_ledger.stopping();
    sampling.Stop();
    m_sinceStop.start();
}

void PeriodicRun::drain()
{
    InstrumentSession &session = m_context.session;
    const auto quietFor = [&](int ms) {
        return m_sinceStop.elapsed() >= ms && session.TimeSinceLastByte() * 1000 >= float(ms);
    };
    // Quiet counts from the stop too: a line quiet between samples has not answered yet. What
    // the Orvantis had on its way when the stop reached it comes first, and lands in the file.
    const auto answered = [&] {
        return m_ledger.promptsSinceStop() > 0 && m_ledger.endsAtPrompt() && quietFor(kQuietMs);
    };
    while (session.isOpen() && !answered() && !quietFor(kStopAnswerMs) &&
           m_sinceStop.elapsed() < kDrainLongestMs)
        session.waitForEvents(kDrainStepMs);
}

ExitStatus PeriodicRun::end(ExitStatus status)
{
    InstrumentSession &session = m_context.session;
    session.dataFile().setWriteObserver(nullptr);
    SamplingCommands::closeDataFile(session);
    RunReport::Ending ending;
    ending.path = m_path;
    ending.samples = m_ledger.count();
    ending.bytes = m_path == QLatin1String("-") ? m_ledger.size() : QFileInfo(m_path).size();
    ending.endsAtPrompt = m_ledger.endsAtPrompt();
    m_report.summary(ending, QDateTime::currentDateTime());
    if (status == ExitStatus::Done && !ending.endsAtPrompt && !m_context.interrupted())
        m_context.output.note(tr("The Orvantis did not answer the stop with its "
                                 "prompt."));
    return status;
}

bool PeriodicRun::finished() const
{
    return (m_count > 0 && m_ledger.count() >= m_count) ||
           (m_seconds > 0 && m_clock.elapsed() >= qint64(m_seconds * 1000));
}

bool PeriodicRun::outageTooLong() const
{
    return m_maxOutage > 0 && m_report.isLost() &&
           m_report.lostAt().msecsTo(QDateTime::currentDateTime()) >= qint64(m_maxOutage * 1000);
}

void PeriodicRun::report(const QList<SampleLedger::Sample> &samples)
{
    for (const SampleLedger::Sample &sample : samples)
        m_report.sample(sample, QDateTime::currentDateTime());
}
