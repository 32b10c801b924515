// CPU time used by a command that waits out its time-out with a silent instrument.
// Usage: bench_idle_wait [seconds]   (default 10)
#include "core/CommandTransaction.h"
#include "core/FileCapture.h"
#include "core/MemoryCommPort.h"
#include "core/ReceiveLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

static double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const float seconds = argc > 1 ? std::atof(argv[1]) : 10.0f;

    ProgramState state;
    MemoryCommPort port;
    port.open();
    PlainLinkStatus status;
    status.SetStatus(LinkStatus::Idle);
    FileCapture capture(state);
    ReceiveLoop loop(state, port, capture, status);
    CommandTransaction transaction(state, port, status);
    QTimer timer1;
    timer1.setInterval(200);
    QObject::connect(&timer1, &QTimer::timeout, [&] { loop.run(); });
    timer1.start();

    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    transaction.SendCommand("st\r", "st:", "\r", seconds);
    const double wallSeconds = wall.elapsed() / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("idle wait: %.2f s wall, %.3f s CPU (%.2f%% of one core)\n", wallSeconds, cpu,
                100.0 * cpu / wallSeconds);
    return 0;
}
