// The command line, orvantis, run as a process against orvantis-sim over a real
// pseudo-terminal: every command in both its forms (each JSON document's keys and types
// pinned), bad input refused with nothing sent, ports it cannot use, and a periodic run that
// signals at random moments, unplugs and detaches end truthfully. One simulator serves most
// cases; the simulator's record of what it heard shows what was sent.
#include "testkit/SimProcess.h"
#include "testkit/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace
{
constexpr int kRate = 57600;
const QByteArray kThreeEtx(3, '\x03');

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The value at a path of keys and indexes ("files/0/name") in a JSON document.
QJsonValue at(QJsonValue value, const QString &path)
{
    for (const QString &step : path.split(QLatin1Char('/'))) {
        bool isIndex = false;
        const int index = step.toInt(&isIndex);
        value = isIndex ? value.toArray().at(index) : value.toObject().value(step);
    }
    return value;
}

QString text(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? "true" : "false";
    return value.isDouble() ? QString::number(value.toDouble()) : value.toString();
}

// A document's keys and the types of their values, as "{bytes:n file:s}" (s string, n number,
// b bool, - null; an array as the shape of its first element).
QString shape(const QJsonValue &value)
{
    if (value.isObject()) {
        QStringList members;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            members << it.key() + ':' + shape(it.value());
        return '{' + members.join(' ') + '}';
    }
    if (value.isArray())
        return '[' + (value.toArray().isEmpty() ? QString() : shape(value.toArray().first())) + ']';
    return value.isString() ? "s" : value.isDouble() ? "n" : value.isBool() ? "b" : "-";
}

QJsonObject document(const QByteArray &json)
{
    QJsonParseError error{};
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &error);
    return error.error == QJsonParseError::NoError ? parsed.object() : QJsonObject();
}

// Whole samples in a run's file: pieces up to a prompt, but the stop's answer, holding one
// header and 32 lines of data. When `strict`, -1 if the file does not end at the prompt or
// a piece is neither that nor a line end (another answer).
int wholeSamples(const QByteArray &file, bool strict = true)
{
    const QList<QByteArray> pieces = file.split('>');
    if (strict && !file.endsWith("Orvantis>"))
        return -1;
    int samples = 0;
    for (const QByteArray &piece : pieces.mid(0, pieces.size() - 2)) {
        if (piece.count("sample,") == 1 && piece.endsWith("\r\nOrvantis") &&
            piece.mid(piece.indexOf("sample,")).count("\r\n") == 33)
            ++samples;
        else if (strict && piece != "\r\nOrvantis")
            return -1;
    }
    return samples;
}
} // namespace

class CliEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void usageErrorsAndRefusedNamesSendNothing_data();
    void usageErrorsAndRefusedNamesSendNothing();
    void everyReadingCommandInBothForms_data();
    void everyReadingCommandInBothForms();
    void sampleGoesToAFileOrStandardOutput();
    void runPrintsEachSampleAndStopsTheInstrument();
    void signalsAtRandomMomentsLeaveWholeSamples();
    void secondSignalEndsTheWaitForTheStop();
    void detachedRunSamplesOnUntilStop();
    void getIsByteExactAndRefusesUnlistedNames();
    void interruptedGetKeepsAGoodLocalFile();
    void putAndRmChangeTheDisk();
    void aListingCutBeforeItsEndIsRefused();
    void calCheckRunsWithYes();
    void portsItCannotUse_data();
    void portsItCannotUse();
    void aPortHeldByAnotherProcessIsLeftAlone();
    void lastConnectionFirstThenTheSearch();
    void failuresOnTheWayAreSaid_data();
    void failuresOnTheWayAreSaid();
    void baudChangesBothEndsAndIsKept();
    void runKeepsGoingAcrossAnUnplug_data();
    void runKeepsGoingAcrossAnUnplug();

private:
    // The child's settings and event log stay in `home` (the test's own folders when empty);
    // the system's ports are not searched.
    void start(QProcess &process, const QStringList &arguments, const QString &ports,
               const QString &home = QString());
    Outcome run(const QStringList &arguments, const QString &ports = QString(),
                const QString &home = QString());
    // What the shared simulator heard since `from` (a size of its record).
    QByteArray heardSince(qint64 from) const { return fileBytes(m_heard).mid(from); }
    // Every line of the event log the command line has written so far.
    QByteArray eventLog() const;
    qint64 heardSize() const { return QFileInfo(m_heard).size(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Paced: at the line's rate, a run's samples back to back.
    bool startSim(SimProcess &sim, const QStringList &arguments, bool paced = false);
    QTemporaryDir m_dir;
    QString m_disk;
    QString m_heard;
    QString m_sent;
    QByteArray m_data;
    SimProcess m_sim;
};

void CliEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_disk = path("disk");
    QVERIFY(QDir().mkpath(m_disk));
    // Every byte value, ETX and Ctrl-Z included: a download is counted, not framed.
    for (int i = 0; i < 5000; ++i)
        m_data.append(char((i * 7) % 256));
    QVERIFY(writeFile(QDir(m_disk).filePath("DATA.BIN"), m_data));
    QVERIFY(writeFile(QDir(m_disk).filePath("NOTES.TXT"), "first\r\nsecond\r\n"));
    m_heard = path("heard.bin");
    m_sent = path("sent.bin");
    QVERIFY(startSim(m_sim, {"--disk", m_disk, "--record-input", m_heard, "--record", m_sent}));
}

