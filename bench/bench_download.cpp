// A file download at 115200 baud through FileDownload, against orvantis-sim paced at the line
// rate with the file in its flash-disk folder: time against the line's floor of size / 11520
// seconds, CPU, the largest event-loop stall, and a byte-for-byte check.
// Usage: bench_download [kilobytes]   (default 1024)
#include "BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace
{
constexpr int kBaud = 115200;
// The console's "type" command asks the instrument to wait this long before streaming.
constexpr double kTypeDelaySeconds = 0.3;
const QString kName = QStringLiteral("BENCH.BIN");
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int kilobytes = argc > 1 ? std::atoi(argv[1]) : 1024;

    QTemporaryDir dir;
    useTemporarySettings(dir.filePath(QStringLiteral("settings")));
    const QString disk = dir.filePath(QStringLiteral("disk"));
    QDir().mkpath(disk);
    const QByteArray content = bench::randomBytes(kilobytes * 1024);
    QFile source(QDir(disk).filePath(kName));
    if (!source.open(QIODevice::WriteOnly) || source.write(content) != content.size())
        return 1;
    source.close();

    SimProcess sim;
    if (!bench::startSim(sim, {QStringLiteral("--baud"), QString::number(kBaud),
                               QStringLiteral("--stable"), QStringLiteral("--disk"), disk}))
        return 1;
    bench::SimConsole console(sim.devicePath());
    const QString got = dir.filePath(QStringLiteral("got"));
    QDir().mkpath(got);
    bench::DownloadFigures figures;
    if (!bench::timedDownload(console, kBaud, QDir(got).filePath(kName), content, figures))
        return 1;

    const double seconds = figures.seconds;
    const double floor = content.size() / bench::lineBytesPerSecond(kBaud);
    std::printf("download of %lld bytes at %d baud:\n", qlonglong(content.size()), kBaud);
    std::printf("  %.2f s against the floor of %.2f s (size / 11520) = %.3fx; %.2f s with the "
                "instrument's %.1f s start delay = %.3fx\n",
                seconds, floor, seconds / floor, floor + kTypeDelaySeconds, kTypeDelaySeconds,
                seconds / (floor + kTypeDelaySeconds));
    std::printf("  %.0f B/s; console CPU %.3f s = %.2f%% of one core; largest event-loop stall "
                "%.1f ms\n",
                content.size() / seconds, figures.cpuSeconds, 100.0 * figures.cpuSeconds / seconds,
                figures.largestStallMs);
    std::printf("  completed: %s; file %s\n", figures.completed ? "yes" : "NO",
                figures.exact ? "byte-exact" : "DIFFERENT");
    if (!console.dialogs.errors.isEmpty())
        std::printf("  operator saw: %s\n", qPrintable(console.dialogs.errors.join("; ")));
    return figures.completed && figures.exact ? 0 : 1;
}
