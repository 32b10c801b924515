// The simulated instrument's side of the contract the end-to-end tests rely on where they
// could not tell it went wrong: it echoes, answers and prompts as the instrument does, stops
// on ETX and samples; in memory, a closed or hung-up line ends its session; over a pty, it
// hears each byte at the rate the line had when it took it.
#include "SimEngine.h"
#include "support/StringCode.h"
#include "testkit/SessionRig.h"
#include "testkit/SimProcess.h"
#include "testkit/SimulatedInstrument.h"

#include <QtTest>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace
{
const QByteArray kPrompt("Orvantis>");

QByteArray ask(SimEngine &engine, const QByteArray &line)
{
    engine.feed(line + '\r');
    return engine.takeOutput();
}

// Everything the engine sends until engine time `untilMs`.
QByteArray runUntil(SimEngine &engine, qint64 untilMs)
{
    QByteArray out = engine.takeOutput();
    for (qint64 due = engine.nextDueMs(); due >= 0 && due <= untilMs; due = engine.nextDueMs()) {
        engine.setNow(due);
        out += engine.takeOutput();
    }
    engine.setNow(untilMs);
    return out + engine.takeOutput();
}

SimOptions emptyDisk()
{
    SimOptions options;
    options.seedDisk = false;
    return options;
}

QByteArray fileOf(SimEngine &engine, const QByteArray &name)
{
    QByteArray bytes;
    return engine.disk().read(name, &bytes) ? bytes : QByteArray("<missing>");
}

QByteArray fileOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The console's end of orvantis-sim's line, opened as a plain file.
class FarEnd
{
public:
    explicit FarEnd(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
    }
    ~FarEnd() { close(); }
    bool isOpen() const { return m_fd >= 0; }
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool setLine(const termios &settings) { return ::tcsetattr(m_fd, TCSANOW, &settings) == 0; }
    termios line() const
    {
        termios settings{};
        ::tcgetattr(m_fd, &settings);
        return settings;
    }
    bool setRate(speed_t speed)
    {
        termios settings = line();
        cfmakeraw(&settings);
        return cfsetspeed(&settings, speed) == 0 && setLine(settings);
    }
    bool write(const QByteArray &bytes)
    {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

private:
    int m_fd;
};
enum class Then { Close, ChangeRate, PutBackAndClose };
} // namespace

Q_DECLARE_METATYPE(Then)

class SimulatorContract : public QObject
{
    Q_OBJECT

private slots:
    void commandIsEchoedThenAnsweredThenPrompted_data();
    void commandIsEchoedThenAnsweredThenPrompted();
    void etxStopsWhatIsUnderWayAndThreeBringOnePrompt();
    void acquireAndPeriodicSampling();
    void closedLineHearsNothingOfTheLastSession();
    void hangUpFailsThePortUntilPluggedInAgain();
    void bytesCrossAtTheRateTheLineHasAsItTakesThem_data();
    void bytesCrossAtTheRateTheLineHasAsItTakesThem();
};

void SimulatorContract::commandIsEchoedThenAnsweredThenPrompted_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answerHolds");
    // clang-format off
    QTest::newRow("st") << QByteArray("st") << QByteArray("\r\nst:1011,");
    QTest::newRow("id") << QByteArray("id") << QByteArray("\r\nserial: 1021\r\n");
    QTest::newRow("capitals") << QByteArray("ID") << QByteArray("model: ");
    QTest::newRow("power") << QByteArray("power,1") << QByteArray();
    QTest::newRow("baud") << QByteArray("baud") << QByteArray("baud: 9600,9600");
    QTest::newRow("unknown") << QByteArray("frobnicate 3") << QByteArray("Unknown command");
    QTest::newRow("bad switch") << QByteArray("tpower,7") << QByteArray("Bad argument");
    // clang-format on
}

void SimulatorContract::commandIsEchoedThenAnsweredThenPrompted()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answerHolds);
    SimEngine engine;
    const QByteArray out = ask(engine, command);
    QVERIFY2(out.startsWith(command + "\r\n") && out.endsWith("\r\n" + kPrompt), out.constData());
    QVERIFY2(out.contains(answerHolds), out.constData());
    // Nothing in an answer may end a reply early for a caller waiting on ">".
    QCOMPARE(out.indexOf('>'), out.size() - 1);
}

void SimulatorContract::etxStopsWhatIsUnderWayAndThreeBringOnePrompt()
{
    SimOptions options;
    options.replyDelayMs = 500;
    SimEngine engine(options);
    engine.feed("id\r");
    QCOMPARE(engine.takeOutput(), QByteArray("id\r\n"));
    engine.advance(100);
    engine.feed("\x03");
    engine.advance(100);
    engine.feed("\x03\x03");
    QCOMPARE(runUntil(engine, 2000), "\r\n" + kPrompt);
    // Half-typed text is thrown away.
    engine.feed("tpow\x03st\r");
    const QByteArray out = runUntil(engine, engine.now() + 2000);
    QVERIFY2(out.contains("st\r\nst:") && !out.contains("Unknown"), out.constData());
}