bool CliEndToEnd::startSim(SimProcess &sim, const QStringList &arguments, bool paced)
{
    const bool started = sim.start(
        QStringList{"--stable", "--baud", QString::number(kRate)} +
        (paced ? QStringList{"--spectrum-ms", "0"} : QStringList{"--fast", "--spectrum-ms", "10"}) +
        arguments);
    if (!started)
        qWarning("%s", qPrintable(sim.errorString()));
    return started;
}

void CliEndToEnd::start(QProcess &process, const QStringList &arguments, const QString &ports,
                        const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", home.isEmpty() ? path("config") : home);
    env.insert("XDG_DATA_HOME", home.isEmpty() ? path("data") : home);
    env.insert("ORVANTIS_PORTS", ports.isNull() ? m_sim.devicePath() : ports);
    process.setProcessEnvironment(env);
    process.start(ORVANTIS_CLI_PATH, arguments);
}

Outcome CliEndToEnd::run(const QStringList &arguments, const QString &ports, const QString &home)
{
    QProcess process;
    start(process, arguments, ports, home);
    Outcome outcome;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        outcome.err = "orvantis did not end within 60 s";
        return outcome;
    }
    outcome.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

QByteArray CliEndToEnd::eventLog() const
{
    QByteArray lines;
    QDirIterator days(path("data"), QDir::Files, QDirIterator::Subdirectories);
    while (days.hasNext())
        lines += fileBytes(days.next());
    return lines;
}

void CliEndToEnd::usageErrorsAndRefusedNamesSendNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    const QString missing = path("no-such-file.txt");
    const QString notes = path("notes.txt");
    QVERIFY(writeFile(notes, "a line\n"));
    const QString longName = path("my notes file.txt");
    QVERIFY(writeFile(longName, "a line\n"));
    // clang-format off
    QTest::newRow("unknown command") << QStringList{"frob", "--help"} << 2 << "\"frob\" is not a command";
    QTest::newRow("unknown option") << QStringList{"status", "--frob"} << 2 << "unknown option";
    QTest::newRow("rate not in the list") << QStringList{"--rate", "4800", "status"} << 2 << "not a rate of the Orvantis";
    QTest::newRow("baud not in the list") << QStringList{"baud", "19200"} << 2 << "not a rate of the Orvantis";
    QTest::newRow("port number beyond 16") << QStringList{"--port", "17", "info"} << 2 << "not a port number";
    QTest::newRow("missing local file") << QStringList{"put", missing} << 2 << "does not exist";
    QTest::newRow("missing folder") << QStringList{"get", "DATA.BIN", "-d", missing} << 2 << "does not exist";
    QTest::newRow("run without a file") << QStringList{"run", "--period", "5"} << 2 << "-o FILE";
    QTest::newRow("run period no number") << QStringList{"run", "--period", "soon", "-o", notes} << 2 << "must be a number";
    QTest::newRow("run count and duration") << QStringList{"run", "--period", "1", "-o", notes, "--count", "3", "--for", "1m"} << 2 << "not both";
    QTest::newRow("run bad duration") << QStringList{"run", "--period", "1", "-o", notes, "--for", "1w"} << 2 << "duration";
    QTest::newRow("average no number") << QStringList{"sample", "--average", "many"} << 2 << "whole number";
    QTest::newRow("flash name too long") << QStringList{"sample", "--flash", "NINECHARS"} << 2 << "limited to 8 characters";
    QTest::newRow("send with no time to wait") << QStringList{"send", "--timeout", "0", "st"} << 2 << "--timeout takes a number";
    QTest::newRow("clock bad date") << QStringList{"clock", "--set", "tomorrow"} << 2 << "not a date and time";
    QTest::newRow("cal-check without --yes") << QStringList{"cal-check", "-o", path("fresh.raw")} << 2 << "sampling cavity";
    QTest::newRow("sample into a file with data") << QStringList{"sample", "-o", notes} << 2 << "holds 7 bytes: --keep appends to it";
    QTest::newRow("run into a file with data") << QStringList{"run", "--period", "1", "-o", notes} << 2 << "--force replaces it";
    QTest::newRow("cal-check into a file with data") << QStringList{"cal-check", "-o", notes, "--yes"} << 2 << "--keep appends";
    QTest::newRow("keep and force") << QStringList{"sample", "-o", notes, "--keep", "--force"} << 2 << "not both";
    QTest::newRow("run's data and JSON on standard output") << QStringList{"--json", "run", "--period", "1", "-o", "-"} << 2 << "use one of them";
    QTest::newRow("detach to a file") << QStringList{"run", "--period", "1", "--flash", "A", "--detach", "-o", "x.raw"} << 2 << "takes no --output";
    QTest::newRow("detach without flash") << QStringList{"run", "--period", "1", "--detach"} << 2 << "needs --flash NAME";
    QTest::newRow("bad outage") << QStringList{"run", "--period", "1", "-o", "-", "--max-outage", "soon"} << 2 << "--max-outage takes";
    QTest::newRow("refused name for get") << QStringList{"get", "what?.txt"} << 1 << "cannot be a file on the Orvantis";
    QTest::newRow("refused name for rm") << QStringList{"rm", "a b"} << 1 << "cannot be a file on the Orvantis";
    QTest::newRow("refused name for put") << QStringList{"put", notes, "--as", "x:y"} << 2 << "--as x:y cannot be a file name";
    QTest::newRow("a name put would shorten") << QStringList{"put", longName} << 2 << "would store it as \"mynotesfil\"; choose";
    // clang-format on
}

