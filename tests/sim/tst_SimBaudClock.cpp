#include "SimEngine.h"
#include "features/status/InstrumentClock.h"
#include "support/StringCode.h"

#include <QtTest>

// The instrument's rate and clock commands, read back the way the console reads them.

namespace
{

QByteArray ask(SimEngine &engine, const QByteArray &line)
{
    engine.feed(line + '\r');
    return engine.takeOutput();
}

// The answer line after the echo, without its line end.
QByteArray answerLine(const QByteArray &out)
{
    const qsizetype lf = out.indexOf('\n');
    if (lf < 0)
        return QByteArray();
    const qsizetype cr = out.indexOf('\r', lf);
    return cr < 0 ? QByteArray() : out.mid(lf + 1, cr - lf - 1);
}

// The clock as the console reads it: from the first LF up to the next CR.
QDateTime readClock(SimEngine &engine)
{
    const QByteArray out = ask(engine, "time");
    const qsizetype lf = out.indexOf('\n');
    QDate date;
    QTime time;
    if (lf < 0 ||
        !InstrumentClock::parseReply(out.mid(lf, out.indexOf('\r', lf) - lf), &date, &time))
        return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

SimEngine engineAt(int rate, int startupRate = 0)
{
    SimOptions options;
    options.baudRate = rate;
    options.startupBaudRate = startupRate;
    return SimEngine(options);
}

} // namespace

class TestSimBaudClock : public QObject
{
    Q_OBJECT
private slots:
    void rateQueryGivesCurrentThenStartupRate_data();
    void rateQueryGivesCurrentThenStartupRate();
    void changeIsAnnouncedAtTheOldRateThenTheLineSwitches_data();
    void changeIsAnnouncedAtTheOldRateThenTheLineSwitches();
    void storeKeepsTheStartupRateAndLeavesTheLine();
    void badRatesChangeNothing_data();
    void badRatesChangeNothing();
    void clockRunsWithTheEngineAndRollsOverMidnight();
    void badClockSettingsChangeNothing_data();
    void badClockSettingsChangeNothing();
};

void TestSimBaudClock::rateQueryGivesCurrentThenStartupRate_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("startupRate");
    QTest::addColumn<int>("expectedStartup");
    QTest::newRow("startup follows the rate") << 57600 << 0 << 57600;
    QTest::newRow("startup of its own") << 9600 << 115200 << 115200;
}

void TestSimBaudClock::rateQueryGivesCurrentThenStartupRate()
{
    QFETCH(int, rate);
    QFETCH(int, startupRate);
    QFETCH(int, expectedStartup);
    SimEngine engine = engineAt(rate, startupRate);

    const QByteArray out = ask(engine, "baud");
    const QByteArray reply = out.mid(out.indexOf("baud:"));
    QVERIFY(out.startsWith("baud\r\nbaud:"));
    QCOMPARE(ParseNumber(reply), double(rate));
    QCOMPARE(ParseNumber(GetField(reply, 1)), double(expectedStartup));
    QVERIFY(out.endsWith(SimEngine::prompt()));
}

void TestSimBaudClock::changeIsAnnouncedAtTheOldRateThenTheLineSwitches_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("up") << 9600 << 115200;
    QTest::newRow("down") << 115200 << 9600;
    QTest::newRow("same rate") << 57600 << 57600;
}

void TestSimBaudClock::changeIsAnnouncedAtTheOldRateThenTheLineSwitches()
{
    QFETCH(int, from);
    QFETCH(int, to);
    SimEngine engine = engineAt(from);

    const QByteArray changing = ask(engine, "Baud " + QByteArray::number(to));
    QCOMPARE(answerLine(changing), "Changing to " + QByteArray::number(to) + " baud");
    QCOMPARE(ParseNumber(answerLine(changing)), double(to));
    QVERIFY(!changing.contains(SimEngine::prompt()));
    QCOMPARE(engine.baudRate(), from);
    QVERIFY(engine.isBusy());

    // Echo and answer take at most ~40 ms at 9600 baud.
    engine.advance(100);
    QCOMPARE(engine.baudRate(), to);
    QCOMPARE(engine.takeOutput(), SimEngine::prompt());
    QCOMPARE(engine.options().startupBaudRate, from);
}

void TestSimBaudClock::storeKeepsTheStartupRateAndLeavesTheLine()
{
    SimEngine engine = engineAt(9600);
    const QByteArray out = ask(engine, "baud 115200store");
    const QByteArray reply = out.mid(out.indexOf("baud:"));
    QCOMPARE(ParseNumber(GetField(reply, 1)), 115200.0);
    QCOMPARE(engine.options().startupBaudRate, 115200);
    QCOMPARE(engine.baudRate(), 9600);
    QVERIFY(!engine.isBusy());
}

void TestSimBaudClock::badRatesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("unsupported rate") << QByteArray("Baud 12345");
    QTest::newRow("not a number") << QByteArray("Baud fast");
    QTest::newRow("negative") << QByteArray("Baud -9600");
    QTest::newRow("store of an unsupported rate") << QByteArray("baud 300store");
    QTest::newRow("store without a rate") << QByteArray("baud store");
}

void TestSimBaudClock::badRatesChangeNothing()
{
    QFETCH(QByteArray, command);
    SimEngine engine = engineAt(57600);
    const QByteArray out = ask(engine, command);
    QVERIFY2(answerLine(out).startsWith("Bad baud rate"), out.constData());
    QVERIFY(!out.contains("Changing"));
    engine.advance(1000);
    QCOMPARE(engine.baudRate(), 57600);
    QCOMPARE(engine.options().startupBaudRate, 57600);
}

void TestSimBaudClock::clockRunsWithTheEngineAndRollsOverMidnight()
{
    SimEngine engine;
    // Until set, the clock is the computer's.
    QVERIFY(qAbs(readClock(engine).secsTo(
                QDateTime(QDate::currentDate(), QTime::currentTime(), Qt::UTC))) < 5);

    QCOMPARE(answerLine(ask(engine, "time 12/04/2026 23:59:59")), QByteArray());
    QCOMPARE(readClock(engine), QDateTime(QDate(2026, 12, 4), QTime(23, 59, 59), Qt::UTC));
    engine.advance(2000);
    QCOMPARE(readClock(engine), QDateTime(QDate(2026, 12, 5), QTime(0, 0, 1), Qt::UTC));
    QCOMPARE(answerLine(ask(engine, "time")), QByteArray("12/05/2026 00:00:01"));
}

void TestSimBaudClock::badClockSettingsChangeNothing_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("month 13") << QByteArray("time 13/01/2026 10:00:00");
    QTest::newRow("30 February") << QByteArray("time 02/30/2026 10:00:00");
    QTest::newRow("hour 24") << QByteArray("time 01/01/2026 24:00:00");
    QTest::newRow("date only") << QByteArray("time 01/01/2026");
    QTest::newRow("dashes") << QByteArray("time 01-01-2026 10:00:00");
}

void TestSimBaudClock::badClockSettingsChangeNothing()
{
    QFETCH(QByteArray, command);
    SimEngine engine;
    ask(engine, "time 06/07/2025 08:09:10");
    QVERIFY(answerLine(ask(engine, command)).startsWith("Bad date or time"));
    QCOMPARE(readClock(engine), QDateTime(QDate(2025, 6, 7), QTime(8, 9, 10), Qt::UTC));
}

QTEST_GUILESS_MAIN(TestSimBaudClock)
#include "tst_SimBaudClock.moc"