void SimulatorContract::acquireAndPeriodicSampling()
{
    SimEngine engine(emptyDisk());
    engine.feed("Acquire auto,10,1,SAMPLE1,0,-1,1\r");
    // Stored, not sent: only the echo and the prompt.
    QCOMPARE(runUntil(engine, 60000), "Acquire auto,10,1,SAMPLE1,0,-1,1\r\n" + kPrompt);
    QVERIFY(fileOf(engine, "SAMPLE1.RAW").startsWith("sample,1,"));
    const QByteArray command("start 10 Acquire auto,1,1,\"\",0,-1,2");
    engine.feed(command + '\r');
    const QByteArray out = runUntil(engine, engine.now() + 35000);
    QVERIFY(out.startsWith(command + "\r\n"));
    // Samples at 0, 10, 20 and 30 s, each followed by the prompt.
    QCOMPARE(out.count("sample,"), 4);
    QCOMPARE(out.count(kPrompt), 4);
    QVERIFY(out.endsWith(kPrompt));
    engine.feed("\x03\x03\x03");
    const QByteArray stopped = runUntil(engine, engine.now() + 35000);
    QVERIFY2(!stopped.contains("sample,"), stopped.constData());
    QVERIFY(ask(engine, "st").contains("st:"));
}

void SimulatorContract::closedLineHearsNothingOfTheLastSession()
{
    SimOptions options;
    options.replyDelayMs = 100;
    SimulatedInstrument port(options);
    port.setManualClock(true);
    SessionRig link(port);
    QVERIFY(link.open());
    port.write("id\r");
    port.close();
    port.skipAhead(1000);
    QVERIFY(!port.write("st\r"));
    QVERIFY(link.open());
    // The answer to "id" was meant for the closed session.
    const QByteArray reply = link.line().SendCommand("\x03", "", "ntis>", 0.3f);
    QCOMPARE(reply, QByteArray("\r\nOrva"));
}

void SimulatorContract::hangUpFailsThePortUntilPluggedInAgain()
{
    SimOptions options;
    options.hangupOnProbe = true;
    SimulatedInstrument port(options);
    SessionRig link(port);
    link.session.setReconnectAutomatically(false);
    QVERIFY(link.open());
    link.line().SendCommand("\x03\x03\x03", "", "ntis>", 1);
    QTRY_COMPARE(link.dialogs.errors.size(), 1);
    QVERIFY(!port.isOpen());
    QVERIFY(!port.write("st\r"));
    QVERIFY(!link.open());
    port.engine().options().hangupOnProbe = false;
    port.plugIn();
    QVERIFY(link.open());
    QVERIFY(link.line().SendCommand("id\r", "", "ntis>", 1).contains("serial: 1021"));
}

void SimulatorContract::bytesCrossAtTheRateTheLineHasAsItTakesThem_data()
{
    QTest::addColumn<Then>("then");
    QTest::newRow("closed as it is") << Then::Close;
    QTest::newRow("another rate at once") << Then::ChangeRate;
    QTest::newRow("closed with the old settings put back") << Then::PutBackAndClose;
}

void SimulatorContract::bytesCrossAtTheRateTheLineHasAsItTakesThem()
{
    QFETCH(Then, then);
    QTemporaryDir dir;
    const QString heard = dir.filePath("heard");
    SimProcess sim;
    QVERIFY2(sim.start({"--record-input", heard}), qPrintable(sim.errorString()));
    FarEnd console(sim.devicePath());
    QVERIFY(console.isOpen());
    // Another program left the line at 57600; the console sets the instrument's 9600.
    QVERIFY(console.setRate(B57600));
    const termios old = console.line();
    QVERIFY(console.setRate(B9600));
    // 12 ms on the line: the last of them is still in the adapter when the rate changes.
    const QByteArray stop(12, '\x03');
    QVERIFY(console.write(stop));
    if (then == Then::ChangeRate)
        QVERIFY(console.setRate(B57600));
    if (then == Then::PutBackAndClose)
        QVERIFY(console.setLine(old));
    if (then != Then::ChangeRate)
        console.close();
    QTRY_COMPARE(fileOf(heard).size(), stop.size());
    if (then == Then::Close)
        QCOMPARE(fileOf(heard), stop);
    else
        QVERIFY2(quint8(fileOf(heard).back()) >= 0x80, fileOf(heard).toHex().constData());
}

QTEST_GUILESS_MAIN(SimulatorContract)
#include "tst_simulator.moc"