void CliEndToEnd::usageErrorsAndRefusedNamesSendNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    const qint64 before = heardSize();
    for (const QStringList &form : {arguments, QStringList{"--json"} + arguments}) {
        const Outcome outcome = run(form);
        QCOMPARE(outcome.status, status);
        QVERIFY2(outcome.err.contains(said.toUtf8()), outcome.err.constData());
        if (form.first() == "--json") {
            // A usage error is one document too.
            QCOMPARE(shape(document(outcome.out)), QString("{error:s exitStatus:n}"));
            QCOMPARE(document(outcome.out).value("exitStatus").toInt(), status);
        }
    }
    QCOMPARE(heardSince(before), QByteArray());
}

void CliEndToEnd::everyReadingCommandInBothForms_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("key");
    // The whole value, as a regular expression.
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("keys");
    // clang-format off
    QTest::newRow("find") << QStringList{"find"} << "Orvantis 1021 on port 1" << "serial" << "1021" << "{device:s exitStatus:n port:n rate:n serial:s}";
    QTest::newRow("info") << QStringList{"info"} << "Firmware:      2.61" << "maxDepth" << "600" << "{configuration:s exitStatus:n firmware:s maxDepth:n model:s serial:s}";
    QTest::newRow("status") << QStringList{"status"} << "Thermal Control:  Stable" << "ambient" << "21.5" << "{ambient:n ambientText:s exitStatus:n light:{state:s text:s} line:s stable:b thermal:{state:s text:s}}";
    QTest::newRow("ls") << QStringList{"ls"} << "DATA.BIN             5,000" << "files/0/size" << "5000" << "{exitStatus:n files:[{date:s modified:s name:s size:n}]}";
    QTest::newRow("clock") << QStringList{"clock"} << "Orvantis:  20" << "computer" << "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d" << "{aheadSeconds:n computer:s exitStatus:n instrument:s}";
    QTest::newRow("clock set") << QStringList{"clock", "--set", "2030-01-02T03:04:05"} << "Orvantis:  2030-01-02 03:04" << "set" << "2030-01-02T03:04:05[+-]\\d\\d:\\d\\d" << "{aheadSeconds:n computer:s exitStatus:n instrument:s set:s}";
    QTest::newRow("send") << QStringList{"send", "baud"} << "baud: 57600" << "answer" << "baud: 57600,57600\n" << "{answer:s command:s complete:b exitStatus:n}";
    // Only the prompt ends the answer, not a ">" in it.
    QTest::newRow("send with > in the answer") << QStringList{"send", "Capture>a>b"} << "Unknown command: Capture>a>b\n" << "answer" << "Unknown command: Capture>a>b\n" << "{answer:s command:s complete:b exitStatus:n}";
    QTest::newRow("stop") << QStringList{"stop"} << "answered the stop at its prompt" << "answered" << "true" << "{answered:b exitStatus:n seconds:n}";
    // clang-format on
}

void CliEndToEnd::everyReadingCommandInBothForms()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, shown);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, keys);
    const Outcome human = run(arguments);
    QCOMPARE(human.status, 0);
    QVERIFY2(human.out.contains(shown.toUtf8()), human.out.constData());
    const Outcome json = run(QStringList{"--json"} + arguments);
    QCOMPARE(json.status, 0);
    const QJsonObject parsed = document(json.out);
    QCOMPARE(shape(parsed), keys);
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(value))
                 .match(text(at(parsed, key)))
                 .hasMatch(),
             json.out.constData());
}

void CliEndToEnd::sampleGoesToAFileOrStandardOutput()
{
    const QString file = path("sample.raw");
    const qint64 before = heardSize();
    Outcome outcome = run({"sample", "--average", "3", "--flash", "AB", "-o", file});
    QCOMPARE(outcome.status, 0);
    QVERIFY(heardSince(before).endsWith("Acquire auto,3,1,AB,0,-1,4\r"));
    // The file holds the instrument's answer exactly as it sent it, up to its prompt.
    const QByteArray first = fileBytes(file);
    QVERIFY(first.endsWith("Orvantis>"));
    QVERIFY(fileBytes(m_sent).endsWith(first));
    QCOMPARE(run({"sample", "-o", file, "--keep"}).status, 0);
    const QByteArray both = fileBytes(file);
    QVERIFY(both.startsWith(first) && both.size() > first.size());
    outcome = run({"--json", "sample", "-o", file, "--force"});
    QCOMPARE(shape(document(outcome.out)), QString("{appended:b bytes:n complete:b exitStatus:n "
                                                   "file:s}"));
    QVERIFY(fileBytes(file).startsWith("Acquire auto,1,1,\"\",0,-1,2\r\n"));
    QCOMPARE(fileBytes(file).count("Orvantis>"), 1);
    for (const QStringList &toStandardOutput : {QStringList{"sample"}, {"sample", "-o", "-"}}) {
        const qsizetype logged = eventLog().size();
        outcome = run(toStandardOutput);
        QCOMPARE(outcome.status, 0);
        QVERIFY(outcome.out.startsWith("Acquire auto,1,1,\"\",0,-1,2\r\n"));
        QVERIFY(fileBytes(m_sent).endsWith(outcome.out));
        // One search, and the event log says where the data went, not a scratch file.
        const QByteArray log = eventLog().mid(logged);
        QCOMPARE(log.count("Connection search started"), 1);
        QVERIFY2(log.contains("Saving to a data file started: \"standard output\"") &&
                     !log.contains(QDir::tempPath().toUtf8()),
                 log.constData());
    }
    outcome = run({"--json", "sample"});
    const QJsonObject json = document(outcome.out);
    QCOMPARE(shape(json), QString("{bytes:n complete:b data:s exitStatus:n}"));
    QCOMPARE(json.value("bytes").toInt(), json.value("data").toString().size());
}

