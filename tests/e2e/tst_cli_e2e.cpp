// The command line, orvantis, run as a process against orvantis-sim over a real
// pseudo-terminal: every command in both its forms, bad input refused with nothing sent,
// ports it cannot use, and a periodic run that signals and unplugs end cleanly. One simulator
// serves most cases; the simulator's record of what it heard shows what was sent.
#include "testkit/SimProcess.h"
#include "testkit/TestFiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
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
    return value.isDouble() ? QString::number(value.toDouble()) : value.toString();
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
    void runEndsOnASignalWithTheInstrumentStopped_data();
    void runEndsOnASignalWithTheInstrumentStopped();
    void getIsByteExactAndRefusesUnlistedNames();
    void interruptedGetKeepsAGoodLocalFile_data();
    void interruptedGetKeepsAGoodLocalFile();
    void putAndRmChangeTheDisk();
    void calCheckRunsWithYes();
    void portsItCannotUse_data();
    void portsItCannotUse();
    void aPortHeldByAnotherProcessIsLeftAlone();
    void lastConnectionFirstThenTheSearch();
    void baudChangesBothEndsAndIsKept();
    void runKeepsGoingAcrossAnUnplug();

private:
    // The child's settings and event log stay in `home` (the test's own folder when empty);
    // the system's ports are not searched.
    QProcessEnvironment environment(const QString &ports, const QString &home = QString()) const;
    void start(QProcess &process, const QStringList &arguments, const QString &ports);
    Outcome run(const QStringList &arguments, const QString &ports = QString(),
                const QString &home = QString());
    // What the shared simulator heard since `from` (a size of its record).
    QByteArray heardSince(qint64 from) const;
    qint64 heardSize() const { return QFileInfo(m_heard).size(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    bool startSim(SimProcess &sim, const QStringList &arguments);
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

bool CliEndToEnd::startSim(SimProcess &sim, const QStringList &arguments)
{
    const bool started = sim.start(
        QStringList{"--fast", "--stable", "--spectrum-ms", "10", "--baud", QString::number(kRate)} +
        arguments);
    if (!started)
        qWarning("%s", qPrintable(sim.errorString()));
    return started;
}

QProcessEnvironment CliEndToEnd::environment(const QString &ports, const QString &home) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", home.isEmpty() ? path("config") : home);
    env.insert("XDG_DATA_HOME", home.isEmpty() ? path("data") : home);
    env.insert("ORVANTIS_PORTS", ports.isNull() ? m_sim.devicePath() : ports);
    return env;
}

void CliEndToEnd::start(QProcess &process, const QStringList &arguments, const QString &ports)
{
    process.setProcessEnvironment(environment(ports));
    process.start(QStringLiteral(ORVANTIS_CLI_PATH), arguments);
}

Outcome CliEndToEnd::run(const QStringList &arguments, const QString &ports, const QString &home)
{
    QProcess process;
    process.setProcessEnvironment(environment(ports, home));
    process.start(ORVANTIS_CLI_PATH, arguments);
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

QByteArray CliEndToEnd::heardSince(qint64 from) const
{
    return fileBytes(m_heard).mid(from);
}

void CliEndToEnd::usageErrorsAndRefusedNamesSendNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");
    const QString missing = path("no-such-file.txt");
    const QString notes = path("notes.txt");
    QVERIFY(writeFile(notes, "a line\n"));
    // clang-format off
    QTest::newRow("unknown command") << QStringList{"frob"} << 2 << "\"frob\" is not a command";
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
    QTest::newRow("cal-check without --yes") << QStringList{"cal-check", "-o", notes} << 2 << "sampling cavity";
    QTest::newRow("refused name for get") << QStringList{"get", "what?.txt"} << 1 << "cannot be a file on the Orvantis";
    QTest::newRow("refused name for rm") << QStringList{"rm", "a b"} << 1 << "cannot be a file on the Orvantis";
    QTest::newRow("refused name for put") << QStringList{"put", notes, "--as", "x:y"} << 1 << "its disk cannot hold that name";
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
    // clang-format off
    QTest::newRow("find") << QStringList{"find"} << "Orvantis 1021 on port 1" << "serial" << "1021";
    QTest::newRow("info") << QStringList{"info"} << "Firmware:      2.61" << "maxDepth" << "600";
    QTest::newRow("status") << QStringList{"status"} << "Thermal Control:  Stable" << "light/state" << "stable";
    QTest::newRow("ls") << QStringList{"ls"} << "DATA.BIN             5,000" << "files/0/size" << "5000";
    QTest::newRow("clock") << QStringList{"clock"} << "Orvantis:  20" << "computer" << "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d";
    QTest::newRow("clock set") << QStringList{"clock", "--set", "2030-01-02T03:04:05"} << "Orvantis:  2030-01-02 03:04" << "set" << "2030-01-02T03:04:05";
    QTest::newRow("send") << QStringList{"send", "baud"} << "baud: 57600" << "answer" << "baud: 57600,57600\n";
    // clang-format on
}

void CliEndToEnd::everyReadingCommandInBothForms()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, shown);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const Outcome human = run(arguments);
    QCOMPARE(human.status, 0);
    QVERIFY2(human.out.contains(shown.toUtf8()), human.out.constData());
    const Outcome json = run(QStringList{"--json"} + arguments);
    QCOMPARE(json.status, 0);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json.out, &error);
    QVERIFY2(error.error == QJsonParseError::NoError, json.out.constData());
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(value))
                 .match(text(at(document.object(), key)))
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
    outcome = run({"sample"});
    QCOMPARE(outcome.status, 0);
    QVERIFY(outcome.out.startsWith("Acquire auto,1,1,\"\",0,-1,2\r\n"));
    QVERIFY(fileBytes(m_sent).endsWith(outcome.out));
    outcome = run({"--json", "sample"});
    const QJsonObject json = QJsonDocument::fromJson(outcome.out).object();
    QCOMPARE(json.value("bytes").toInt(), json.value("data").toString().size());
}

