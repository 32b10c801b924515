// The same file download at 115200 baud twice, against orvantis-sim paced at the line rate:
// once over its pty as a local port, once over "rfc2217://" through a real ser2net in front
// of the pty (Telnet, the rate set on the far port, 0xFF escaped both ways). Times, their
// ratio, CPU, the largest event-loop stall, and a byte-for-byte check of each.
// Usage: bench_network_download [kilobytes]   (default 1024)
#include "BenchSupport.h"
#include "testkit/Ser2NetProcess.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace
{
constexpr int kBaud = 115200;
const QString kName = QStringLiteral("BENCH.BIN");

// One download from a fresh simulator, reached directly or through ser2net. False when
// either could not be started.
bool downloadOnce(const QString &folder, const QByteArray &content, bool network,
                  bench::DownloadFigures &figures, QStringList &errors)
{
    const QString disk = QDir(folder).filePath(QStringLiteral("disk"));
    QDir().mkpath(disk);
    QFile source(QDir(disk).filePath(kName));
    if (!source.open(QIODevice::WriteOnly) || source.write(content) != content.size())
        return false;
    source.close();
    SimProcess sim;
    if (!bench::startSim(sim, {QStringLiteral("--baud"), QString::number(kBaud),
                               QStringLiteral("--stable"), QStringLiteral("--disk"), disk}))
        return false;
    Ser2NetProcess ser2net;
    if (network && !ser2net.start(Ser2NetProcess::Accepter::Rfc2217, sim.devicePath(), 9600)) {
        std::fprintf(stderr, "cannot start ser2net: %s\n", qPrintable(ser2net.errorString()));
        return false;
    }
    bench::SimConsole console(network ? ser2net.address() : sim.devicePath());
    const QString got = QDir(folder).filePath(QStringLiteral("got"));
    QDir().mkpath(got);
    if (!bench::timedDownload(console, kBaud, QDir(got).filePath(kName), content, figures))
        return false;
    errors = console.dialogs.errors;
    return true;
}

void report(const char *how, const bench::DownloadFigures &figures, qsizetype size,
            const QStringList &errors)
{
    std::printf("  %-28s %.2f s, %.0f B/s; console CPU %.3f s = %.2f%% of one core; largest "
                "event-loop stall %.1f ms; completed: %s; file %s\n",
                how, figures.seconds, size / figures.seconds, figures.cpuSeconds,
                100.0 * figures.cpuSeconds / figures.seconds, figures.largestStallMs,
                figures.completed ? "yes" : "NO", figures.exact ? "byte-exact" : "DIFFERENT");
    if (!errors.isEmpty())
        std::printf("  operator saw: %s\n", qPrintable(errors.join("; ")));
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int kilobytes = argc > 1 ? std::atoi(argv[1]) : 1024;

    QTemporaryDir dir;
    useTemporarySettings(dir.filePath(QStringLiteral("settings")));
    const QByteArray content = bench::randomBytes(kilobytes * 1024);
    bench::DownloadFigures local;
    bench::DownloadFigures network;
    QStringList localErrors;
    QStringList networkErrors;
    if (!downloadOnce(dir.filePath(QStringLiteral("local")), content, false, local, localErrors) ||
        !downloadOnce(dir.filePath(QStringLiteral("network")), content, true, network,
                      networkErrors))
        return 1;

    std::printf("download of %lld bytes at %d baud:\n", qlonglong(content.size()), kBaud);
    report("local pty:", local, content.size(), localErrors);
    report("rfc2217:// through ser2net:", network, content.size(), networkErrors);
    std::printf("  rfc2217:// / local = %.4f (%+.2f%%)\n", network.seconds / local.seconds,
                100.0 * (network.seconds / local.seconds - 1.0));
    const bool good = local.completed && local.exact && network.completed && network.exact;
    return good ? 0 : 1;
}
