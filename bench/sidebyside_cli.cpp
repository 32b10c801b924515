// The command line beside picocom and the console at 115200 baud, each measured from outside
// through /proc as bench/sidebyside does:
// - `orvantis get` of a file (1 MB by default) from orvantis-sim paced at the line rate: the
//   time from the process's start to its end against the line's floor (size / 11520 s), its
//   CPU, and the file compared byte for byte;
// - `orvantis run` (a period longer than the case) and picocom, each on a fresh simulator,
//   taking the simulator's 200 KB stream at the line rate into their files: CPU per MB and
//   wakeups, both files compared with what the simulator sent;
// - `orvantis run` with periodic sampling keeping the line full for 20 s: bytes per second,
//   CPU per MB, the data file compared with the line;
// - peak resident memory (VmHWM) of orvantis against the console's after the same stream
//   (sidebyside_picocom --console).
// Usage: sidebyside_cli [runs] [kilobytes]   (default 3 and 1024; run through bench/cli)
#include "LineConsumer.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <sys/resource.h>
#include <vector>

namespace
{
using namespace bench;
constexpr qint64 kLineRateBytes = 200000;
constexpr int kPeriodicSeconds = 20;
// A sample of the simulator (about 2970 bytes) takes 0.258 s on the line: samples this far
// apart leave it idle for about 1 %. A shorter period would only queue samples inside the
// simulator, which the line then carries long after the run has stopped it.
const QString kFullLinePeriod = QStringLiteral("0.26");

struct Figures {
    StreamCase cli, picocom;
    double periodicBytesPerSecond = 0;
    double periodicCpuPerMB = 0;
    bool periodicExact = false;
    long cliPeakKb = 0;
    long consolePeakKb = 0;
    long picocomPeakKb = 0;
};

struct GetFigures {
    double seconds = 0;
    double cpu = 0;
    long peakKb = 0;
    bool exact = false;
};

QProcessEnvironment cliEnvironment(const QString &folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/settings"));
    return env;
}

double childrenCpu()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// One consumer takes 200 KB at the line rate; its figures and its peak memory after it.
bool streamCase(Kind kind, StreamCase &result, long *peak)
{
    QTemporaryDir folder;
    LineConsumer consumer(kind, folder.path(), true);
    if (!consumer.start() || !consumer.stream(kLineRateBytes, false, result))
        return false;
    *peak = peakKb(consumer.pid());
    return true;
}

// orvantis run with the line kept full by the instrument's own periodic samples.
bool periodicCase(Figures &f)
{
    QTemporaryDir folder;
    const QString record = folder.filePath(QStringLiteral("line.bin"));
    const QString data = folder.filePath(QStringLiteral("data.raw"));
    SimProcess sim;
    if (!startSim(sim, {"--baud", QString::number(kSideBySideBaud), "--stable", "--spectrum-ms",
                        "1", "--record", record}))
        return false;
    QProcess cli;
    cli.setProcessEnvironment(cliEnvironment(folder.path()));
    cli.start(LineConsumer::cliProgram(),
              {"--port", sim.devicePath(), "--rate", QString::number(kSideBySideBaud), "--quiet",
               "run", "--period", kFullLinePeriod, "-o", data});
    if (!cli.waitForReadyRead(30000)) {
        std::fprintf(stderr, "orvantis run took no sample: %s\n",
                     cli.readAllStandardError().constData());
        return false;
    }
    QThread::msleep(kSettleMs);
    const Snapshot before = snapshot(cli.processId());
    const qint64 bytesBefore = fileSize(data);
    QThread::msleep(kPeriodicSeconds * 1000);
    const Snapshot after = snapshot(cli.processId());
    const qint64 bytes = fileSize(data) - bytesBefore;
    f.cliPeakKb = qMax(f.cliPeakKb, peakKb(cli.processId()));
    cli.terminate();
    if (!cli.waitForFinished(20000) || cli.exitCode() != 130) {
        std::fprintf(stderr, "orvantis run did not end on SIGTERM: %s\n",
                     cli.readAllStandardError().constData());
        return false;
    }
    const double seconds = (after.elapsed - before.elapsed) / 1000.0;
    f.periodicBytesPerSecond = bytes / seconds;
    f.periodicCpuPerMB = (after.cpu - before.cpu) / (bytes / kMB);
    const QByteArray filed = readAll(data);
    f.periodicExact = !filed.isEmpty() && readAll(record).endsWith(filed);
    return true;
}

bool getCase(int kilobytes, GetFigures &g)
{
    QTemporaryDir folder;
    const QString disk = folder.filePath(QStringLiteral("disk"));
    const QString got = folder.filePath(QStringLiteral("got"));
    QDir().mkpath(disk);
    QDir().mkpath(got);
    // Every byte value, ETX and Ctrl-Z included: the capture is counted, not framed.
    QByteArray content(qsizetype(kilobytes) * 1024, Qt::Uninitialized);
    QRandomGenerator random(2024);
    for (char &c : content)
        c = char(random.bounded(256));
    QFile source(QDir(disk).filePath(QStringLiteral("BENCH.BIN")));
    if (!source.open(QIODevice::WriteOnly) || source.write(content) != content.size())
        return false;
    source.close();
    SimProcess sim;
    if (!startSim(sim, {"--baud", QString::number(kSideBySideBaud), "--stable", "--disk", disk}))
        return false;

    const double cpuBefore = childrenCpu();
    QElapsedTimer wall;
    wall.start();
    QProcess cli;
    cli.setProcessEnvironment(cliEnvironment(folder.path()));
    cli.start(LineConsumer::cliProgram(),
              {"--port", sim.devicePath(), "--rate", QString::number(kSideBySideBaud), "--quiet",
               "get", "BENCH.BIN", "-d", got});
    while (!cli.waitForFinished(100)) {
        g.peakKb = qMax(g.peakKb, peakKb(cli.processId()));
        if (wall.elapsed() > 3600 * 1000)
            return false;
    }
    g.seconds = wall.nsecsElapsed() / 1e9;
    g.cpu = childrenCpu() - cpuBefore;
    g.exact = cli.exitCode() == 0 && readAll(QDir(got).filePath("BENCH.BIN")) == content;
    if (!g.exact)
        std::fprintf(stderr, "orvantis get: %s\n", cli.readAllStandardError().constData());
    return true;
}

QString mb(double kb)
{
    return QString::number(kb / 1024, 'f', 1) + QStringLiteral(" MB");
}

void row(const QString &label, const QString &cli, const QString &picocom, const QString &console,
         const QString &check)
{
    std::printf("| %s | %s | %s | %s | %s |\n", qPrintable(label), qPrintable(cli),
                qPrintable(picocom), qPrintable(console), qPrintable(check));
}

QString count(const std::vector<Figures> &runs, const std::function<bool(const Figures &)> &of)
{
    return QStringLiteral("%1/%2")
        .arg(std::count_if(runs.begin(), runs.end(), of))
        .arg(runs.size());
}

void printTable(const std::vector<Figures> &runs, const GetFigures &get, qint64 getBytes)
{
    const double floor = getBytes / lineBytesPerSecond(kSideBySideBaud);
    std::printf("\nmedians of %zu runs\n\n| case | orvantis | picocom | console | check |\n"
                "|---|---|---|---|---|\n",
                runs.size());
    row(QStringLiteral("`get` %1 bytes at 115200: seconds").arg(getBytes),
        QString::number(get.seconds, 'f', 2), QString(), QString(),
        QStringLiteral("floor %1 s: %2× (within 1 %: %3)")
            .arg(floor, 0, 'f', 2)
            .arg(get.seconds / floor, 0, 'f', 4)
            .arg(get.seconds <= floor * 1.01 ? "yes" : "no"));
    row(QStringLiteral("… byte-exact; CPU s; peak memory"),
        QStringLiteral("%1; %2; %3")
            .arg(get.exact ? "yes" : "NO")
            .arg(get.cpu, 0, 'f', 2)
            .arg(mb(get.peakKb)),
        QString(), QString(), QString());
    const double cli = median(runs, [](const Figures &f) { return f.cli.cpuPerMB; });
    const double picocom = median(runs, [](const Figures &f) { return f.picocom.cpuPerMB; });
    row(QStringLiteral("200 KB at the line rate into the file: exact"),
        count(runs, [](const Figures &f) { return f.cli.exact; }),
        count(runs, [](const Figures &f) { return f.picocom.exact; }), QString(), QString());
    row(QStringLiteral("… CPU s per MB"), number(cli), number(picocom), QString(),
        QStringLiteral("%1× picocom's (at most 1: %2)")
            .arg(cli / picocom, 0, 'f', 2)
            .arg(cli <= picocom ? "yes" : "no"));
    row(QStringLiteral("… wakeups per second"),
        number(median(runs, [](const Figures &f) { return f.cli.wakeupsPerSecond; })),
        number(median(runs, [](const Figures &f) { return f.picocom.wakeupsPerSecond; })),
        QString(), QString());
    row(QStringLiteral("`run`, periodic sampling keeping the line full %1 s: B/s")
            .arg(kPeriodicSeconds),
        number(median(runs, [](const Figures &f) { return f.periodicBytesPerSecond; })), QString(),
        QString(), QStringLiteral("of %1 B/s").arg(lineBytesPerSecond(kSideBySideBaud)));
    row(QStringLiteral("… CPU s per MB; data file = line"),
        number(median(runs, [](const Figures &f) { return f.periodicCpuPerMB; })) + "; " +
            count(runs, [](const Figures &f) { return f.periodicExact; }),
        QString(), QString(), QString());
    const double cliPeak = median(runs, [](const Figures &f) { return double(f.cliPeakKb); });
    const double consolePeak =
        median(runs, [](const Figures &f) { return double(f.consolePeakKb); });
    row(QStringLiteral("peak resident memory"), mb(cliPeak),
        mb(median(runs, [](const Figures &f) { return double(f.picocomPeakKb); })), mb(consolePeak),
        QStringLiteral("%1 of the console's (at most a third: %2)")
            .arg(cliPeak / consolePeak, 0, 'f', 3)
            .arg(cliPeak * 3 <= consolePeak ? "yes" : "no"));
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    const int kilobytes = argc > 2 ? std::atoi(argv[2]) : 1024;
    if (runs < 1 || kilobytes < 1) {
        std::fprintf(stderr, "usage: sidebyside_cli [runs] [kilobytes]\n");
        return 2;
    }
    if (QStandardPaths::findExecutable("picocom").isEmpty()) {
        std::fprintf(stderr, "picocom is not installed (bench/cli installs it)\n");
        return 1;
    }
    LineConsumer::consoleProgram() = QStringLiteral(SIDEBYSIDE_PICOCOM_PATH);
    LineConsumer::cliProgram() = QStringLiteral(ORVANTIS_CLI_PATH);
    benchClock();
    std::printf("orvantis beside picocom and the console at %d baud, %d runs\n", kSideBySideBaud,
                runs);
    std::vector<Figures> all;
    bool exact = true;
    for (int run = 1; run <= runs; ++run) {
        Figures f;
        StreamCase console;
        long cliStreamPeak = 0;
        if (!streamCase(Kind::Cli, f.cli, &cliStreamPeak) ||
            !streamCase(Kind::Picocom, f.picocom, &f.picocomPeakKb) ||
            !streamCase(Kind::Console, console, &f.consolePeakKb) || !periodicCase(f))
            return 1;
        f.cliPeakKb = qMax(f.cliPeakKb, cliStreamPeak);
        std::printf("run %d: orvantis %.3f s/MB %.0f wakeups/s%s, peak %ld kB; picocom %.3f s/MB "
                    "%.0f wakeups/s%s; console peak %ld kB; periodic %.0f B/s %.3f s/MB%s\n",
                    run, f.cli.cpuPerMB, f.cli.wakeupsPerSecond, f.cli.exact ? "" : " NOT EXACT",
                    f.cliPeakKb, f.picocom.cpuPerMB, f.picocom.wakeupsPerSecond,
                    f.picocom.exact ? "" : " NOT EXACT", f.consolePeakKb, f.periodicBytesPerSecond,
                    f.periodicCpuPerMB, f.periodicExact ? "" : " NOT EXACT");
        std::fflush(stdout);
        exact = exact && f.cli.exact && f.picocom.exact && f.periodicExact;
        all.push_back(f);
    }
    GetFigures get;
    if (!getCase(kilobytes, get))
        return 1;
    printTable(all, get, qint64(kilobytes) * 1024);
    return exact && get.exact ? 0 : 1;
}