void CliEndToEnd::runPrintsEachSampleAndStopsTheInstrument()
{
    const QString file = path("run.raw");
    const qint64 before = heardSize();
    const Outcome outcome = run({"--json", "run", "--period", "0.2", "--count", "3", "-o", file});
    QCOMPARE(outcome.status, 0);
    const QList<QByteArray> lines = outcome.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 3);
    qint64 counted = 0;
    QDateTime last;
    for (int i = 0; i < lines.size(); ++i) {
        const QJsonObject sample = QJsonDocument::fromJson(lines.at(i)).object();
        QCOMPARE(sample.value("sample").toInt(), i + 1);
        const QDateTime time =
            QDateTime::fromString(sample.value("time").toString(), Qt::ISODateWithMs);
        QVERIFY2(time.isValid() && !(time < last), qPrintable(sample.value("time").toString()));
        last = time;
        counted += sample.value("bytes").toInteger();
    }
    // Each sample ends at its prompt: the three end where the file's third prompt ends.
    const QByteArray written = fileBytes(file);
    qsizetype third = -1;
    for (int i = 0; i < 3; ++i)
        third = written.indexOf("Orvantis>", third + 1);
    QCOMPARE(counted, third + qsizetype(strlen("Orvantis>")));
    QVERIFY(heardSince(before).contains("start 0.2 Acquire auto"));
    QVERIFY(heardSince(before).endsWith(kThreeEtx));
    QTRY_VERIFY(!m_sim.isSampling());
}

void CliEndToEnd::runEndsOnASignalWithTheInstrumentStopped_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGPIPE: standard output closed") << SIGPIPE;
}

void CliEndToEnd::runEndsOnASignalWithTheInstrumentStopped()
{
    QFETCH(int, signalNumber);
    const QString file = path("signalled.raw");
    const qint64 before = heardSize();
    QProcess process;
    start(process, {"run", "--period", "0.2", "-o", file}, m_sim.devicePath());
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += process.readAllStandardOutput()).count('\n') >= 2, 20000);
    QVERIFY(m_sim.isSampling());
    QCOMPARE(::kill(pid_t(process.processId()), signalNumber), 0);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 130);
    QVERIFY(heardSince(before).endsWith(kThreeEtx));
    QTRY_VERIFY(!m_sim.isSampling());
    // What came after the three ETX reached the file before it closed.
    QVERIFY(fileBytes(file).endsWith("Orvantis>"));
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
    const qint64 before = heardSize();
    outcome = run({"get", "DATA.BIN", "GONE.TXT", "-d", folder});
    QCOMPARE(outcome.status, 1);
    QVERIFY(outcome.err.contains("not on the Orvantis: GONE.TXT"));
    QVERIFY(!heardSince(before).contains("type"));
}

void CliEndToEnd::interruptedGetKeepsAGoodLocalFile_data()
{
    QTest::addColumn<bool>("localCopy");
    QTest::newRow("a good local copy stays") << true;
    QTest::newRow("no local copy: the partial file") << false;
}

void CliEndToEnd::interruptedGetKeepsAGoodLocalFile()
{
    QFETCH(bool, localCopy);
    SimProcess stalling;
    QVERIFY(startSim(stalling, {"--disk", m_disk, "--stall-type-after", "1000"}));
    const QString folder = path(localCopy ? "kept" : "partial");
    QVERIFY(QDir().mkpath(folder));
    const QString target = QDir(folder).filePath("DATA.BIN");
    if (localCopy)
        QVERIFY(writeFile(target, "the good copy"));
    QProcess process;
    start(process,
          {"--port", stalling.devicePath(), "--rate", QString::number(kRate), "get", "DATA.BIN",
           "-d", folder},
          QString());
    // The bytes have stopped coming; an operator gives up.
    const auto staged = [&target] { return QFileInfo(target + ".part").size(); };
    QTRY_COMPARE_WITH_TIMEOUT(staged(), 1000, 20000);
    QCOMPARE(::kill(pid_t(process.processId()), SIGINT), 0);
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitCode(), 130);
    const QByteArray said = process.readAllStandardError();
    QVERIFY2(said.contains("Transfer cancelled."), said.constData());
    if (localCopy) {
        QCOMPARE(fileBytes(target), QByteArray("the good copy"));
        QCOMPARE(fileBytes(target + ".part"), m_data.left(1000));
    } else {
        QCOMPARE(fileBytes(target), m_data.left(1000));
    }
}

