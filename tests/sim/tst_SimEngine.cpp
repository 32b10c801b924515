#include "LineGarbler.h"
#include "SimEngine.h"
#include "support/StringCode.h"

#include <QtTest>

namespace
{

QByteArray ask(SimEngine &engine, const QByteArray &line)
{
    engine.feed(line + '\r');
    return engine.takeOutput();
}

// The status line the instrument sent, from "st:" up to its CR.
QByteArray statusLine(SimEngine &engine)
{
    const QByteArray out = ask(engine, "st");
    const qsizetype at = out.indexOf("st:");
    if (at < 0)
        return QByteArray();
    return out.mid(at, out.indexOf('\r', at) - at);
}

// Tagged value as the console reads it: case-insensitive tag, value up to the line's CR.
QByteArray taggedValue(const QByteArray &reply, const QByteArray &tag)
{
    const qsizetype at = reply.toLower().indexOf(tag);
    if (at < 0)
        return QByteArray();
    const qsizetype lf = reply.indexOf('\n', at);
    if (lf < 0 || reply.at(lf - 1) != '\r')
        return QByteArray();
    return reply.mid(at + tag.size(), lf - 1 - at - tag.size()).trimmed();
}

bool thermallyStable(const QByteArray &line)
{
    return line.contains(",1,");
}

} // namespace

class TestSimEngine : public QObject
{
    Q_OBJECT
private slots:
    void commandIsEchoedThenAnsweredThenPrompted_data();
    void commandIsEchoedThenAnsweredThenPrompted();
    void byteAtATimeGivesTheSameOutput();
    void threeEtxBringOnePrompt();
    void etxStopsAnAnswerUnderWay();
    void idLinesCarryTheirTags();
    void statusLineReadsAsTheConsoleReadsIt();
    void thermalControlSettlesToStable_data();
    void thermalControlSettlesToStable();
    void lightSourceCountsDownItsWarmUp();
    void switchesChangeTheNextStatusLine();
    void faultSwitches();
    void laterActionsKeepTheirSpacingWhenTheClockJumps();
    void garbageNeverSpellsThePrompt();
};

void TestSimEngine::commandIsEchoedThenAnsweredThenPrompted_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answerHolds");
    QTest::newRow("st") << QByteArray("st") << QByteArray("\r\nst:");
    QTest::newRow("id") << QByteArray("id") << QByteArray("model: ");
    QTest::newRow("power") << QByteArray("power,1") << QByteArray();
    QTest::newRow("empty line") << QByteArray("") << QByteArray();
    QTest::newRow("capitals") << QByteArray("ID") << QByteArray("serial: ");
    QTest::newRow("unknown") << QByteArray("frobnicate 3") << QByteArray("Unknown command");
    QTest::newRow("bad switch") << QByteArray("tpower,7") << QByteArray("Bad argument");
}

void TestSimEngine::commandIsEchoedThenAnsweredThenPrompted()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answerHolds);
    SimEngine engine;
    const QByteArray out = ask(engine, command);
    QVERIFY2(out.startsWith(command + "\r\n"), out.constData());
    QVERIFY(out.endsWith("\r\nOrvantis>") || (command.isEmpty() && out == "\r\nOrvantis>"));
    QCOMPARE(out.count("Orvantis>"), 1);
    QVERIFY(out.contains(answerHolds));
    // Nothing in an answer may end a reply early for a caller waiting on ">".
    QCOMPARE(out.indexOf('>'), out.size() - 1);
}

void TestSimEngine::byteAtATimeGivesTheSameOutput()
{
    const QByteArray input("id\rst\rlpower,0\r\x03st\r");
    SimEngine bulk;
    bulk.feed(input);
    SimEngine single;
    QByteArray out;
    for (char c : input) {
        single.feed(QByteArray(1, c));
        out += single.takeOutput();
    }
    QCOMPARE(out, bulk.takeOutput());
}

void TestSimEngine::threeEtxBringOnePrompt()
{
    SimEngine engine;
    engine.feed("\x03");
    engine.advance(100);
    engine.feed("\x03");
    engine.advance(100);
    engine.feed("\x03");
    QCOMPARE(engine.takeOutput(), QByteArray("\r\nOrvantis>"));

    // Later (a console probing again) the prompt comes back again.
    engine.advance(5000);
    engine.feed("\x03\x03\x03");
    QCOMPARE(engine.takeOutput(), QByteArray("\r\nOrvantis>"));

    // A prompt that ended a command does not count: the probe after it still gets one.
    ask(engine, "st");
    engine.feed("\x03\x03\x03");
    QCOMPARE(engine.takeOutput(), QByteArray("\r\nOrvantis>"));
    engine.lineOpened();
    engine.feed("\x03");
    QCOMPARE(engine.takeOutput(), QByteArray("\r\nOrvantis>"));

    // Half-typed text is thrown away.
    engine.feed("tpow\x03st\r");
    const QByteArray out = engine.takeOutput();
    QVERIFY(out.startsWith("\r\nOrvantis>st\r\nst:"));
}

