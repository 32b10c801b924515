// A night with outages: periodic sampling every second for MINUTES, through the whole
// console and through `orvantis run` at the same time, each against an orvantis-sim of its own
// at 57600 baud (paced) behind a link that is unplugged every GAP_MIN to GAP_MAX seconds for
// 1 to 20 s at random, as a cable on a rolling deck. At the end, for each: the data file
// against every byte the simulator sent while the line was up (its --record, from which what
// the line did not take is taken back), the samples filed (none twice, none out of order),
// the outages seen against the unplugs, and open file descriptors and memory at the end
// against the start.
// Usage: soak_outages [MINUTES [GAP_MIN GAP_MAX]]   (default 60, 180, 360; via bench/soak)
#include "BenchSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <unistd.h>

namespace
{
constexpr int kBaud = 57600;
constexpr int kShortestUnplugMs = 1000;
constexpr int kLongestUnplugMs = 20000;
// No unplug this close to the end: both runs end on a line that is up.
constexpr int kQuietEndMs = 40000;

int openDescriptors(qint64 pid)
{
    return int(QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::NoDotAndDotDot |
                                                                      QDir::System)
                   .size());
}

long rssOf(qint64 pid)
{
    return bench::statusField(QStringLiteral("/proc/%1/status").arg(pid), "VmRSS:");
}

// User and system time a process has used so far, in seconds (-1 when it cannot be read).
double cpuOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Past the command's name, whatever it holds: fields 14 and 15 are the 12th and 13th.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return (fields[11].toDouble() + fields[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
}

// One simulator behind its link, unplugged now and then by a timer of its own.
struct Lane {
    explicit Lane(const char *laneName) : name(laneName) {}
    const char *name;
    SimProcess sim;
    QString link;
    QString record;
    QString data;
    QTimer unplugs;
    int unplugged = 0;
    qint64 downMs = 0;
    int fdStart = -1, fdEnd = -1;
    long rssStart = -1, rssEnd = -1;
};

// The data file against the simulator's record: the file must be the record's bytes from
// where it begins, exactly; `after` is what the record holds beyond it.
bool sameAsLine(const QByteArray &file, const QByteArray &record, qint64 *after)
{
    const qsizetype at = record.indexOf(file.left(64));
    *after = at < 0 ? -1 : record.size() - at - file.size();
    return at >= 0 && record.mid(at, file.size()) == file;
}

// The sample numbers the simulator wrote into the file, and how many came twice or out of order.
int samplesOutOfOrder(const QByteArray &file, int *samples)
{
    static const QRegularExpression header(QStringLiteral("sample,(\\d+),"));
    int bad = 0;
    qint64 last = 0;
    *samples = 0;
    for (auto it = header.globalMatch(QString::fromLatin1(file)); it.hasNext();) {
        const qint64 number = it.next().captured(1).toLongLong();
        bad += number <= last ? 1 : 0;
        last = number;
        ++*samples;
    }
    return bad;
}