void CliEndToEnd::runPrintsEachSampleAndStopsTheInstrument()
{
    const QString file = path("run.raw");
    qint64 before = heardSize();
    Outcome outcome = run({"--json", "run", "--period", "0.2", "--count", "3", "-o", file});
    QCOMPARE(outcome.status, 0);
    const QList<QByteArray> lines = outcome.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 4);
    qint64 counted = 0;
    for (int i = 0; i < 3; ++i) {
        const QJsonObject sample = document(lines.at(i));
        QCOMPARE(shape(sample), QString("{bytes:n record:s sample:n time:s}"));
        QCOMPARE(sample.value("sample").toInt(), i + 1);
        QVERIFY(sample.value("time").toString().contains(QRegularExpression("[+-]\\d\\d:\\d\\d$")));
        counted += sample.value("bytes").toInteger();
    }
    const QJsonObject summary = document(lines.at(3));
    QCOMPARE(shape(summary), QString("{bytes:n ended:s endsAtPrompt:b exitStatus:n file:s "
                                     "outages:[] record:s samples:n secondsWithoutSamples:n "
                                     "started:s}"));
    QCOMPARE(summary.value("samples").toInt(), wholeSamples(fileBytes(file)));
    QCOMPARE(summary.value("bytes").toInteger(), QFileInfo(file).size());
    // Each sample ends at its prompt (the first holds the start command's echo); the answer to
    // the stop is all that follows.
    QCOMPARE(fileBytes(file).mid(counted), QByteArray("\r\nOrvantis>"));
    QVERIFY(heardSince(before).contains("start 0.2 Acquire auto"));
    QVERIFY(heardSince(before).endsWith(kThreeEtx));
    QTRY_VERIFY(!m_sim.isSampling());
    // The data on standard output, the lines for people on standard error.
    before = QFileInfo(m_sent).size();
    outcome = run({"run", "--period", "0.2", "--count", "2", "-o", "-"});
    QCOMPARE(outcome.status, 0);
    QVERIFY(outcome.out.startsWith("start 0.2 Acquire auto"));
    QCOMPARE(wholeSamples(outcome.out), 2);
    QVERIFY(fileBytes(m_sent).mid(before).contains(outcome.out));
    QVERIFY2(outcome.err.contains("    2  ") && outcome.err.contains("2 samples in"),
             outcome.err.constData());
}

// Runs of each kind of period, three at a time (a simulator each), each ended by a signal at
// a random moment from the start command on: every summary counts exactly the whole samples
// its file holds, and every file ends at the prompt that answered the stop.
void CliEndToEnd::signalsAtRandomMomentsLeaveWholeSamples()
{
    constexpr int kLanes = 3;
    constexpr int kRuns = 24;
    const int kSignals[] = {SIGINT, SIGTERM, SIGINT, SIGTERM, SIGPIPE};
    const QStringList periods{"0", "0.1", "0.4"};
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    struct Lane {
        SimProcess sim;
        QProcess process;
        QString file;
        QString heard;
        qint64 heardBefore = 0;
        int signal = 0;
        bool signalled = false;
    };
    std::array<Lane, kLanes> lanes;
    int started = 0;
    int ended = 0;
    QStringList failures;
    const auto next = [&](Lane &lane) {
        const int run = started++;
        lane.file = path(QString("signalled%1.raw").arg(run));
        lane.signal = kSignals[run % 5];
        lane.signalled = false;
        lane.heardBefore = QFileInfo(lane.heard).size();
        start(lane.process,
              QStringList(run % 2 ? "--json" : "--rate=57600") +
                  QStringList{"run", "--period", periods.at(run % 3), "-o", lane.file},
              lane.sim.devicePath(), path(QString("lane%1").arg(&lane - lanes.data())));
    };
    for (Lane &lane : lanes) {
        lane.heard = path(QString("heard-lane%1.bin").arg(&lane - lanes.data()));
        QVERIFY(startSim(lane.sim, {"--record-input", lane.heard}));
        QObject::connect(&lane.process, &QProcess::finished, &lane.process, [&] {
            ++ended;
            const QByteArray said = lane.process.readAll() + lane.process.readAllStandardError();
            const QRegularExpressionMatch summary =
                QRegularExpression("\"samples\":(\\d+)|\n(\\d+) samples in").match(said);
            const int counted =
                summary.hasMatch() ? (summary.captured(1) + summary.captured(2)).toInt() : -1;
            const int whole = wholeSamples(fileBytes(lane.file));
            const bool stopped = fileBytes(lane.heard).mid(lane.heardBefore).endsWith(kThreeEtx);
            if (lane.process.exitCode() != 130 || counted != whole || !stopped)
                failures << lane.file + QString::asprintf(
                                            ": signal %d exit %d summary %d file %d stopped %d",
                                            lane.signal, lane.process.exitCode(), counted, whole,
                                            int(stopped));
            if (started < kRuns)
                next(lane);
        });
        next(lane);
    }
    // Each signal at a random moment once its run has opened its file (the start command goes
    // out next): during the start command's wait, during samples, between them.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        for (Lane &lane : lanes) {
            if (lane.signalled || !QFileInfo::exists(lane.file) ||
                lane.process.state() != QProcess::Running)
                continue;
            lane.signalled = true;
            const qint64 pid = lane.process.processId();
            const int signal = lane.signal;
            // Every fourth at once: inside the start command's wait.
            QTimer::singleShot(started % 4 ? random.bounded(1500) : 0, &lane.process,
                               [pid, signal] { ::kill(pid_t(pid), signal); });
        }
    });
    watch.start(2);
    QTRY_VERIFY_WITH_TIMEOUT(ended == kRuns, 120000);
    QVERIFY2(failures.isEmpty(), qPrintable(QString("seed %1: ").arg(seed) + failures.join("\n")));
}

