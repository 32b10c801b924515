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
#include "LineConsumer.h"

#include <QApplication>
#include <QCheckBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

namespace
{
using namespace bench;
constexpr qint64 kLineRateBytes = 200000;
constexpr qint64 kBurstBytes = 2000000;

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
            !console.console.session.dataFile().isOpen())
            return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

struct Figures {
    StreamCase lineRate, burst, afterBurst;
    // The console with its terminal window open; picocom shows the same as lineRate.
    StreamCase lineRateTerminal;
    double idleCpu = 0;
    double idleWakeupsPerSecond = 0;
    long peakBeforeBurstKb = 0;
    long peakAfterBurstKb = 0;
};

bool measure(Kind kind, int idleSeconds, Figures &f)
{
    {
        QTemporaryDir folder;
        LineConsumer session(kind, folder.path(), true);
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
        LineConsumer session(kind, folder.path(), true, true);
        if (!session.start() || !session.stream(kLineRateBytes, false, f.lineRateTerminal))
            return false;
    } else {
        f.lineRateTerminal = f.lineRate;
    }
    QTemporaryDir folder;
    LineConsumer session(kind, folder.path(), false);
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
    benchClock();
    std::printf("side by side at %d baud, %d runs, idle %d s\n", kSideBySideBaud, runs,
                idleSeconds);
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
