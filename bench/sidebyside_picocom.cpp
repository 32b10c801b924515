// Side by side with picocom: the whole console and picocom take the same stream from
// orvantis-sim at 115200 baud, one after the other in the same run, and each is measured from
// outside through /proc: CPU (utime + stime, all threads), wakeups (voluntary context
// switches summed over its threads) and peak resident memory (VmHWM). The console is this
// program started again with --console: the connection search, status polling switched off,
// the terminal on screen and a data file opened with "New File...". picocom writes a log
// file. Both files are compared byte for byte with what the simulator sent (--record).
// Cases, each consumer on a fresh simulator: 200 KB at the line rate, 2 MB flat out, 200 KB
// at the line rate right after it; then, on another fresh simulator with status polling on,
// idle.
// Usage: sidebyside_picocom [runs] [idle seconds]   (default 3 and 60; run through
// bench/sidebyside)
#include "BenchSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <functional>
#include <unistd.h>
#include <vector>

namespace
{
constexpr int kBaud = 115200;
constexpr qint64 kLineRateBytes = 200000;
constexpr qint64 kBurstBytes = 2000000;
constexpr double kMB = 1e6;
// Before a case starts, and at least this long after a file is complete before the work
// after it counts as done.
constexpr int kSettleMs = 1000;
const char kConsoleFlag[] = "--console";

// In the child: the program over the simulator's pty, connected by the search. With a data
// file path, polling is switched off and the file opened, so that it holds only what the
// simulator streams; without one, polling stays on. "terminal" after the file shows the
// terminal window too. Prints "ready" when set up.
// Arguments: DEVICE SETTINGS-FOLDER [DATA-FILE [terminal]]
int consoleChild(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    useTemporarySettings(QString::fromLocal8Bit(argv[3]));
    const QString dataPath = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString();
    bench::SimConsole console(QString::fromLocal8Bit(argv[2]));
    console.console.startUp(true);
    MainForm &form = console.form();
    const MainFormControls &c = form.controls();
    const bool showTerminal = argc > 5 && qstrcmp(argv[5], "terminal") == 0;
    if (console.session().Status() != StatusCode::Idle ||
        (showTerminal && !bench::SimConsole::click(c.OpenTerminalButton))) {
        std::fprintf(stderr, "not connected: %s\n", qPrintable(console.dialogs.errors.join("; ")));
        return 1;
    }
    if (!dataPath.isEmpty()) {
        if (c.StatusCheck->isChecked())
            c.StatusCheck->click();
        console.waitForQuietLine(0.5f);
        console.dialogs.pathAnswers.enqueue(dataPath);
        if (!bench::SimConsole::click(c.NewFileButton) ||
            !console.console.session.state().dataFile.isOpen())
            return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

// ---- measuring another process through /proc ----

struct Snapshot {
    double cpu = 0;     // s, user + system, all threads
    qint64 wakeups = 0; // voluntary context switches, all threads
    qint64 elapsed = 0; // ms on benchClock
};

QElapsedTimer benchClock;

Snapshot snapshot(qint64 pid)
{
    Snapshot s;
    const QByteArray stat = bench::readAll(QStringLiteral("/proc/%1/stat").arg(pid));
    // Fields after the command name (in brackets, it may hold blanks) start with field 3;
    // utime and stime are fields 14 and 15.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    s.cpu = (fields.value(11).toLongLong() + fields.value(12).toLongLong()) /
            double(sysconf(_SC_CLK_TCK));
    const QString tasks = QStringLiteral("/proc/%1/task/").arg(pid);
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        s.wakeups += bench::statusField(tasks + task + "/status", "voluntary_ctxt_switches:");
    s.elapsed = benchClock.elapsed();
    return s;
}

long peakKb(qint64 pid)
{
    return bench::statusField(QStringLiteral("/proc/%1/status").arg(pid), "VmHWM:");
}

// Sleeps in short steps until `done` or `timeoutMs`; false on the time-out.
bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// Waits at least kSettleMs, then until the CPU time stops growing (at most 30 s more).
Snapshot settled(qint64 pid)
{
    QThread::msleep(kSettleMs);
    Snapshot last = snapshot(pid);
    for (int i = 0; i < 100; ++i) {
        QThread::msleep(300);
        const Snapshot now = snapshot(pid);
        if (now.cpu == last.cpu)
            break;
        last = now;
    }
    return last;
}

// ---- one consumer of the line ----

enum class Kind { Console, Picocom };

const char *name(Kind kind)
{
    return kind == Kind::Console ? "console" : "picocom";
}

struct StreamCase {
    bool exact = false;
    double cpuPerMB = 0;         // to the file complete
    double settledCpuPerMB = 0;  // including the work after it
    double wakeupsPerSecond = 0; // to the file complete
};

struct Figures {
    StreamCase lineRate, burst, afterBurst;
    // The console with its terminal window open; picocom shows the same as lineRate.
    StreamCase lineRateTerminal;
    double idleCpu = 0;
    double idleWakeupsPerSecond = 0;
    long peakBeforeBurstKb = 0;
    long peakAfterBurstKb = 0;
};

// One consumer on a fresh simulator of its own, writing what it receives to `output`.
class Session
{
public:
    Session(Kind kind, const QString &folder, bool streaming, bool terminal = false)
        : m_kind(kind), m_folder(folder), m_record(folder + "/line.bin"),
          m_output(folder + (kind == Kind::Console ? "/data.raw" : "/picocom.log")),
          m_streaming(streaming), m_terminal(terminal)
    {
    }
    ~Session()
    {
        m_consumer.terminate();
        if (!m_consumer.waitForFinished(5000))
            m_consumer.kill();
        m_consumer.waitForFinished(5000);
    }

    // The simulator and the consumer, connected and quiet; false with a message.
    bool start()
    {
        if (!bench::startSim(m_sim, {"--baud", QString::number(kBaud), "--record", m_record}))
            return false;
        m_consumer.setStandardErrorFile(m_folder + "/" + name(m_kind) + ".err");
        const QString device = m_sim.devicePath();
        bool ready = false;
        if (m_kind == Kind::Console) {
            QStringList arguments{kConsoleFlag, device, m_folder + "/settings"};
            if (m_streaming)
                arguments << m_output;
            if (m_terminal)
                arguments << "terminal";
            m_consumer.start(QCoreApplication::applicationFilePath(), arguments);
            ready = waitUntil(
                        [this] {
                            m_consumer.waitForReadyRead(100);
                            return m_consumer.canReadLine() ||
                                   m_consumer.state() == QProcess::NotRunning;
                        },
                        60000) &&
                    m_consumer.readLine().startsWith("ready");
        } else {
            // Its terminal output goes nowhere; its standard input stays open (a pipe). It
            // passes a SIGTERM on to its process group, so it gets a group of its own.
            m_consumer.setStandardOutputFile(QProcess::nullDevice());
            m_consumer.setChildProcessModifier([] { ::setpgid(0, 0); });
            m_consumer.start("picocom", {"--baud", QString::number(kBaud), "--noreset", "--quiet",
                                         "--logfile", m_output, device});
            ready = waitUntil([this, device] { return hasOpen(device); }, 10000);
        }
        if (!ready) {
            std::fprintf(stderr, "%s did not get ready: %s\n", name(m_kind),
                         bench::readAll(m_folder + "/" + name(m_kind) + ".err").constData());
            return false;
        }
        QThread::msleep(kSettleMs);
        m_lineStart = bench::fileSize(m_record);
        m_outputStart = bench::fileSize(m_output);
        return true;
    }

    qint64 pid() const { return m_consumer.processId(); }

    // Has the simulator send `bytes` of sample lines and measures the consumer until they
    // are all in its file, then until it has settled.
    bool stream(qint64 bytes, bool flatOut, StreamCase &result)
    {
        const Snapshot before = snapshot(pid());
        sigval value{};
        value.sival_int = int(bytes);
        const qint64 simPid = m_sim.process().processId();
        // A pid of 0 would signal the whole process group.
        if (simPid <= 0 || sigqueue(pid_t(simPid), SIGRTMIN + (flatOut ? 1 : 0), value) != 0) {
            std::fprintf(stderr, "cannot signal the simulator: %s\n",
                         m_sim.standardError().constData());
            return false;
        }
        const qint64 from = m_sent;
        m_sent += bytes;
        const qint64 wanted = m_outputStart + m_sent;
        if (!waitUntil([&] { return bench::fileSize(m_output) >= wanted; }, 120000)) {
            std::fprintf(stderr, "%s: %lld of %lld bytes arrived\n", name(m_kind),
                         qlonglong(bench::fileSize(m_output) - m_outputStart), qlonglong(m_sent));
            return false;
        }
        const Snapshot done = snapshot(pid());
        const Snapshot after = settled(pid());
        const double mb = bytes / kMB;
        result.cpuPerMB = (done.cpu - before.cpu) / mb;
        result.settledCpuPerMB = (after.cpu - before.cpu) / mb;
        result.wakeupsPerSecond = (done.wakeups - before.wakeups) * 1000.0 /
                                  qMax<qint64>(1, done.elapsed - before.elapsed);
        result.exact = bench::fileSize(m_output) == wanted &&
                       bench::readFrom(m_output, m_outputStart + from) ==
                           bench::readFrom(m_record, m_lineStart + from);
        return true;
    }

private:
    // Whether the process holds `device` open.
    bool hasOpen(const QString &device) const
    {
        const QString fds = QStringLiteral("/proc/%1/fd/").arg(pid());
        for (const QString &fd : QDir(fds).entryList(QDir::System | QDir::NoDotAndDotDot)) {
            if (QFile::symLinkTarget(fds + fd) == device)
                return true;
        }
        return false;
    }

    Kind m_kind;
    QString m_folder;
    QString m_record;
    QString m_output;
    bool m_streaming;
    bool m_terminal;
    SimProcess m_sim;
    QProcess m_consumer;
    qint64 m_lineStart = 0;
    qint64 m_outputStart = 0;
    qint64 m_sent = 0;
};

bool measure(Kind kind, int idleSeconds, Figures &f)
{
    {
        QTemporaryDir folder;
        Session session(kind, folder.path(), true);
        if (!session.start() || !session.stream(kLineRateBytes, false, f.lineRate))
            return false;
        f.peakBeforeBurstKb = peakKb(session.pid());
        if (!session.stream(kBurstBytes, true, f.burst) ||
            !session.stream(kLineRateBytes, false, f.afterBurst))
            return false;
        f.peakAfterBurstKb = peakKb(session.pid());
    }
    if (kind == Kind::Console) {
        QTemporaryDir folder;
        Session session(kind, folder.path(), true, true);
        if (!session.start() || !session.stream(kLineRateBytes, false, f.lineRateTerminal))
            return false;
    } else {
        f.lineRateTerminal = f.lineRate;
    }
    QTemporaryDir folder;
    Session session(kind, folder.path(), false);
    if (!session.start())
        return false;
    const Snapshot before = snapshot(session.pid());
    QThread::msleep(idleSeconds * 1000);
    const Snapshot after = snapshot(session.pid());
    f.idleCpu = after.cpu - before.cpu;
    f.idleWakeupsPerSecond =
        (after.wakeups - before.wakeups) * 1000.0 / (after.elapsed - before.elapsed);
    return true;
}

// ---- the table ----

double median(const std::vector<Figures> &runs, const std::function<double(const Figures &)> &of)
{
    std::vector<double> values;
    for (const Figures &f : runs)
        values.push_back(of(f));
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString number(double value)
{
    return value >= 100 ? QString::number(value, 'f', 0)
                        : QString::number(value, 'g', value < 1 ? 2 : 3);
}

QString ratio(double console, double picocom)
{
    return picocom > 0 ? QString::number(console / picocom, 'f', 2) + QStringLiteral("×")
                       : QString();
}

void row(const QString &label, const QString &console, const QString &picocom,
         const QString &ratioText)
{
    std::printf("| %s | %s | %s | %s |\n", qPrintable(label), qPrintable(console),
                qPrintable(picocom), qPrintable(ratioText));
}

// A row of medians with their ratio.
void row(const QString &label, const std::vector<Figures> &console,
         const std::vector<Figures> &picocom, const std::function<double(const Figures &)> &of)
{
    const double c = median(console, of);
    const double p = median(picocom, of);
    row(label, number(c), number(p), ratio(c, p));
}

QString exactCount(const std::vector<Figures> &runs, StreamCase Figures::*which)
{
    const auto exact = std::count_if(runs.begin(), runs.end(),
                                     [which](const Figures &f) { return (f.*which).exact; });
    return QStringLiteral("%1/%2").arg(exact).arg(runs.size());
}

void printRun(int run, Kind kind, const Figures &f)
{
    std::printf("run %d %s: line rate %.3f s/MB %.0f wakeups/s%s; burst %.3f / %.3f s/MB%s; "
                "after it %.3f s/MB%s; idle %.2f s %.1f wakeups/s; peak %ld / %ld kB\n",
                run, name(kind), f.lineRate.cpuPerMB, f.lineRate.wakeupsPerSecond,
                f.lineRate.exact ? "" : " NOT EXACT", f.burst.cpuPerMB, f.burst.settledCpuPerMB,
                f.burst.exact ? "" : " NOT EXACT", f.afterBurst.cpuPerMB,
                f.afterBurst.exact ? "" : " NOT EXACT", f.idleCpu, f.idleWakeupsPerSecond,
                f.peakBeforeBurstKb, f.peakAfterBurstKb);
    std::fflush(stdout);
}

void printTable(const std::vector<Figures> &c, const std::vector<Figures> &p, int idleSeconds)
{
    std::printf("\nmedians of %zu runs each\n\n| case | console | picocom | ratio |\n"
                "|---|---|---|---|\n",
                c.size());
    row("200 KB at the 115200 line rate: exact", exactCount(c, &Figures::lineRate),
        exactCount(p, &Figures::lineRate), QString());
    row("… CPU s per MB", c, p, [](const Figures &f) { return f.lineRate.cpuPerMB; });
    row("… wakeups per second", c, p, [](const Figures &f) { return f.lineRate.wakeupsPerSecond; });
    row("… the same with the terminal window open: exact",
        exactCount(c, &Figures::lineRateTerminal), exactCount(p, &Figures::lineRateTerminal),
        QString());
    row("… CPU s per MB", c, p, [](const Figures &f) { return f.lineRateTerminal.cpuPerMB; });
    row("… wakeups per second", c, p,
        [](const Figures &f) { return f.lineRateTerminal.wakeupsPerSecond; });
    row("2 MB flat out: exact", exactCount(c, &Figures::burst), exactCount(p, &Figures::burst),
        QString());
    auto complete = [](const Figures &f) { return f.burst.cpuPerMB; };
    auto settled = [](const Figures &f) { return f.burst.settledCpuPerMB; };
    row("… CPU s per MB to the file complete / including the work after it",
        number(median(c, complete)) + " / " + number(median(c, settled)),
        number(median(p, complete)) + " / " + number(median(p, settled)),
        ratio(median(c, complete), median(p, complete)) + " / " +
            ratio(median(c, settled), median(p, settled)));
    row("200 KB at the line rate right after a 2 MB burst: exact",
        exactCount(c, &Figures::afterBurst), exactCount(p, &Figures::afterBurst), QString());
    row("… CPU s per MB", c, p, [](const Figures &f) { return f.afterBurst.cpuPerMB; });
    row("… wakeups per second", c, p,
        [](const Figures &f) { return f.afterBurst.wakeupsPerSecond; });
    row(QStringLiteral("idle %1 s connected, polling: CPU s").arg(idleSeconds), c, p,
        [](const Figures &f) { return f.idleCpu; });
    row("… wakeups per second", c, p, [](const Figures &f) { return f.idleWakeupsPerSecond; });
    auto mb = [](double kb) { return QString::number(kb / 1024, 'f', 1) + " MB"; };
    auto memory = [&](const std::vector<Figures> &runs) {
        return mb(median(runs, [](const Figures &f) { return double(f.peakBeforeBurstKb); })) +
               " (" +
               mb(median(runs, [](const Figures &f) { return double(f.peakAfterBurstKb); })) +
               " after a burst)";
    };
    row("peak resident memory", memory(c), memory(p), QString());
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], kConsoleFlag) == 0)
        return consoleChild(argc, argv);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 60;
    if (runs < 1 || idleSeconds < 1) {
        std::fprintf(stderr, "usage: sidebyside_picocom [runs] [idle seconds]\n");
        return 2;
    }
    if (QStandardPaths::findExecutable("picocom").isEmpty()) {
        std::fprintf(stderr, "picocom is not installed (bench/sidebyside installs it)\n");
        return 1;
    }
    benchClock.start();
    std::printf("side by side at %d baud, %d runs, idle %d s\n", kBaud, runs, idleSeconds);
    std::vector<Figures> console, picocom;
    bool exact = true;
    for (int run = 1; run <= runs; ++run) {
        // Alternating which goes first evens out a machine that gets busier or quieter.
        const Kind first = run % 2 ? Kind::Console : Kind::Picocom;
        for (Kind kind : {first, first == Kind::Console ? Kind::Picocom : Kind::Console}) {
            Figures f;
            if (!measure(kind, idleSeconds, f))
                return 1;
            printRun(run, kind, f);
            (kind == Kind::Console ? console : picocom).push_back(f);
            exact = exact && f.lineRate.exact && f.burst.exact && f.afterBurst.exact;
        }
    }
    printTable(console, picocom, idleSeconds);
    return exact ? 0 : 1;
}