// A second signal ends the run at once; the first one's stop waits up to 30 s for quiet.
void CliEndToEnd::secondSignalEndsTheWaitForTheStop()
{
    SimProcess sim;
    const QString heard = path("heard-deaf.bin");
    const QString file = path("deaf.raw");
    QVERIFY(startSim(sim, {"--deaf-to-stop", "--record-input", heard}));
    QProcess process;
    start(process, {"--port", sim.devicePath(), "run", "--period", "0.2", "-o", file},
          sim.devicePath());
    QTRY_VERIFY_WITH_TIMEOUT(fileBytes(file).contains("Orvantis>"), 30000);
    ::kill(pid_t(process.processId()), SIGINT);
    QTRY_VERIFY(fileBytes(heard).endsWith(kThreeEtx));
    const qint64 stoppedAt = QFileInfo(file).size();
    QTRY_VERIFY(QFileInfo(file).size() > stoppedAt);
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(15000));
    QCOMPARE(process.exitCode(), 130);
}

void CliEndToEnd::detachedRunSamplesOnUntilStop()
{
    const QString stored = QDir(m_disk).filePath("DEPLOY.RAW");
    qint64 before = heardSize();
    Outcome outcome = run({"--json", "run", "--period", "0.3", "--flash", "DEPLOY", "--detach"});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(shape(document(outcome.out)),
             QString("{detached:b exitStatus:n flashName:s period:n started:s}"));
    // Into the flash only, and nothing after the start command: the port closed as it was.
    QVERIFY(heardSince(before).endsWith("start 0.3 Acquire auto,1,1,DEPLOY,0,-1,1\r"));
    QTRY_VERIFY(QFileInfo(stored).size() > 0);
    const qint64 storedAtExit = QFileInfo(stored).size();
    QTRY_VERIFY(QFileInfo(stored).size() > storedAtExit);
    QVERIFY(eventLog().contains(
        "Leaving: the Orvantis goes on sampling every 0.3 s into its flash memory as DEPLOY."));
    before = heardSize();
    outcome = run({"stop"});
    QCOMPARE(outcome.status, 0);
    QVERIFY2(outcome.out.contains("Finding it had sent three ETX already"),
             outcome.out.constData());
    QCOMPARE(heardSince(before), "\x03\x03\x03id\rst\r" + kThreeEtx);
    QTRY_VERIFY(!m_sim.isSampling());
    QVERIFY(QFile::remove(stored));
}

void CliEndToEnd::getIsByteExactAndRefusesUnlistedNames()
{
    const QString folder = path("got");
    QVERIFY(QDir().mkpath(folder));
    Outcome outcome = run({"--json", "get", "data.bin", "NOTES.TXT", "-d", folder});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(fileBytes(QDir(folder).filePath("DATA.BIN")), m_data);
    QCOMPARE(fileBytes(QDir(folder).filePath("NOTES.TXT")), QByteArray("first\r\nsecond\r\n"));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
             2);
    QCOMPARE(QJsonDocument::fromJson(outcome.out)["files"][0]["bytes"].toInt(), 5000);
    QCOMPARE(shape(document(outcome.out)),
             QString("{exitStatus:n files:[{bytes:n name:s path:s}]}"));
    const qint64 before = heardSize();
    outcome = run({"get", "DATA.BIN", "GONE.TXT", "-d", folder});
    QCOMPARE(outcome.status, 1);
    QVERIFY(outcome.err.contains("not on the Orvantis: GONE.TXT"));
    QVERIFY(!heardSince(before).contains("type"));
}