void TestSimEngine::etxStopsAnAnswerUnderWay()
{
    SimOptions options;
    options.replyDelayMs = 500;
    SimEngine engine(options);
    engine.feed("id\r");
    QCOMPARE(engine.takeOutput(), QByteArray("id\r\n"));
    engine.advance(100);
    engine.feed("\x03");
    engine.advance(1000);
    QCOMPARE(engine.takeOutput(), QByteArray("\r\nOrvantis>"));
    QCOMPARE(engine.nextDueMs(), -1);
}

void TestSimEngine::idLinesCarryTheirTags()
{
    SimOptions options;
    options.serial = "SN0042";
    SimEngine engine(options);
    const QByteArray out = ask(engine, "id");
    QCOMPARE(taggedValue(out, "model:"), options.model);
    QCOMPARE(taggedValue(out, "serial:"), QByteArray("SN0042"));
    QCOMPARE(taggedValue(out, "configuration:"), options.configuration);
    QCOMPARE(ParseNumber(taggedValue(out, "depth:")), 600.0);
    QCOMPARE(ParseNumber(taggedValue(out, "firmware")), 2.61);
    QVERIFY(!out.toLower().contains("st:"));
}

void TestSimEngine::statusLineReadsAsTheConsoleReadsIt()
{
    SimOptions options;
    options.initialDeviation = 2.34;
    options.lightWarmupSeconds = 95;
    SimEngine engine(options);
    const QByteArray line = statusLine(engine);
    QVERIFY(line.startsWith("st:"));
    QCOMPARE(line.at(3), '1');
    QCOMPARE(line.mid(5, 2), QByteArray("11"));
    QCOMPARE(LeadingNumber(GetField(line, 1)), 2.34);
    QCOMPARE(GetField(line, 2), QByteArray("0"));
    QCOMPARE(LeadingNumber(GetField(line, 3)), 95.0);
    QCOMPARE(GetField(line, 4), QByteArray("21.5"));
    QVERIFY(!thermallyStable(line));
}

void TestSimEngine::thermalControlSettlesToStable_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<int>("firstState");
    QTest::newRow("cooling") << 3.0 << int(SimStatusModel::Thermal::Cooling);
    QTest::newRow("warming") << -2.5 << int(SimStatusModel::Thermal::Warming);
    QTest::newRow("settling") << 0.5 << int(SimStatusModel::Thermal::Settling);
}

void TestSimEngine::thermalControlSettlesToStable()
{
    QFETCH(double, start);
    QFETCH(int, firstState);
    SimOptions options;
    options.initialDeviation = start;
    SimEngine engine(options);
    QCOMPARE(int(engine.status().thermalState()), firstState);

    double previous = std::abs(start);
    bool sawSettling = false;
    for (int second = 0; second < 120 && !thermallyStable(statusLine(engine)); ++second) {
        const double deviation = LeadingNumber(GetField(statusLine(engine), 1));
        QVERIFY(std::abs(deviation) <= previous + 1e-9);
        previous = std::abs(deviation);
        sawSettling |= engine.status().thermalState() == SimStatusModel::Thermal::Settling;
        engine.advance(1000);
    }
    QVERIFY(sawSettling);
    QVERIFY(thermallyStable(statusLine(engine)));
    QCOMPARE(engine.status().thermalState(), SimStatusModel::Thermal::Stable);
    QCOMPARE(LeadingNumber(GetField(statusLine(engine), 1)), 0.0);
}

void TestSimEngine::lightSourceCountsDownItsWarmUp()
{
    SimEngine engine;
    QCOMPARE(LeadingNumber(GetField(statusLine(engine), 3)), 120.0);
    engine.advance(30500);
    QCOMPARE(LeadingNumber(GetField(statusLine(engine), 3)), 89.5);
    engine.advance(200000);
    QCOMPARE(LeadingNumber(GetField(statusLine(engine), 3)), 0.0);
    QVERIFY(thermallyStable(statusLine(engine)));
}

