// CPU the console uses when nothing is happening: connected to orvantis-sim with status
// polling on (the main window's own timers, an instrument still settling so it is asked
// every 3 s), and a command that waits out its time-out on a silent instrument.
// Resident memory is reported after the connected stretch.
// Usage: bench_idle [seconds]   (default 60, for each of the two)
#include "BenchSupport.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/SessionRig.h"

#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>
#include <cstdio>

namespace
{
struct Figures {
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double percent() const { return wallSeconds > 0 ? 100.0 * cpuSeconds / wallSeconds : 0; }
};

template <typename Work> Figures measure(Work work)
{
    const double cpuBefore = bench::cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    work();
    return {wall.nsecsElapsed() / 1e9, bench::cpuSeconds() - cpuBefore};
}

bool connectedAndPolling(double seconds)
{
    QTemporaryDir dir;
    useTemporarySettings(dir.filePath(QStringLiteral("settings")));
    const QString heard = dir.filePath(QStringLiteral("received.bin"));
    SimProcess sim;
    if (!bench::startSim(sim, {QStringLiteral("--settle-seconds"), QStringLiteral("100000"),
                               QStringLiteral("--record-input"), heard}))
        return false;
    bench::SimConsole console(sim.devicePath());
    if (!console.connect(9600)) {
        std::fprintf(stderr, "cannot open the simulator's line\n");
        return false;
    }
    console.form().controls().StatusCheck->setChecked(true);
    console.form().show();
    bench::runEventsFor(1000); // the first answers and the window's first paint
    const long rssBefore = bench::rssKb();
    const int pollsBefore = bench::readAll(heard).count("st\r");

    const Figures idle = measure([&] { bench::runEventsFor(int(seconds * 1000)); });
    const int polls = bench::readAll(heard).count("st\r") - pollsBefore;
    const int code = int(console.session().Status());
    std::printf("connected and polling: %.1f s wall, %.3f s CPU (%.2f%% of one core), "
                "%d status polls, status %d\n",
                idle.wallSeconds, idle.cpuSeconds, idle.percent(), polls, code);
    std::printf("resident memory: %ld kB after connecting, %ld kB after %.0f s (peak %ld kB)\n",
                rssBefore, bench::rssKb(), seconds, bench::peakRssKb());
    // Every 3 s while the instrument settles; the last poll may still be on its way.
    const int expected = int(seconds / 3.0);
    if (code != 1 || polls < expected - 1) {
        std::fprintf(stderr, "polling stopped: %d polls, %d expected, status %d\n", polls, expected,
                     code);
        return false;
    }
    return true;
}

void silentWait(double seconds)
{
    MemoryCommPort port;
    SessionRig rig(port);
    rig.open();
    const Figures wait =
        measure([&] { rig.line().SendCommand("st\r", "st:", "\r", float(seconds)); });
    std::printf("waiting out a time-out: %.1f s wall, %.3f s CPU (%.2f%% of one core)\n",
                wait.wallSeconds, wait.cpuSeconds, wait.percent());
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: bench_idle [seconds]\n");
        return 2;
    }
    const bool polled = connectedAndPolling(seconds);
    silentWait(seconds);
    return polled ? 0 : 1;
}