// The signal is the operator's Stop (the console's table shows the other cut downloads).
void CliEndToEnd::interruptedGetKeepsAGoodLocalFile()
{
    SimProcess stalling;
    QVERIFY(startSim(stalling, {"--disk", m_disk, "--stall-type-after", "1000"}));
    const QString folder = path("kept");
    QVERIFY(QDir().mkpath(folder));
    const QString target = QDir(folder).filePath("DATA.BIN");
    QVERIFY(writeFile(target, "the good copy"));
    QProcess process;
    start(process,
          {"--port", stalling.devicePath(), "--rate", QString::number(kRate), "get", "DATA.BIN",
           "-d", folder},
          QString());
    // The bytes have stopped coming; an operator gives up.
    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(target + ".part").size(), 1000, 20000);
    QCOMPARE(::kill(pid_t(process.processId()), SIGINT), 0);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 130);
    const QByteArray said = process.readAllStandardError();
    QVERIFY2(said.contains("Transfer cancelled."), said.constData());
    QCOMPARE(fileBytes(target), QByteArray("the good copy"));
    QCOMPARE(fileBytes(target + ".part"), m_data.left(1000));
}

void CliEndToEnd::putAndRmChangeTheDisk()
{
    const QString local = path("my notes.txt");
    QVERIFY(writeFile(local, "gain=2\nmode=fast\n"));
    Outcome outcome = run({"put", local, "--as", "mynotes.txt"});
    QCOMPARE(outcome.status, 0);
    const QString stored = QDir(m_disk).filePath("mynotes.txt");
    QVERIFY(fileBytes(stored).contains("gain=2") && fileBytes(stored).contains("mode=fast"));
    outcome = run({"--json", "put", local, "--as", "SETUP.INI"});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(QJsonDocument::fromJson(outcome.out)["files"][0]["name"].toString(), "SETUP.INI");
    QCOMPARE(shape(document(outcome.out)),
             QString("{exitStatus:n files:[{bytes:n file:s name:s}]}"));
    QVERIFY(QFileInfo::exists(QDir(m_disk).filePath("SETUP.INI")));
    qint64 before = heardSize();
    outcome = run({"--json", "rm", "SETUP.INI", "NOPE.INI"});
    QCOMPARE(outcome.status, 1);
    QCOMPARE(shape(document(outcome.out)), QString("{error:s exitStatus:n}"));
    QVERIFY(!heardSince(before).contains("Del"));
    QVERIFY(QFileInfo::exists(QDir(m_disk).filePath("SETUP.INI")));
    before = heardSize();
    outcome = run({"--json", "rm", "setup.ini", "mynotes.txt"});
    QCOMPARE(outcome.status, 0);
    QVERIFY(heardSince(before).contains("Del SETUP.INI\r"));
    QVERIFY(!QFileInfo::exists(QDir(m_disk).filePath("SETUP.INI")));
    QVERIFY(!QFileInfo::exists(stored));
    QCOMPARE(QJsonDocument::fromJson(outcome.out)["deleted"].toArray().size(), 2);
    QCOMPARE(shape(document(outcome.out)), QString("{deleted:[s] exitStatus:n}"));
}

void CliEndToEnd::aListingCutBeforeItsEndIsRefused()
{
    SimProcess cut;
    const QString heard = path("cut-heard.bin");
    QVERIFY(startSim(cut, {"--disk", m_disk, "--cut-listing", "--record-input", heard}));
    for (const QStringList &command :
         {QStringList{"ls"}, QStringList{"get", "DATA.BIN", "-d", m_dir.path()},
          QStringList{"rm", "NOTES.TXT"}}) {
        const Outcome outcome = run(QStringList{"--port", cut.devicePath()} + command);
        QCOMPARE(outcome.status, 1);
        QVERIFY2(outcome.err.contains("stopped before its \"bytes free\" line"),
                 outcome.err.constData());
    }
    QVERIFY(!fileBytes(heard).contains("type") && !fileBytes(heard).contains("Del"));
    QVERIFY(QFileInfo::exists(QDir(m_disk).filePath("NOTES.TXT")));
}

void CliEndToEnd::calCheckRunsWithYes()
{
    const QString file = path("calcheck.raw");
    const qint64 before = heardSize();
    const Outcome outcome = run({"--json", "cal-check", "-o", file, "--yes"});
    QCOMPARE(outcome.status, 0);
    QVERIFY(QJsonDocument::fromJson(outcome.out)["complete"].toBool());
    QCOMPARE(shape(document(outcome.out)), QString("{bytes:n complete:b exitStatus:n file:s}"));
    const QByteArray heard = heardSince(before);
    QCOMPARE(heard.count("acquire fixed 100 1 \"\" 0 -1 2\r"), 4);
    QCOMPARE(heard.count("lref,0,0,10\r"), 3);
    QVERIFY(heard.endsWith("lpower,1\rst\r"));
    QVERIFY(fileBytes(file).contains("Spectral data"));
}

void CliEndToEnd::portsItCannotUse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("ports");
    QTest::addColumn<QString>("said");
    // clang-format off
    QTest::newRow("no such device") << QStringList{"--port", "/dev/no-such-port", "info"} << QString("") << "does not exist";
    QTest::newRow("number without a device") << QStringList{"--port", "4", "info"} << QString("/dev/null") << "port 4 has no device";
    QTest::newRow("nothing found") << QStringList{"info"} << QString("") << "No Orvantis found on any port. \"orvantis find --verbose\" lists each port";
    // --rate alone confines the search to that rate too.
    QTest::newRow("each port tried and why") << QStringList{"--rate", "9600", "find", "--verbose"} << "/dev/no-such-port:" + m_sim.devicePath() << "Port 1 (/dev/no-such-port): port /dev/no-such-port does not exist: is the Orvantis's cable or adapter plugged in?\n  Port 2 (" + m_sim.devicePath() + "): opened, no answer at 9600 baud";
    // clang-format on
}