// The samples the file holds whole: pieces up to a prompt with one header and its 32 lines.
int wholeSamples(const QByteArray &file)
{
    int whole = 0;
    for (const QByteArray &piece : file.split('>')) {
        const qsizetype header = piece.indexOf("sample,");
        whole += header >= 0 && piece.count("sample,") == 1 && piece.endsWith("\r\nOrvantis") &&
                 piece.mid(header).count("\r\n") == 33;
    }
    return whole;
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double minutes = argc > 1 ? std::atof(argv[1]) : 60.0;
    const int gapMin = argc > 3 ? std::atoi(argv[2]) : 180;
    const int gapMax = argc > 3 ? std::atoi(argv[3]) : 360;
    const qint64 runMs = qint64(minutes * 60000);

    QTemporaryDir dir;
    useTemporarySettings(dir.filePath(QStringLiteral("settings")));
    QRandomGenerator random(quint32(QDateTime::currentMSecsSinceEpoch()));
    Lane lanes[2] = {Lane("console"), Lane("orvantis run")};
    for (Lane &lane : lanes) {
        const QString name = QString::fromLatin1(lane.name).section(' ', -1);
        lane.link = dir.filePath(name + QStringLiteral(".link"));
        lane.record = dir.filePath(name + QStringLiteral(".line"));
        lane.data = dir.filePath(name + QStringLiteral(".raw"));
        if (!bench::startSim(lane.sim, {"--baud", QString::number(kBaud), "--stable", "--link",
                                        lane.link, "--record", lane.record}))
            return 1;
    }
    QElapsedTimer wall;
    wall.start();
    for (Lane &lane : lanes) {
        lane.unplugs.setSingleShot(true);
        QObject::connect(&lane.unplugs, &QTimer::timeout, [&lane, &random, &wall, runMs, gapMin,
                                                           gapMax] {
            if (wall.elapsed() > runMs - kQuietEndMs)
                return;
            const int forMs = int(random.bounded(kShortestUnplugMs, kLongestUnplugMs + 1));
            if (lane.sim.unplug(forMs)) {
                ++lane.unplugged;
                lane.downMs += forMs;
                std::printf("  %6.0f s: %s's line unplugged for %.1f s\n", wall.elapsed() / 1000.0,
                            lane.name, forMs / 1000.0);
                std::fflush(stdout);
            }
            lane.unplugs.start(int(random.bounded(gapMin, gapMax + 1)) * 1000);
        });
        lane.unplugs.start(int(random.bounded(gapMin, gapMax + 1)) * 1000);
    }

    // The console, as the operator leaves it for the night: found by its search, a data file
    // open, "Start Periodic" every second.
    Lane &consoleLane = lanes[0];
    bench::SimConsole console(consoleLane.link);
    const MainFormControls &controls = console.form().controls();
    controls.StatusCheck->setChecked(false);
    if (!console.session().SearchForInstrument()) {
        std::fprintf(stderr, "the console did not find the simulator\n");
        return 1;
    }
    int consoleOutages = 0;
    QObject::connect(&console.session(), &InstrumentSession::connectionLost,
                     [&consoleOutages] { ++consoleOutages; });
    console.waitForQuietLine(0.5f);
    if (!console.session().dataFile().open(consoleLane.data))
        return 1;
    controls.SampleDelayText->setText(QStringLiteral("1"));
    if (!bench::SimConsole::click(controls.StartSamplingButton))
        return 1;
    consoleLane.fdStart = openDescriptors(QCoreApplication::applicationPid());
    consoleLane.rssStart = bench::rssKb();

    // orvantis run beside it, as a script would start it.
    Lane &cliLane = lanes[1];
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("ORVANTIS_PORTS"), cliLane.link);
    cli.setProcessEnvironment(env);
    int records = 0, outOfSequence = 0, cliOutages = 0;
    double cliCpu = -1;
    QJsonObject summary;
    QObject::connect(&cli, &QProcess::readyReadStandardOutput, [&] {
        while (cli.canReadLine()) {
            const QJsonObject record = QJsonDocument::fromJson(cli.readLine()).object();
            const QString kind = record.value(QStringLiteral("record")).toString();
            if (kind == QLatin1String("sample")) {
                outOfSequence += record.value(QStringLiteral("sample")).toInt() != ++records;
                if (records == 1) {
                    cliLane.fdStart = openDescriptors(cli.processId());
                    cliLane.rssStart = rssOf(cli.processId());
                } else {
                    cliLane.fdEnd = openDescriptors(cli.processId());
                    cliLane.rssEnd = rssOf(cli.processId());
                    cliCpu = cpuOf(cli.processId());
                }
            } else if (kind == QLatin1String("event")) {
                cliOutages += record.value(QStringLiteral("event")) == QLatin1String("connectionLost");
            } else {
                summary = record;
            }
        }
    });
    cli.start(QStringLiteral(ORVANTIS_CLI_PATH),
              {"--json", "--port", cliLane.link, "--rate", QString::number(kBaud), "run",
               "--period", "1", "--for", QString::number(runMs / 1000), "-o", cliLane.data});

    std::printf("soak with outages: %.1f min, sampling every 1 s at %d baud through the console "
                "and orvantis run; each line unplugged every %d-%d s for 1-20 s\n",
                minutes, kBaud, gapMin, gapMax);
    std::fflush(stdout);
    while (wall.elapsed() < runMs)
        bench::runEventsFor(1000);

    // The console's night ends on a line that is up: Stop, and what it still sends lands.
    while (console.session().reconnecting())
        bench::runEventsFor(200);
    controls.StopSamplingButton->click();
    console.waitForQuietLine(1.5f);
    consoleLane.fdEnd = openDescriptors(QCoreApplication::applicationPid());
    consoleLane.rssEnd = bench::rssKb();
    console.session().dataFile().close();
    if (!cli.waitForFinished(120000))
        cli.kill();
    const int cliStatus = cli.exitCode();

    bool good = cliStatus == 0 && outOfSequence == 0 &&
                summary.value(QStringLiteral("samples")).toInt() == records;
    std::printf("soak result after %.1f min:\n", wall.elapsed() / 60000.0);
    const int outages[2] = {consoleOutages, cliOutages};
    for (int i = 0; i < 2; ++i) {
        Lane &lane = lanes[i];
        const QByteArray file = bench::readAll(lane.data);
        qint64 after = 0;
        const bool same = sameAsLine(file, bench::readAll(lane.record), &after);
        int samples = 0;
        const int bad = samplesOutOfOrder(file, &samples);
        good = good && same && after == 0 && bad == 0 && outages[i] == lane.unplugged;
        std::printf("  %s: %d unplugs (%.0f s down), %d outages seen; file %lld bytes, %s the "
                    "line's bytes while up (%lld sent after it); %d samples filed (%d whole), "
                    "%d twice or out of order; open descriptors %d at start, %d at end; RSS %ld "
                    "kB at start, %ld kB at end\n",
                    lane.name, lane.unplugged, lane.downMs / 1000.0, outages[i],
                    qlonglong(file.size()), same ? "equal to" : "DIFFERENT from",
                    qlonglong(after), samples, wholeSamples(file), bad, lane.fdStart, lane.fdEnd,
                    lane.rssStart, lane.rssEnd);
    }
    std::printf("  orvantis run: exit %d; CPU %.2f s by its last sample (%.2f %% of one core); "
                "%d sample records (%d out of sequence), summary %s\n",
                cliStatus, cliCpu, 100.0 * cliCpu / (wall.elapsed() / 1000.0), records,
                outOfSequence,
                QJsonDocument(summary).toJson(QJsonDocument::Compact).constData());
    std::printf("  console messages: %s\n", console.dialogs.errors.isEmpty()
                                                ? "none"
                                                : qPrintable(console.dialogs.errors.join("; ")));
    return good ? 0 : 1;
}
