// Command round trip with an instrument that answers at once (in memory): the time from
// writing "st" to SendCommand's return. With the program's 200 ms receive loop the wait for
// its next run dominates; with the loop run on every event pass what is left is the cost of
// the transaction, one event pass and the framing.
// Usage: bench_round_trip [commands at 200 ms]   (default 25)
#include "session/CommandTransaction.h"
#include "session/FileCapture.h"
#include "session/ReceiveLoop.h"
#include "testkit/PlainLinkStatus.h"
#include "testkit/SimulatedInstrument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
constexpr int kReceiveIntervalMs = 200;
constexpr int kFastCommands = 5000;

struct Figures {
    double minMs = 0;
    double medianMs = 0;
    double meanMs = 0;
    double maxMs = 0;
};

Figures summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    Figures f;
    f.minMs = ms.front();
    f.maxMs = ms.back();
    f.medianMs = ms[ms.size() / 2];
    double sum = 0;
    for (double m : ms)
        sum += m;
    f.meanMs = sum / double(ms.size());
    return f;
}

// The program's core on `port` with its receive loop every `intervalMs`.
struct Core {
    Core(CommPort &port, int intervalMs)
        : loop(state, port, capture, status), transaction(state, port, status)
    {
        status.SetStatus(StatusCode::Idle);
        timer1.setInterval(intervalMs);
        QObject::connect(&timer1, &QTimer::timeout, [this] { loop.run(); });
        timer1.start();
    }
    ProgramState state;
    PlainLinkStatus status;
    FileCapture capture{state};
    ReceiveLoop loop;
    CommandTransaction transaction;
    QTimer timer1;
};

// Runs `count` "st" commands, each after `phase()` ms of idling; the time of each in ms.
// False when a reply was not framed.
template <typename Phase>
bool roundTrips(Core &core, int count, Phase phase, std::vector<double> *ms)
{
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        const int idle = phase();
        if (idle > 0) {
            QEventLoop wait;
            QTimer::singleShot(idle, Qt::PreciseTimer, &wait, &QEventLoop::quit);
            wait.exec();
        }
        timer.start();
        const QByteArray reply = core.transaction.SendCommand("st\r", "st:", "\r", 1);
        ms->push_back(timer.nsecsElapsed() / 1e6);
        if (!reply.startsWith("st:"))
            return false;
    }
    return true;
}

void print(const char *what, const Figures &f)
{
    std::printf("  %s: min %.3f ms, median %.3f ms, mean %.3f ms, max %.3f ms\n", what, f.minMs,
                f.medianMs, f.meanMs, f.maxMs);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int slowCommands = argc > 1 ? std::atoi(argv[1]) : 25;

    SimulatedInstrument instrument;
    instrument.open();
    std::printf("round trip of SendCommand(\"st\\r\", \"st:\", \"\\r\", 1) with an instant "
                "instrument:\n");

    std::vector<double> slow;
    {
        Core core(instrument, kReceiveIntervalMs);
        // Commands come at random moments, as the operator's do, not just after a loop run.
        auto phase = [] { return int(QRandomGenerator::global()->bounded(kReceiveIntervalMs)); };
        if (!roundTrips(core, slowCommands, phase, &slow)) {
            std::fprintf(stderr, "no status reply\n");
            return 1;
        }
    }
    print("receive loop every 200 ms (Timer1)", summarise(slow));

    std::vector<double> fast;
    {
        Core core(instrument, 0);
        if (!roundTrips(
                core, kFastCommands, [] { return 0; }, &fast)) {
            std::fprintf(stderr, "no status reply\n");
            return 1;
        }
    }
    const Figures f = summarise(fast);
    print("receive loop on every event pass", f);
    std::printf("  framing and one pass: %.1f us a command (%d commands); floor: the next "
                "Timer1 run, 0-200 ms, mean 100 ms\n",
                f.meanMs * 1000, kFastCommands);
    return 0;
}