void CliEndToEnd::portsItCannotUse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, ports);
    QFETCH(QString, said);
    const QTemporaryDir home;
    const Outcome outcome = run(arguments, ports, home.path());
    QCOMPARE(outcome.status, 3);
    QVERIFY2(outcome.err.contains(said.toUtf8()), outcome.err.constData());
}

void CliEndToEnd::aPortHeldByAnotherProcessIsLeftAlone()
{
    const QString file = path("held.raw");
    QProcess holder;
    start(holder, {"run", "--period", "0.3", "-o", file}, m_sim.devicePath());
    QTRY_VERIFY_WITH_TIMEOUT(m_sim.isSampling(), 20000);
    const qint64 before = heardSize();
    for (const QStringList &arguments :
         {QStringList{"status"}, QStringList{"--port", m_sim.devicePath(), "status"}}) {
        const Outcome outcome = run(arguments);
        QCOMPARE(outcome.status, 3);
        QVERIFY2(outcome.err.contains(
                     ("port " + m_sim.devicePath() + " is in use by another program").toUtf8()),
                 outcome.err.constData());
    }
    QCOMPARE(heardSince(before), QByteArray());
    QCOMPARE(::kill(pid_t(holder.processId()), SIGTERM), 0);
    QVERIFY(holder.waitForFinished(20000));
    QCOMPARE(holder.exitCode(), 130);
    // An instrument that does not answer is no instrument.
    SimProcess silent;
    QVERIFY(silent.start({QString("--silent")}));
    const Outcome outcome =
        run({"--port", silent.devicePath(), "--rate", "9600", "status"}, QString(""));
    QCOMPARE(outcome.status, 3);
    QVERIFY(outcome.err.contains("did not answer on " + silent.devicePath().toUtf8()));
}

void CliEndToEnd::lastConnectionFirstThenTheSearch()
{
    const QTemporaryDir home;
    const QString ports = "/dev/null:" + m_sim.devicePath();
    const qint64 before = heardSize();
    Outcome outcome = run({"--rate", "57600", "find"}, ports, home.path());
    QCOMPARE(outcome.status, 0);
    QVERIFY(outcome.err.contains("Searching"));
    // The probe at that rate only: another rate tried first would have left garbled bytes.
    QCOMPARE(heardSince(before), QByteArray("\x03\x03\x03id\rst\r"));
    const QByteArray kept = fileBytes(QDir(home.path()).filePath("Orvantis/Orvantis Console.conf"));
    QVERIFY2(kept.contains(("Device=" + m_sim.devicePath()).toUtf8()), kept.constData());
    QVERIFY(kept.contains("Rate=57600"));
    outcome = run({"find"}, ports, home.path());
    QCOMPARE(outcome.status, 0);
    QVERIFY(!outcome.err.contains("Searching"));
    // Each run leaves its connection in the day's event log.
    const QString log = QDir(home.path())
                            .filePath("Orvantis/Orvantis Console/logs/events-" +
                                      QDate::currentDate().toString(Qt::ISODate) + ".log");
    const QString lines = QString::fromUtf8(fileBytes(log));
    const QString port = "COM 2 (" + m_sim.devicePath() + ") at 57600 baud.";
    QCOMPARE(lines.count(" connection Connected to "), 2);
    QCOMPARE(lines.count(port), 2);
    QVERIFY2(lines.contains("connection Connected to 1021 on " + port), qPrintable(lines));
}

void CliEndToEnd::failuresOnTheWayAreSaid_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    // clang-format off
    QTest::newRow("last connection silent at its rate") << QStringList() << QStringList{"find"} << 0 << ", the port of the last connection.\nSearching for the Orvantis";
    QTest::newRow("no answer at the new rate") << QStringList{"--ignore-settings"} << QStringList{"baud", "115200"} << 1 << "did not answer at 115200 baud; it may still be at 57600 baud";
    QTest::newRow("clock reads back otherwise") << QStringList{"--ignore-settings"} << QStringList{"clock", "--set", "2030-01-02T03:04:05"} << 1 << "after it was set to 2030-01-02 03:04:05";
    QTest::newRow("clock 2 s ahead is close enough") << QStringList{"--clock-set-ahead", "2"} << QStringList{"clock", "--set", "2030-01-02T03:04:05"} << 0 << "";
    QTest::newRow("send without the prompt") << QStringList() << QStringList{"send", "--timeout", "0.5", "capture", "X.TXT"} << 1 << "did not show its prompt within 0.5 s";
    QTest::newRow("stop without the prompt") << QStringList{"--stop-without-prompt"} << QStringList{"run", "--period", "0", "--count", "1", "-o", "-"} << 0 << "The Orvantis did not answer the stop with its prompt.";
    QTest::newRow("get into a folder that cannot be written") << QStringList() << QStringList{"get", "SETUP.INI", "-d", "/proc"} << 1 << "The file /proc/SETUP.INI could not be created";
    // clang-format on
}

