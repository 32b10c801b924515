// What the end-to-end tests rely on from the simulated instrument where they could not tell
// it went wrong: its answers, ETX, sampling, the end of a session, the rate a byte crosses at.
#include "SimEngine.h"
#include "testkit/SessionRig.h"
#include "testkit/SimProcess.h"
#include "testkit/SimulatedInstrument.h"
#include "testkit/TestFiles.h"

#include <QScopeGuard>
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
    SimOptions options;
    options.seedDisk = false;
    SimEngine engine(options);
    engine.feed("Acquire auto,10,1,SAMPLE1,0,-1,1\r");
    // Stored, not sent: only the echo and the prompt.
    QCOMPARE(runUntil(engine, 60000), "Acquire auto,10,1,SAMPLE1,0,-1,1\r\n" + kPrompt);
    QByteArray stored;
    QVERIFY(engine.disk().read("SAMPLE1.RAW", &stored) && stored.startsWith("sample,1,"));
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
    // The console's end of the line, opened as a plain file.
    const int fd =
        ::open(QFile::encodeName(sim.devicePath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(fd >= 0);
    auto closer = qScopeGuard([fd] { ::close(fd); });
    const auto setRate = [fd](speed_t speed) {
        termios settings{};
        ::tcgetattr(fd, &settings);
        cfmakeraw(&settings);
        return cfsetspeed(&settings, speed) == 0 && ::tcsetattr(fd, TCSANOW, &settings) == 0;
    };
    // Another program left the line at 57600; the console sets the instrument's 9600.
    termios old{};
    QVERIFY(setRate(B57600) && ::tcgetattr(fd, &old) == 0 && setRate(B9600));
    // 12 ms on the line: the last of them is still in the adapter when the rate changes.
    const QByteArray stop(12, '\x03');
    QVERIFY(::write(fd, stop.constData(), size_t(stop.size())) == stop.size());
    if (then == Then::ChangeRate)
        QVERIFY(setRate(B57600));
    if (then == Then::PutBackAndClose)
        QVERIFY(::tcsetattr(fd, TCSANOW, &old) == 0);
    if (then != Then::ChangeRate) {
        closer.dismiss();
        ::close(fd);
    }
    QTRY_COMPARE(fileBytes(heard).size(), stop.size());
    if (then == Then::Close)
        QCOMPARE(fileBytes(heard), stop);
    else
        QVERIFY2(quint8(fileBytes(heard).back()) >= 0x80, fileBytes(heard).toHex().constData());
}

QTEST_GUILESS_MAIN(SimulatorContract)
#include "tst_simulator.moc"
