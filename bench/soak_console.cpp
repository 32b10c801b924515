// A long session of the whole console against orvantis-sim at 115200 baud, paced at the line
// rate. Each round: periodic sampling into a fresh data file, then idling with status
// polling (the instrument starts unsettled, so early rounds poll every 3 s), then a file
// download. At the end: bytes received against bytes filed (and each
// data file against what the instrument sent), downloads checked byte for byte, CPU, memory
// at the start and the end, and the largest event-loop stall.
// Usage: soak_console [minutes]   (default 3; run through bench/soak)
#include "BenchSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace
{
constexpr int kBaud = 115200;
constexpr int kSamplingSeconds = 30;
// Longer than the 30 s poll interval of a settled instrument, so every round polls.
constexpr int kPollingSeconds = 32;
const QString kPeriod = QStringLiteral("0.3");
constexpr int kDownloadBytes = 65536;
const QString kName = QStringLiteral("SOAK.BIN");

struct Totals {
    int rounds = 0;
    qint64 received = 0;
    qint64 filed = 0;
    int filesEqual = 0;
    int polls = 0;
    int downloadsExact = 0;
};
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double minutes = argc > 1 ? std::atof(argv[1]) : 3.0;

    QTemporaryDir dir;
    useTemporarySettings(dir.filePath(QStringLiteral("settings")));
    const QString disk = dir.filePath(QStringLiteral("disk"));
    const QString got = dir.filePath(QStringLiteral("got"));
    QDir().mkpath(disk);
    QDir().mkpath(got);
    QByteArray content(kDownloadBytes, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char &c : content)
        c = char(random.bounded(256));
    QFile source(QDir(disk).filePath(kName));
    if (!source.open(QIODevice::WriteOnly) || source.write(content) != content.size())
        return 1;
    source.close();

    const QString record = dir.filePath(QStringLiteral("line.bin"));
    SimProcess sim;
    if (!bench::startSim(sim, {QStringLiteral("--baud"), QString::number(kBaud),
                               QStringLiteral("--disk"), disk, QStringLiteral("--record"), record}))
        return 1;
    bench::SimConsole console(sim.devicePath());
    if (!console.connect(kBaud) ||
        console.session().line().SendCommand("st\r", "st:", "\r", 2).isEmpty()) {
        std::fprintf(stderr, "no answer from the simulator at %d baud\n", kBaud);
        return 1;
    }
    MainForm &form = console.form();
    const MainFormControls &controls = form.controls();
    controls.StatusCheck->setChecked(true);
    controls.SampleDelayText->setText(kPeriod);
    const auto download = console.makeDownload();
    Totals totals;
    bool polling = false;
    QObject::connect(&console.session(), &InstrumentSession::pollDue, [&] {
        if (polling)
            ++totals.polls;
    });
    console.waitForQuietLine(0.3f);

    std::printf("soak: %.1f min at %d baud; each round samples every %s s for %d s, polls "
                "status for %d s, downloads %d bytes\n",
                minutes, kBaud, qPrintable(kPeriod), kSamplingSeconds, kPollingSeconds,
                kDownloadBytes);
    std::fflush(stdout);
    const long rssStart = bench::rssKb();
    long rssAfterFirst = 0;
    bench::StallMeter stalls;
    const double cpuStart = bench::cpuSeconds();
    QElapsedTimer wall;
    wall.start();

    while (wall.elapsed() < qint64(minutes * 60000)) {
        ++totals.rounds;
        const qint64 recordBefore = bench::fileSize(record);
        const QString dataPath = dir.filePath(QStringLiteral("round.raw"));
        if (!console.console.session.dataFile().open(dataPath))
            return 1;
        const int countBefore = console.session().byteCount();
        if (!bench::SimConsole::click(controls.StartSamplingButton))
            return 1;
        bench::runEventsFor(kSamplingSeconds * 1000);
        bench::SimConsole::click(controls.StopSamplingButton);
        console.waitForQuietLine(1.0f);
        const qint64 received = console.session().byteCount() - countBefore;
        console.console.session.dataFile().close();
        const QByteArray filed = bench::readAll(dataPath);
        const bool equal = filed == bench::readFrom(record, recordBefore);
        totals.received += received;
        totals.filed += filed.size();
        totals.filesEqual += equal ? 1 : 0;
        QFile::remove(dataPath);

        polling = true;
        bench::runEventsFor(kPollingSeconds * 1000);
        polling = false;

        const QString target = QDir(got).filePath(kName);
        const bool fetched = download->DownloadFile(target, kDownloadBytes).done();
        const bool exact = fetched && bench::readAll(target) == content;
        totals.downloadsExact += exact ? 1 : 0;
        QFile::remove(target);

        if (totals.rounds == 1)
            rssAfterFirst = bench::rssKb();
        std::printf("  round %d at %.0f s: received %lld, filed %lld bytes (%s); download %s; "
                    "RSS %ld kB\n",
                    totals.rounds, wall.elapsed() / 1000.0, qlonglong(received),
                    qlonglong(filed.size()), equal ? "equal to the line" : "DIFFERENT",
                    exact ? "byte-exact" : "FAILED", bench::rssKb());
        std::fflush(stdout);
    }

    const double seconds = wall.elapsed() / 1000.0;
    const double cpu = bench::cpuSeconds() - cpuStart;
    const bool good = totals.received == totals.filed && totals.filesEqual == totals.rounds &&
                      totals.downloadsExact == totals.rounds;
    std::printf("soak result after %.1f s, %d rounds:\n", seconds, totals.rounds);
    std::printf("  bytes received %lld, bytes filed %lld; data files equal to the line: %d of "
                "%d\n",
                qlonglong(totals.received), qlonglong(totals.filed), totals.filesEqual,
                totals.rounds);
    std::printf("  status polls %d; downloads byte-exact: %d of %d\n", totals.polls,
                totals.downloadsExact, totals.rounds);
    std::printf("  console CPU %.2f s = %.2f%% of one core\n", cpu, 100.0 * cpu / seconds);
    std::printf("  RSS at start %ld kB, after round 1 %ld kB, at end %ld kB (peak %ld kB)\n",
                rssStart, rssAfterFirst, bench::rssKb(), bench::peakRssKb());
    std::printf("  largest event-loop stall %.1f ms\n", stalls.largestMs());
    std::printf("  operator messages: %s\n", console.dialogs.errors.isEmpty()
                                                 ? "none"
                                                 : qPrintable(console.dialogs.errors.join("; ")));
    return good ? 0 : 1;
}
