// Start-up: the time from launching the console to its main window being on the screen, and
// the resident memory it then holds. Each run is a fresh process (this program started
// again with --child) building the whole program as orvantis-console does, over the
// simulator's pseudo-terminal and a first-run settings folder; the parent times it from
// QProcess::start to the child's report.
// Usage: bench_startup [runs]   (default 10)
#include "BenchSupport.h"
#include "ui/widgets/QtOperatorDialogs.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
const char kChildFlag[] = "--child";

// In the child: the program as main() builds it, without the connection search (its time is
// the line's, not the program's). Prints "shown <rss kB>" once the window is exposed.
int child(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useTemporarySettings(QString::fromLocal8Bit(qgetenv("ORVANTIS_BENCH_SETTINGS")));
    const PortTable ports = PortTable::fromSystem();
    QtCommPort comm(ports);
    QtOperatorDialogs dialogs;
    ConsoleBinding console(comm, ports, dialogs);
    dialogs.setOwner(&console.form);
    console.startUp(false);

    QTimer look;
    look.setInterval(1);
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWindow *window = console.form.windowHandle();
        if (!window || !window->isExposed())
            return;
        look.stop();
        std::printf("shown %ld\n", bench::rssKb());
        std::fflush(stdout);
        app.quit();
    });
    look.start();
    return app.exec();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], kChildFlag) == 0)
        return child(argc, argv);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    if (runs < 1) {
        std::fprintf(stderr, "usage: bench_startup [runs]\n");
        return 2;
    }
    SimProcess sim;
    if (!bench::startSim(sim, {}))
        return 1;

    std::vector<double> times;
    std::vector<double> rss;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir settings;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVANTIS_PORTS"), sim.devicePath());
        environment.insert(QStringLiteral("ORVANTIS_BENCH_SETTINGS"), settings.path());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        QElapsedTimer clock;
        clock.start();
        process.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildFlag)});
        QByteArray output;
        while (!output.contains('\n') && process.waitForReadyRead(10000))
            output += process.readAllStandardOutput();
        const double ms = clock.nsecsElapsed() / 1e6;
        process.waitForFinished(10000);
        if (!output.startsWith("shown ")) {
            std::fprintf(stderr, "run %d: the window was not shown: %s\n", run + 1,
                         process.readAllStandardError().constData());
            return 1;
        }
        times.push_back(ms);
        rss.push_back(output.mid(6).trimmed().toDouble());
    }
    std::printf("start-up to a shown main window (%d runs): median %.1f ms, fastest %.1f ms, "
                "slowest %.1f ms\n",
                runs, median(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));
    std::printf("resident memory with the window shown: median %.0f kB\n", median(rss));
    return 0;
}