void TestSimEngine::switchesChangeTheNextStatusLine()
{
    SimEngine engine;
    engine.advance(300000);
    QByteArray line = statusLine(engine);
    QVERIFY(thermallyStable(line));

    ask(engine, "tpower,0");
    line = statusLine(engine);
    QVERIFY(line.mid(5, 2) != "11");
    QVERIFY(!thermallyStable(line));
    engine.advance(10000);
    QVERIFY(LeadingNumber(GetField(statusLine(engine), 1)) > 0.5); // drifting away again
    ask(engine, "tpower,1");
    QCOMPARE(statusLine(engine).mid(5, 2), QByteArray("11"));

    ask(engine, "lpower,0");
    line = statusLine(engine);
    QCOMPARE(line.at(3), '0');
    QCOMPARE(LeadingNumber(GetField(line, 3)), 120.0);
    ask(engine, "lpower,1");
    engine.advance(1000);
    line = statusLine(engine);
    QCOMPARE(line.at(3), '1');
    QCOMPARE(LeadingNumber(GetField(line, 3)), 119.0);

    ask(engine, "power,0");
    line = statusLine(engine);
    QCOMPARE(line.at(3), '0');
    QCOMPARE(line.mid(5, 2), QByteArray("00"));
}

void TestSimEngine::faultSwitches()
{
    SimEngine engine;
    engine.options().silent = true;
    engine.feed("\x03\x03\x03id\r");
    engine.advance(1000);
    QVERIFY(engine.takeOutput().isEmpty());
    engine.options().silent = false;

    engine.options().noSerial = true;
    QVERIFY(taggedValue(ask(engine, "id"), "serial:").isEmpty());
    engine.options().noSerial = false;

    engine.options().statusMuteMs = 5000;
    QVERIFY(statusLine(engine).isEmpty());
    engine.advance(5000);
    QVERIFY(!statusLine(engine).isEmpty());
    engine.options().statusMuteMs = -1;
    engine.advance(100000);
    const QByteArray muted = ask(engine, "st");
    QCOMPARE(muted, QByteArray("st\r\nOrvantis>"));
    engine.options().statusMuteMs = 0;

    // A late status line: the switch asked after it is echoed and done first, and the line
    // still tells the light as it was when asked.
    engine.options().statusDelayMs = 500;
    QCOMPARE(ask(engine, "st"), QByteArray("st\r\nOrvantis>"));
    QCOMPARE(ask(engine, "lpower,0"), QByteArray("lpower,0\r\nOrvantis>"));
    engine.advance(499);
    QVERIFY(engine.takeOutput().isEmpty());
    engine.advance(1);
    QVERIFY(engine.takeOutput().startsWith("st:1"));
    engine.options().statusDelayMs = 0;
    QCOMPARE(statusLine(engine).at(3), '0');

    engine.options().replyDelayMs = 700;
    engine.feed("id\r");
    QCOMPARE(engine.takeOutput(), QByteArray("id\r\n"));
    engine.advance(699);
    QVERIFY(engine.takeOutput().isEmpty());
    QCOMPARE(engine.nextDueMs(), engine.now() + 1);
    engine.advance(1);
    const QByteArray late = engine.takeOutput();
    QVERIFY(late.startsWith("model: "));
    QVERIFY(late.endsWith("Orvantis>"));
}

void TestSimEngine::laterActionsKeepTheirSpacingWhenTheClockJumps()
{
    SimEngine engine;
    QList<qint64> times;
    engine.addCommand("tick", [&times](SimEngine &e, const SimCommandLine &command) {
        e.keepBusy();
        const int count = command.rest.toInt();
        for (int i = 1; i <= count; ++i) {
            e.later(i * 1000, [&times, &e, i, count] {
                times.append(e.now());
                e.sendLine("tick " + QByteArray::number(i));
                if (i == count)
                    e.finishCommand();
            });
        }
    });
    engine.feed("tick 3\r");
    engine.feed("st\r"); // ignored while busy
    engine.advance(10000);
    QCOMPARE(engine.takeOutput(), QByteArray("tick 3\r\ntick 1\r\ntick 2\r\ntick 3\r\nOrvantis>"));
    QVERIFY(!engine.isBusy());
}

void TestSimEngine::garbageNeverSpellsThePrompt()
{
    LineGarbler garbler;
    const QByteArray text = QByteArray("Orvantis>ntis>\r\n").repeated(200);
    const QByteArray garbage = garbler.garble(text) + garbler.answerTo("\x03\x03\x03id\r");
    QCOMPARE(garbage.size(), text.size() + 10);
    for (char c : garbage)
        QVERIFY(quint8(c) >= 0x80);
    QCOMPARE(LineGarbler().garble(text), LineGarbler().garble(text));
}

QTEST_GUILESS_MAIN(TestSimEngine)
#include "tst_SimEngine.moc"
