// CPU time used by a command that waits out its time-out with a silent instrument.
// Usage: bench_idle_wait [seconds]   (default 10)
#include "BenchSupport.h"
#include "MemoryInstrumentLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const float seconds = argc > 1 ? std::atof(argv[1]) : 10.0f;

    MemoryInstrumentLink link;
    // The program's own receive interval, not the tests' shortened one.
    link.timer1.setInterval(200);

    const double cpuBefore = bench::cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    link.transaction.SendCommand("st\r", "st:", "\r", seconds);
    const double wallSeconds = wall.elapsed() / 1000.0;
    const double cpu = bench::cpuSeconds() - cpuBefore;
    std::printf("idle wait: %.2f s wall, %.3f s CPU (%.2f%% of one core)\n", wallSeconds, cpu,
                100.0 * cpu / wallSeconds);
    return 0;
}
