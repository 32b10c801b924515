// How soon a lost connection is back: the instrument session (no windows) connected to
// orvantis-sim behind a link, which is unplugged for a second, several times. Measured from
// the moment the device is back behind the link to the session saying it reconnected (the
// port reopened and the instrument identified). Median, fastest and slowest.
#include "link/QtCommPort.h"
#include "session/InstrumentSession.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/SimProcess.h"
#include "testkit/TestSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir dir;
    useTemporarySettings(dir.filePath(QStringLiteral("settings")));
    const QString link = dir.filePath(QStringLiteral("orvantis"));
    SimProcess sim;
    if (!sim.start({QStringLiteral("--link"), link, QStringLiteral("--stable")})) {
        std::fprintf(stderr, "orvantis-sim: %s\n", qPrintable(sim.errorString()));
        return 1;
    }
    const PortTable table({link});
    QtCommPort port(table);
    ScriptedOperator dialogs;
    InstrumentSession session(port, table, dialogs);
    if (!session.SearchForInstrument()) {
        std::fprintf(stderr, "the search did not find the simulator\n");
        return 1;
    }

    std::vector<double> ms;
    for (int round = 0; round < rounds; ++round) {
        if (!sim.unplug(1000)) {
            std::fprintf(stderr, "the simulator did not unplug\n");
            return 1;
        }
        // The link is looked for every 2 ms while the session goes on by itself.
        QElapsedTimer sinceBack;
        QEventLoop wait;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (!sinceBack.isValid() && QFileInfo::exists(link))
                sinceBack.start();
        });
        look.start(2);
        QTimer::singleShot(20000, &wait, &QEventLoop::quit);
        QObject::connect(&session, &InstrumentSession::reconnected, &wait, &QEventLoop::quit);
        wait.exec();
        look.stop();
        if (!sinceBack.isValid()) {
            std::fprintf(stderr, "the link did not come back in round %d\n", round + 1);
            return 1;
        }
        if (session.reconnecting() || session.Status() != StatusCode::Idle) {
            std::fprintf(stderr, "no reconnection in round %d\n", round + 1);
            return 1;
        }
        ms.push_back(double(sinceBack.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("reconnection after the device is back (%d rounds): median %.0f ms, fastest "
                "%.0f ms, slowest %.0f ms\n",
                rounds, ms[ms.size() / 2], ms.front(), ms.back());
    return dialogs.errors.isEmpty() ? 0 : 1;
}
