// A file download at 115200 baud through FileDownload, against orvantis-sim paced at the line
// rate with the file in its flash-disk folder: time against the line's floor of size / 11520
// seconds, CPU, the largest event-loop stall, and a byte-for-byte check.
// Usage: bench_download [kilobytes]   (default 1024)
#include "BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QRandomGenerator>
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
    // Every byte value, ETX and Ctrl-Z included: the capture is counted, not framed.
    QByteArray content(kilobytes * 1024, Qt::Uninitialized);
    QRandomGenerator random(2024);
    for (char &c : content)
        c = char(random.bounded(256));
    QFile source(QDir(disk).filePath(kName));
    if (!source.open(QIODevice::WriteOnly) || source.write(content) != content.size())
        return 1;
    source.close();

    SimProcess sim;
    if (!bench::startSim(sim, {QStringLiteral("--baud"), QString::number(kBaud),
                               QStringLiteral("--stable"), QStringLiteral("--disk"), disk}))
        return 1;
    bench::SimConsole console(sim.devicePath());
    if (!console.connect(kBaud) ||
        console.session().line().SendCommand("st\r", "st:", "\r", 2).isEmpty()) {
        std::fprintf(stderr, "no answer from the simulator at %d baud\n", kBaud);
        return 1;
    }
    console.waitForQuietLine(0.3f);

    const auto download = console.makeDownload();

    // The instrument's file is named by the target's own name.
    const QString got = dir.filePath(QStringLiteral("got"));
    QDir().mkpath(got);
    const QString target = QDir(got).filePath(kName);
    bench::StallMeter stalls;
    const double cpuBefore = bench::cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    const bool done = download->DownloadFile(target, int(content.size()));
    const double seconds = wall.nsecsElapsed() / 1e9;
    const double cpu = bench::cpuSeconds() - cpuBefore;
    const bool equal = bench::readAll(target) == content;

    const double floor = content.size() / bench::lineBytesPerSecond(kBaud);
    std::printf("download of %lld bytes at %d baud:\n", qlonglong(content.size()), kBaud);
    std::printf("  %.2f s against the floor of %.2f s (size / 11520) = %.3fx; %.2f s with the "
                "instrument's %.1f s start delay = %.3fx\n",
                seconds, floor, seconds / floor, floor + kTypeDelaySeconds, kTypeDelaySeconds,
                seconds / (floor + kTypeDelaySeconds));
    std::printf("  %.0f B/s; console CPU %.3f s = %.2f%% of one core; largest event-loop stall "
                "%.1f ms\n",
                content.size() / seconds, cpu, 100.0 * cpu / seconds, stalls.largestMs());
    std::printf("  completed: %s; file %s\n", done ? "yes" : "NO",
                equal ? "byte-exact" : "DIFFERENT");
    if (!console.dialogs.errors.isEmpty())
        std::printf("  operator saw: %s\n", qPrintable(console.dialogs.errors.join("; ")));
    return done && equal ? 0 : 1;
}