// Each against an instrument of its own whose last connection was saved at a rate it does not
// answer at: the next command notes it and searches on.
void CliEndToEnd::failuresOnTheWayAreSaid()
{
    QFETCH(QStringList, switches);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, said);
    SimProcess sim;
    const QString heard = path(QString("heard %1.bin").arg(QTest::currentDataTag()));
    QVERIFY(startSim(sim, switches + QStringList{"--record-input", heard}));
    const QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkpath("Orvantis"));
    QVERIFY(writeFile(QDir(home.path()).filePath("Orvantis/Orvantis Console.conf"),
                      "[Connection]\nDevice=" + sim.devicePath().toUtf8() + "\nRate=9600\n"));
    const Outcome outcome = run(arguments, sim.devicePath(), home.path());
    QCOMPARE(outcome.status, status);
    QVERIFY2(outcome.err.contains(("No answer on " + sim.devicePath()).toUtf8()) &&
                 outcome.err.contains(said.toUtf8()),
             outcome.err.constData());
    QVERIFY(!fileBytes(heard).contains("type ")); // nothing fetched
}

void CliEndToEnd::baudChangesBothEndsAndIsKept()
{
    SimProcess sim;
    QVERIFY(startSim(sim, {"--state-file", path("sim-state")}));
    const QTemporaryDir home;
    Outcome outcome = run({"--json", "--port", sim.devicePath(), "baud", "115200", "--startup"},
                          sim.devicePath(), home.path());
    QCOMPARE(outcome.status, 0);
    const QJsonObject changed = document(outcome.out);
    QCOMPARE(changed.value("rate").toInt(), 115200);
    QCOMPARE(changed.value("startupRate").toInt(), 115200);
    QCOMPARE(shape(changed), QString("{exitStatus:n previousRate:n rate:n startupRate:n}"));
    // The next command finds it at the new rate, the first it tries.
    outcome = run({"send", "baud"}, sim.devicePath(), home.path());
    QCOMPARE(outcome.status, 0);
    QVERIFY(outcome.out.contains("baud: 115200,115200"));
    QVERIFY(outcome.err.contains("at 115200 baud"));
}

void CliEndToEnd::runKeepsGoingAcrossAnUnplug_data()
{
    QTest::addColumn<bool>("paced");
    QTest::addColumn<QString>("period");
    QTest::addColumn<int>("unplugMs");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    // Unplugged after the first sample; back in a quiet moment, or while one is under way. The
    // Orvantis echoes the "id" that asks who is back, so bytes come at once either way.
    QTest::newRow("quiet when back") << false << "2" << 4000 << QStringList{"--for", "11"} << 0;
    QTest::newRow("mid-sample when back")
        << true << "0.3" << 4000 << QStringList{"--for", "8"} << 0;
    QTest::newRow("lost longer than --max-outage")
        << false << "2" << 10000 << QStringList{"--max-outage", "3s"} << 3;
}

void CliEndToEnd::runKeepsGoingAcrossAnUnplug()
{
    QFETCH(bool, paced);
    QFETCH(QString, period);
    QFETCH(int, unplugMs);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    SimProcess sim;
    const QString link = path("orvantis-link");
    const QString record = path(QString("unplugged-sent %1.bin").arg(QTest::currentDataTag()));
    QVERIFY(startSim(sim, {"--link", link, "--record", record, "--echo-while-busy"}, paced));
    const QString file = path(QString("unplugged %1.raw").arg(QTest::currentDataTag()));
    QProcess process;
    start(process, QStringList{"--port", link, "run", "--period", period, "-o", file} + options,
          QString());
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += process.readAllStandardOutput()).count('\n') >= 1, 20000);
    const qsizetype beforeUnplug = out.count('\n');
    QVERIFY(sim.unplug(unplugMs));
    // The session reconnects by itself; the run goes on into the same file until its time.
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), status);
    out += process.readAllStandardOutput();
    const QString said = QString::fromLocal8Bit(process.readAllStandardError());
    QVERIFY2(said.contains(QRegularExpression("\nconnection lost at \\d\\d:\\d\\d:\\d\\d\n")),
             qPrintable(said));
    if (status == 3) {
        QVERIFY2(said.contains("not back within 3 s"), qPrintable(said));
        return;
    }
    QVERIFY2(said.contains(QRegularExpression("\nback at \\d\\d:\\d\\d:\\d\\d after [4-6] s; the "
                                              "run went on\n")),
             qPrintable(said));
    QVERIFY2(said.contains(QRegularExpression("Connection lost at .*, back at .* after [4-6] s "
                                              "\\(the run went on\\); no samples from")),
             qPrintable(said));
    QVERIFY2(out.count('\n') > beforeUnplug + 2, out.constData());
    const QRegularExpressionMatch summary = QRegularExpression("\n(\\d+) samples in").match(said);
    QVERIFY(summary.hasMatch());
    QCOMPARE(summary.captured(1).toLongLong(), out.count('\n'));
    // Each whole sample of the file counts, the first after the port opened again too; the
    // rest of one under way when it opened does not.
    QCOMPARE(out.count('\n'), wholeSamples(fileBytes(file), false));
    // The file holds all the instrument sent from the start of the run, across the unplug.
    const QByteArray sent = fileBytes(record);
    QCOMPARE(fileBytes(file), sent.mid(sent.indexOf("start " + period.toLatin1())));
}

QTEST_GUILESS_MAIN(CliEndToEnd)
#include "tst_cli_e2e.moc"