void CliEndToEnd::putAndRmChangeTheDisk()
{
    const QString local = path("my notes.txt");
    QVERIFY(writeFile(local, "gain=2\nmode=fast\n"));
    Outcome outcome = run({"put", local});
    QCOMPARE(outcome.status, 0);
    const QString stored = QDir(m_disk).filePath("mynotes.txt");
    QVERIFY(fileBytes(stored).contains("gain=2") && fileBytes(stored).contains("mode=fast"));
    outcome = run({"--json", "put", local, "--as", "SETUP.INI"});
    QCOMPARE(outcome.status, 0);
    QCOMPARE(QJsonDocument::fromJson(outcome.out)["files"][0]["name"].toString(), "SETUP.INI");
    QVERIFY(QFileInfo::exists(QDir(m_disk).filePath("SETUP.INI")));
    qint64 before = heardSize();
    outcome = run({"rm", "SETUP.INI", "NOPE.INI"});
    QCOMPARE(outcome.status, 1);
    QVERIFY(!heardSince(before).contains("Del"));
    QVERIFY(QFileInfo::exists(QDir(m_disk).filePath("SETUP.INI")));
    before = heardSize();
    outcome = run({"--json", "rm", "setup.ini", "mynotes.txt"});
    QCOMPARE(outcome.status, 0);
    QVERIFY(heardSince(before).contains("Del SETUP.INI\r"));
    QVERIFY(!QFileInfo::exists(QDir(m_disk).filePath("SETUP.INI")));
    QVERIFY(!QFileInfo::exists(stored));
    QCOMPARE(QJsonDocument::fromJson(outcome.out)["deleted"].toArray().size(), 2);
}

void CliEndToEnd::calCheckRunsWithYes()
{
    const QString file = path("calcheck.raw");
    const qint64 before = heardSize();
    const Outcome outcome = run({"--json", "cal-check", "-o", file, "--yes"});
    QCOMPARE(outcome.status, 0);
    QVERIFY(QJsonDocument::fromJson(outcome.out)["complete"].toBool());
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
    QTest::newRow("nothing found") << QStringList{"info"} << QString("") << "No Orvantis found";
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
    QVERIFY(silent.start({"--silent"}));
    const Outcome outcome =
        run({"--port", silent.devicePath(), "--rate", "9600", "status"}, QString(""));
    QCOMPARE(outcome.status, 3);
    QVERIFY(outcome.err.contains("did not answer on " + silent.devicePath().toUtf8()));
}

void CliEndToEnd::lastConnectionFirstThenTheSearch()
{
    const QTemporaryDir home;
    const QString ports = "/dev/null:" + m_sim.devicePath();
    Outcome outcome = run({"find"}, ports, home.path());
    QCOMPARE(outcome.status, 0);
    QVERIFY(outcome.err.contains("Searching"));
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

void CliEndToEnd::baudChangesBothEndsAndIsKept()
{
    SimProcess sim;
    QVERIFY(startSim(sim, {"--state-file", path("sim-state")}));
    const QTemporaryDir home;
    Outcome outcome = run({"--json", "--port", sim.devicePath(), "baud", "115200", "--startup"},
                          sim.devicePath(), home.path());
    QCOMPARE(outcome.status, 0);
    const QJsonObject changed = QJsonDocument::fromJson(outcome.out).object();
    QCOMPARE(changed.value("rate").toInt(), 115200);
    QCOMPARE(changed.value("startupRate").toInt(), 115200);
    // The next command finds it at the new rate, the first it tries.
    outcome = run({"send", "baud"}, sim.devicePath(), home.path());
    QCOMPARE(outcome.status, 0);
    QVERIFY(outcome.out.contains("baud: 115200,115200"));
    QVERIFY(outcome.err.contains("at 115200 baud"));
}

void CliEndToEnd::runKeepsGoingAcrossAnUnplug()
{
    SimProcess sim;
    const QString link = path("orvantis-link");
    const QString record = path("unplugged-sent.bin");
    QVERIFY(startSim(sim, {"--link", link, "--unplug-for", "2", "--record", record}));
    const QString file = path("unplugged.raw");
    QProcess process;
    start(process, {"--port", link, "run", "--period", "0.3", "--for", "10", "-o", file},
          QString());
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += process.readAllStandardOutput()).count('\n') >= 2, 20000);
    const qsizetype beforeUnplug = out.count('\n');
    QVERIFY(sim.unplug());
    // The session reconnects by itself; the run goes on into the same file until its time.
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    out += process.readAllStandardOutput();
    QVERIFY2(out.count('\n') > beforeUnplug + 2, out.constData());
    // The file holds all the instrument sent from the start of the run, across the unplug.
    const QByteArray sent = fileBytes(record);
    QCOMPARE(fileBytes(file), sent.mid(sent.indexOf("start 0.3 ")));
}

QTEST_GUILESS_MAIN(CliEndToEnd)
#include "tst_cli_e2e.moc"
