// The whole console against orvantis-sim at 115200 baud, paced at the line rate, with
// periodic sampling keeping the line full: bytes per second taken in against the line's
// 11520, the console's CPU use, the largest event-loop stall, and whether the data file
// holds exactly what the instrument sent.
// Usage: bench_line_rate_cpu [seconds]   (default 20)
#include "BenchSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

namespace
{
constexpr int kBaud = 115200;
// Samples are asked for a little faster than the line carries them, so it never idles.
constexpr double kOversubscribe = 1.03;
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;

    QTemporaryDir dir;
    useTemporarySettings(dir.filePath(QStringLiteral("settings")));
    const QString record = dir.filePath(QStringLiteral("line.bin"));
    SimProcess sim;
    if (!bench::startSim(sim, {QStringLiteral("--baud"), QString::number(kBaud),
                               QStringLiteral("--stable"), QStringLiteral("--spectrum-ms"),
                               QStringLiteral("1"), QStringLiteral("--record"), record}))
        return 1;

    bench::SimConsole console(sim.devicePath());
    if (!console.connect(kBaud) ||
        console.session().line().SendCommand("st\r", "st:", "\r", 2).isEmpty()) {
        std::fprintf(stderr, "no answer from the simulator at %d baud\n", kBaud);
        return 1;
    }
    console.waitForQuietLine(0.3f);
    const MainFormControls &controls = console.form().controls();

    // One sample sets the period that keeps the line just full.
    const int beforeSample = console.session().byteCount();
    if (!bench::SimConsole::click(controls.SampleOnceButton))
        return 1;
    console.waitForQuietLine(0.3f);
    const int sampleBytes = console.session().byteCount() - beforeSample;
    const double period = sampleBytes / bench::lineBytesPerSecond(kBaud) / kOversubscribe;
    controls.SampleDelayText->setText(QString::number(period, 'f', 3));

    const qint64 recordBefore = bench::fileSize(record);
    const QString dataPath = dir.filePath(QStringLiteral("line.raw"));
    if (!console.console.session.dataFile().open(dataPath)) {
        std::fprintf(stderr, "cannot open the data file\n");
        return 1;
    }
    if (!bench::SimConsole::click(controls.StartSamplingButton))
        return 1;

    bench::StallMeter stalls;
    const int bytesBefore = console.session().byteCount();
    const double cpuBefore = bench::cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    bench::runEventsFor(int(seconds * 1000));
    const double wallSeconds = wall.nsecsElapsed() / 1e9;
    const double cpu = bench::cpuSeconds() - cpuBefore;
    const int received = console.session().byteCount() - bytesBefore;
    const double largestStall = stalls.largestMs();

    bench::SimConsole::click(controls.StopSamplingButton);
    console.waitForQuietLine(1.0f);
    console.console.session.dataFile().close();
    const QByteArray filed = bench::readAll(dataPath);
    const QByteArray sent = bench::readAll(record).mid(recordBefore);
    const bool equal = filed == sent && !filed.isEmpty();

    const double rate = received / wallSeconds;
    const double floor = bench::lineBytesPerSecond(kBaud);
    std::printf("line rate %d baud, periodic sampling every %.3f s (%d-byte samples):\n", kBaud,
                period, sampleBytes);
    std::printf("  received %d bytes in %.2f s = %.0f B/s (%.1f%% of the %.0f B/s line)\n",
                received, wallSeconds, rate, 100.0 * rate / floor, floor);
    std::printf("  console CPU %.3f s = %.2f%% of one core; largest event-loop stall %.1f ms\n",
                cpu, 100.0 * cpu / wallSeconds, largestStall);
    std::printf("  data file %lld bytes, line %lld bytes: %s\n", qlonglong(filed.size()),
                qlonglong(sent.size()), equal ? "byte-equal" : "DIFFERENT");
    if (!console.dialogs.errors.isEmpty())
        std::printf("  operator saw: %s\n", qPrintable(console.dialogs.errors.join("; ")));
    return equal ? 0 : 1;
}
