// Receive-loop throughput with a data file open: how many bytes per second one core can
// take from the port into ReceiveBuffer, the data file and the terminal text.
// Usage: bench_receive_throughput [megabytes]   (default 64)
#include "features/terminal/TerminalText.h"
#include "session/ReceiveLoop.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/PlainLinkStatus.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int megabytes = argc > 1 ? std::atoi(argv[1]) : 64;

    MemoryCommPort port;
    port.open();
    // The loop alone, run by the benchmark itself, one run per 200 ms worth of line.
    ProgramState state;
    PlainLinkStatus status;
    status.SetStatus(StatusCode::Idle);
    FileCapture capture(state);
    ReceiveLoop loop(state, port, capture, status);
    TerminalText terminal;
    loop.setDisplaySink([&](const QString &text) { terminal.append(text); });
    int statusLines = 0;
    loop.setStatusLineSink([&](const QByteArray &) { ++statusLines; });

    QTemporaryDir dir;
    state.dataFile.open(dir.filePath("bench.raw"));

    // Sample-like traffic: lines of numbers with a status line now and then.
    QByteArray chunk;
    for (int i = 0; chunk.size() < 2304; ++i)
        chunk += i % 20 == 0 ? QByteArray("st: 1,0.2,1,0,21.4\r\n")
                             : QByteArray("  412.5, 0.018734, 0.018702, 1023\r\n");

    const qint64 total = qint64(megabytes) * 1024 * 1024;
    qint64 done = 0;
    QElapsedTimer timer;
    timer.start();
    while (done < total) {
        port.feed(chunk);
        loop.run(); // one run takes what 200 ms bring at 115200 baud
        done += chunk.size();
    }
    state.dataFile.close();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double rate = done / seconds;
    std::printf("receive loop: %.1f MB in %.2f s = %.1f MB/s (%.0fx the 11520 bytes/s of "
                "115200 baud); %d status lines\n",
                done / 1048576.0, seconds, rate / 1048576.0, rate / 11520.0, statusLines);
    return 0;
}
