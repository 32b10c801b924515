// The texts the console and the instrument exchange, read and written without a line: numbers
// and fields, the acquire commands, the status line, the identification, the clock's reply,
// the directory listings and the bytes typed keys send.
#include "features/files/DirListing.h"
#include "features/files/DirSort.h"
#include "features/files/ParseDirDate.h"
#include "features/processing/ProcessingListing.h"
#include "features/sampling/AcquireCommand.h"
#include "features/sampling/SampleLedger.h"
#include "features/status/InstrumentClock.h"
#include "features/status/StatusHistory.h"
#include "features/status/StatusParser.h"
#include "features/terminal/TerminalKeys.h"
#include "session/InstrumentInfo.h"
#include "support/StringCode.h"
#include "support/StringQueue.h"
#include "testkit/PlainLinkStatus.h"
#include "testkit/TestFiles.h"

#include <QDate>
#include <QtTest>

namespace
{
// A panel's lamps top to bottom (lampLetters), with "!" after the lot when a row's caption
// is not greyed exactly when its lamp is out.
QString lamps(const StatusPanels::Panel &panel)
{
    QString out = lampLetters({panel.rows[0].lamp, panel.rows[1].lamp, panel.rows[2].lamp});
    for (const auto &row : panel.rows) {
        if (row.labelEnabled != isLit(row.lamp))
            out += '!';
    }
    return out;
}

struct Connected {
    PlainLinkStatus status;
    StatusParser parser{status};
    Connected() { status.SetStatus(StatusCode::Idle); }
};

double dayNumber(int year, int month, int day)
{
    return double(QDate(year, month, day).toJulianDay() - QDate(1899, 12, 30).toJulianDay());
}
} // namespace

class ProtocolTexts : public QObject
{
    Q_OBJECT

private slots:
    void numbersInReplies_data();
    void numbersInReplies();
    void leadingNumbers_data();
    void leadingNumbers();
    void fieldsAndLines();
    void buffersAndQueue();
    void acquireCommand_data();
    void acquireCommand();
    void startCommandAndPeriod();
    void runSamplesEndAtThePrompt();
    void statusLine_data();
    void statusLine();
    void settlingLampBlinksAndEmptyReplyPutsLampsOut();
    void nestedLineFromSwitchHandlingIsOverwrittenByTheOuterOne();
    void statusHistoryCsv();
    void identification_data();
    void identification();
    void clockReplies_data();
    void clockReplies();
    void directoryDates_data();
    void directoryDates();
    void directoryListingAndSort();
    void processingListingEnd();
    void typedKeys_data();
    void typedKeys();
};

void ProtocolTexts::numbersInReplies_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("extracted");
    QTest::addColumn<double>("parsed");
    QTest::newRow("port entry") << QByteArray("COM 12  (/dev/ttyUSB3)") << 12 << 12.0;
    QTest::newRow("settings") << QByteArray("57600,n,8,1") << 57600 << 57600.0;
    QTest::newRow("two rates") << QByteArray("baud: 57600,9600") << 57600 << 57600.0;
    QTest::newRow("changing") << QByteArray("Changing baud rate to 19200 now") << 19200 << 19200.0;
    QTest::newRow("signed with unit") << QByteArray("Ambient -12.5V") << 12 << -12.5;
    QTest::newRow("no digits") << QByteArray("none") << 0 << 0.0;
}

void ProtocolTexts::numbersInReplies()
{
    QFETCH(QByteArray, text);
    QTEST(ExtractNumber(text), "extracted");
    QTEST(ParseNumber(text), "parsed");
}

// A number as typed by an operator or sent by the instrument: blanks anywhere, hexadecimal
// and octal after "&H" and "&O", an exponent after E or D; whatever follows is ignored.
void ProtocolTexts::leadingNumbers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("blanks between digits") << QByteArray(" 1 2\t3\n") << 123.0;
    QTest::newRow("sign, point, unit") << QByteArray("-12.5V") << -12.5;
    QTest::newRow("plus and a bare point") << QByteArray("+.5") << 0.5;
    QTest::newRow("second point ends it") << QByteArray("1.2.3") << 1.2;
    QTest::newRow("exponent E") << QByteArray("-4.5e2x") << -450.0;
    QTest::newRow("exponent D with sign") << QByteArray("15D-1") << 1.5;
    QTest::newRow("exponent without digits") << QByteArray("2e+") << 2.0;
    QTest::newRow("too large") << QByteArray("1e999") << 0.0;
    QTest::newRow("hexadecimal") << QByteArray("&H1f") << 31.0;
    QTest::newRow("hexadecimal ends at a non-digit") << QByteArray("&hFG") << 15.0;
    QTest::newRow("octal") << QByteArray("&O17") << 15.0;
    QTest::newRow("octal ends at 8") << QByteArray("&o78") << 7.0;
    QTest::newRow("other radix") << QByteArray("&B101") << 0.0;
    QTest::newRow("sign alone") << QByteArray("-") << 0.0;
    QTest::newRow("words") << QByteArray("none") << 0.0;
}

void ProtocolTexts::leadingNumbers()
{
    QFETCH(QByteArray, text);
    QTEST(LeadingNumber(text), "value");
}

void ProtocolTexts::fieldsAndLines()
{
    QCOMPARE(GetField("1,0,1,1,23.5", 4), QByteArray("23.5"));
    QCOMPARE(GetField("1,0,1,1,23.5", 5), QByteArray());
    // The comma is searched from the second character: a leading comma is field 0's.
    QCOMPARE(GetField(",x,y", 0), QByteArray(",x"));
    QCOMPARE(GetField("a,,b", 1), QByteArray(",b"));
    QByteArray text("first line\r\n\x03\r\nsecond\r\ntail");
    QCOMPARE(NextLine(text), QByteArray("first line"));
    QCOMPARE(NextLine(text), QByteArray("second"));
    // Without a line end the rest stays for the next reply.
    QCOMPARE(NextLine(text), QByteArray());
    QCOMPARE(text, QByteArray("tail"));
}

// The toolbox's buffers for the system's dialogs, its digit test, and a queue that drops its
// oldest string when full (one slot stays free, so it holds one fewer than its limit).
void ProtocolTexts::buffersAndQueue()
{
    QCOMPARE(PadWithNulls("ab", 4), QByteArray("ab\0\0", 4));
    QCOMPARE(AppendNull("ab"), QByteArray("ab\0", 3));
    QCOMPARE(QList<bool>({IsDigit("7x"), IsDigit("x7"), IsDigit("")}),
             QList<bool>({true, false, false}));
    StringQueue queue;
    queue.setMaxSize(3);
    for (const char *text : {"a", "b", "c", "d"})
        queue.Add(text);
    QCOMPARE(queue.size(), 2);
    QCOMPARE(QStringList({queue.GetNext(), queue.GetNext(), queue.GetNext()}),
             QStringList({"c", "d", ""}));
    queue.Add("e");
    queue.Clear();
    QCOMPARE(queue.size(), 0);
}

void ProtocolTexts::acquireCommand_data()
{
    QTest::addColumn<bool>("average");
    QTest::addColumn<QString>("samples");
    QTest::addColumn<bool>("flash");
    QTest::addColumn<QString>("flashName");
    QTest::addColumn<bool>("computer");
    QTest::addColumn<QByteArray>("command");
    // clang-format off
    QTest::newRow("computer") << false << "10" << false << "" << true << QByteArray("Acquire auto,1,1,\"\",0,-1,2\r");
    QTest::newRow("flash and computer, name cut to 7") << true << "10" << true << "SAMPLE12" << true << QByteArray("Acquire auto,10,1,SAMPLE1,0,-1,4\r");
    QTest::newRow("flash only") << false << "10" << true << "RUN" << false << QByteArray("Acquire auto,1,1,RUN,0,-1,1\r");
    QTest::newRow("neither drops the field and its comma") << false << "10" << false << "" << false << QByteArray("Acquire auto,1,1,\"\",0,-1\r");
    QTest::newRow("averaging 25") << true << "25" << false << "" << true << QByteArray("Acquire auto,25,1,\"\",0,-1,2\r");
    QTest::newRow("unticked averaging sends 1") << false << "25" << false << "" << true << QByteArray("Acquire auto,1,1,\"\",0,-1,2\r");
    QTest::newRow("averaging text as typed") << true << "ab c" << false << "" << true << QByteArray("Acquire auto,ab c,1,\"\",0,-1,2\r");
    QTest::newRow("flash with empty name") << false << "10" << true << "" << true << QByteArray("Acquire auto,1,1,,0,-1,4\r");
    QTest::newRow("name of exactly 7") << false << "10" << true << "ABCDEFG" << true << QByteArray("Acquire auto,1,1,ABCDEFG,0,-1,4\r");
    QTest::newRow("name ignored without flash") << false << "10" << false << "SAMPLE12" << true << QByteArray("Acquire auto,1,1,\"\",0,-1,2\r");
    // clang-format on
}

void ProtocolTexts::acquireCommand()
{
    SamplingSettings settings;
    QFETCH(bool, average);
    QFETCH(QString, samples);
    QFETCH(bool, flash);
    QFETCH(QString, flashName);
    QFETCH(bool, computer);
    settings.average = average;
    settings.averageSamples = samples;
    settings.storeInFlash = flash;
    settings.flashFileName = flashName;
    settings.storeInComputer = computer;
    QTEST(BuildAcquireCommand(settings), "command");
}

void ProtocolTexts::startCommandAndPeriod()
{
    const QByteArray acquire = BuildAcquireCommand(SamplingSettings());
    QCOMPARE(BuildStartCommand(10, acquire), "start 10 " + acquire);
    QCOMPARE(BuildStartCommand(2.5, acquire), "start 2.5 " + acquire);
    QCOMPARE(BuildStartCommand(-3, acquire), "start-3 " + acquire);
    double seconds = -1;
    QVERIFY(ReadMinimumPeriod(" 7 ", &seconds));
    QCOMPARE(seconds, 7.0);
    for (const char *bad : {"", "ten", "10s", "inf"})
        QVERIFY2(!ReadMinimumPeriod(QString::fromLatin1(bad), &seconds), bad);
}

// A run's sample ends at the prompt, even split between two writes; a bare prompt (blanks and
// ETX before it) is none, nor is a sample the stop cut (its piece ends at the stop's answer).
void ProtocolTexts::runSamplesEndAtThePrompt()
{
    SampleLedger ledger;
    QCOMPARE(
        ledger.take("start 1 Acquire\r\nsample,1\r\nOrvantis> \t\x03\r\nOrvantis>sample,2\r\nOrv")
            .size(),
        1);
    QCOMPARE(ledger.take("antis>sample,3").size(), 1);
    ledger.stopping();
    ledger.take("\x03\r\nOrvantis>");
    QCOMPARE(ledger.finish().size(), 0);
    QCOMPARE(ledger.count(), 2);
    QVERIFY(ledger.endsAtPrompt());
}

void ProtocolTexts::statusLine_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("thermalLamps");
    QTest::addColumn<QString>("thermalCaption");
    QTest::addColumn<QString>("lightLamps");
    QTest::addColumn<QString>("lightCaption");
    QTest::addColumn<int>("interval");
    // clang-format off
    QTest::newRow("cooling, warming up") << QByteArray("st:1011,2.34,0,95,21.5\r\n") << "-Y-" << "Cooling (2.3C)" << "-Y-" << "Stabilizing (1.6 min.)" << 3000;
    QTest::newRow("warming") << QByteArray("st:1011,-3.21,0,95,21.5") << "-Y-" << "Warming (-3.2C)" << "-Y-" << "Stabilizing (1.6 min.)" << 3000;
    QTest::newRow("cooling from 1.0") << QByteArray("st:1011,1.0,0,0,20") << "-Y-" << "Cooling (1.0C)" << "G--" << "Stabilizing" << 3000;
    QTest::newRow("warming from -1.0") << QByteArray("st:1011,-1.0,0,0,20") << "-Y-" << "Warming (-1.0C)" << "G--" << "Stabilizing" << 3000;
    QTest::newRow("0.99 stabilizing") << QByteArray("st:1011,0.99,0,0,20") << "-Y-" << "Stabilizing (1.0C)" << "G--" << "Stabilizing" << 3000;
    QTest::newRow("both stable") << QByteArray("st:1011,0.2,1,0,21.5") << "G--" << "Stabilizing (0.2C)" << "G--" << "Stabilizing" << 30000;
    QTest::newRow("light still warming") << QByteArray("st:1011,0.1,1,10,21.5") << "G--" << "Stabilizing (0.1C)" << "-Y-" << "Stabilizing (0.2 min.)" << 3000;
    QTest::newRow("0.5 s rounds to even") << QByteArray("st:1011,0,1,0.5,20") << "G--" << "Stabilizing (0.0C)" << "G--" << "Stabilizing" << 30000;
    QTest::newRow("1.5 s rounds to even") << QByteArray("st:1011,0,1,1.5,20") << "G--" << "Stabilizing (0.0C)" << "-Y-" << "Stabilizing (0.0 min.)" << 3000;
    QTest::newRow("thermal pair 10 is off") << QByteArray("st:1010,5,0,0,20") << "--R" << "Stabilizing" << "G--" << "Stabilizing" << 3000;
    QTest::newRow("light off") << QByteArray("st:0011,0,1,95,20") << "G--" << "Stabilizing (0.0C)" << "--R" << "Stabilizing" << 3000;
    QTest::newRow("all off, on/off flags do not count") << QByteArray("st:0000,0,1,0,20") << "--R" << "Stabilizing" << "--R" << "Stabilizing" << 30000;
    // clang-format on
}

void ProtocolTexts::statusLine()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, interval);
    Connected c;
    const StatusParseResult result = c.parser.ParseStatus(reply);
    const StatusPanels &panels = c.parser.panels();
    QTEST(lamps(panels.thermal), "thermalLamps");
    QTEST(panels.thermal.rows[1].caption, "thermalCaption");
    QTEST(lamps(panels.light), "lightLamps");
    QTEST(panels.light.rows[1].caption, "lightCaption");
    QCOMPARE(result.statusTimerInterval, interval);
    QCOMPARE(result.fullyStable, interval == 30000);
    QVERIFY(panels.thermal.checkEnabled && panels.light.checkEnabled);
}

void ProtocolTexts::settlingLampBlinksAndEmptyReplyPutsLampsOut()
{
    Connected c;
    // Any status line shows that the instrument answers again.
    c.status.SetStatus(StatusCode::NoResponse);
    const QByteArray settling("st:1011,2.34,0,95,21.5\r\n");
    c.parser.ParseStatus(settling);
    QCOMPARE(c.status.Status(), StatusCode::Idle);
    QString seen = lamps(c.parser.panels().thermal);
    for (int i = 0; i < 3; ++i) {
        c.parser.ParseStatus(settling);
        seen += lamps(c.parser.panels().thermal);
    }
    QCOMPARE(seen, QString("-Y--A--Y--A-"));
    // The light panel's middle lamp does not blink.
    QCOMPARE(lamps(c.parser.panels().light), QString("-Y-"));
    const StatusParseResult result = c.parser.ParseStatus(QByteArray());
    QCOMPARE(result.statusTimerInterval, 0);
    QCOMPARE(c.parser.panels().thermal.rows[1].lamp, LampColour::Unlit);
    QVERIFY(!c.parser.panels().thermal.checkEnabled);
    QCOMPARE(c.parser.panels().thermal.rows[1].caption, QString("Cooling (2.3C)"));
}

void ProtocolTexts::nestedLineFromSwitchHandlingIsOverwrittenByTheOuterOne()
{
    Connected c;
    // The box's handling sends the power command and queries again; that query's line
    // arrives while the outer line is still being shown.
    c.parser.setSwitchCheckedHandler([&](StatusSwitch) {
        const StatusParseResult nested = c.parser.ParseStatus("st:1011,-4,0,95,19.0");
        QCOMPARE(c.parser.panels().thermal.rows[1].lamp, LampColour::Yellow);
        QCOMPARE(nested.statusTimerInterval, 3000);
    });
    c.parser.setSwitchChecked(StatusSwitch::Thermal, false);
    c.parser.ParseStatus("st:0011,2.34,0,0,21.5");
    const StatusPanels &panels = c.parser.panels();
    QVERIFY(panels.thermal.checked);
    QCOMPARE(panels.thermal.rows[1].lamp, LampColour::Amber);
    QCOMPARE(panels.thermal.rows[1].caption, QString("Cooling (2.3C)"));
    // The outer line's ambient came before the box was checked, so the nested one stands.
    QCOMPARE(panels.ambientCaption, QString("Ambient: 19.0"));
    QCOMPARE(lamps(panels.light), QString("--R"));
}

void ProtocolTexts::statusHistoryCsv()
{
    StatusHistory history;
    const QDateTime t(QDate(2026, 5, 14), QTime(9, 30), Qt::UTC);
    QVERIFY(history.record("st:1011,2.34,0,95,21.5\r\n", t));
    // The receive loop hands one line over again at each later CR of its run.
    QVERIFY(!history.record("st:1011,2.34,0,95,21.5\r\n", t.addMSecs(500)));
    QVERIFY(history.record("st:1111,0.2,1,0,n/a", t.addSecs(3)));
    QVERIFY(history.record("ST:0000,\"x\"", t.addSecs(6)));
    QVERIFY(!history.record("id\r\n", t.addSecs(9)));
    QCOMPARE(history.toCsv(),
             QByteArray("time,ambient_c,deviation_c,light_seconds,thermal,light,line\n"
                        "2026-05-14T09:30:00.000Z,21.5,2.34,95,stabilizing,stabilizing,"
                        "\"st:1011,2.34,0,95,21.5\"\n"
                        "2026-05-14T09:30:03.000Z,,0.2,0,stable,stable,\"st:1111,0.2,1,0,n/a\"\n"
                        "2026-05-14T09:30:06.000Z,,0,0,off,off,\"ST:0000,\"\"x\"\"\"\n"));
}

void ProtocolTexts::identification_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<int>("depth");
    QTest::addColumn<float>("firmware");
    // clang-format off
    QTest::newRow("full reply") << QByteArray("id\r\nModel: Orv-2\r\nSerial: SN0042\r\nConfiguration: UV-VIS 2\r\nDepth: 600 m\r\nFirmware version 2.60\r\nOrvantis>") << true << "Orv-2" << "SN0042" << 600 << 2.6f;
    QTest::newRow("firmware 2.50 caps depth") << QByteArray("serial: 7\r\ndepth: 600 m\r\nfirmware: 2.50\r\n") << true << "" << "7" << 330 << 2.5f;
    QTest::newRow("2.504 is not") << QByteArray("serial: 7\r\ndepth: 600\r\nfirmware 2.504\r\n") << true << "" << "7" << 600 << 2.504f;
    QTest::newRow("depth half to even") << QByteArray("serial: 1\r\ndepth: 600.5\r\nfirmware 3\r\n") << true << "" << "1" << 600 << 3.0f;
    QTest::newRow("no serial") << QByteArray("model: X1\r\ndepth: 600\r\nfirmware 3.1\r\n") << false << "X1" << "" << 600 << 3.1f;
    QTest::newRow("serial without line end") << QByteArray("firmware 3\r\nserial: 0042") << false << "" << "" << 0 << 3.0f;
    // clang-format on
}

void ProtocolTexts::identification()
{
    QFETCH(QByteArray, reply);
    InstrumentIdentity identity;
    // Every parse overwrites what an earlier one found.
    ParseInstrumentInfo(
        "model: A1\r\nserial: 9\r\nconfiguration: C\r\ndepth: 900\r\nfirmware 3.0\r\n", identity);
    QTEST(ParseInstrumentInfo(reply, identity), "found");
    QTEST(identity.InstrumentModel, "model");
    QTEST(identity.InstrumentSerial, "serial");
    QTEST(int(identity.InstrumentMaxDepth), "depth");
    QTEST(identity.InstrumentFirmware, "firmware");
    QCOMPARE(identity.InstrumentConfiguration, QString(reply.startsWith("id") ? "UV-VIS 2" : ""));
}

void ProtocolTexts::clockReplies_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QDateTime>("read"); // invalid: refused, the shown clock kept
    const QDateTime none;
    QTest::newRow("date and time")
        << QByteArray("\n12/04/2026 23:59:59") << QDateTime(QDate(2026, 12, 4), QTime(23, 59, 59));
    QTest::newRow("30 February") << QByteArray("\n02/30/2026 10:11:12") << none;
    QTest::newRow("hour 25") << QByteArray("\n02/03/2026 25:11:12") << none;
    QTest::newRow("no time") << QByteArray("\n02/03/2026") << none;
    QTest::newRow("no answer") << QByteArray() << none;
}

void ProtocolTexts::clockReplies()
{
    QFETCH(QByteArray, reply);
    QFETCH(QDateTime, read);
    const QDateTime shown(QDate(2000, 1, 1), QTime(1, 2, 3));
    QDate date = shown.date();
    QTime time = shown.time();
    QCOMPARE(InstrumentClock::parseReply(reply, &date, &time), read.isValid());
    QCOMPARE(QDateTime(date, time), read.isValid() ? read : shown);
}

void ProtocolTexts::directoryDates_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("day");
    // clang-format off
    QTest::newRow("example") << QByteArray("12-04-09 14:35") << 40151.6076388889;
    QTest::newRow("year 79 is 2079") << QByteArray("01-01-79 00:00") << dayNumber(2079, 1, 1);
    QTest::newRow("year 80 is 1980") << QByteArray("01-01-80 00:00") << dayNumber(1980, 1, 1);
    QTest::newRow("day 30 of February rolls on") << QByteArray("02-30-09 06:00") << dayNumber(2009, 3, 2) + 0.25;
    QTest::newRow("unreadable parts count as 0") << QByteArray("ab-cd-ef gh:ij") << dayNumber(1999, 11, 30);
    // clang-format on
}

void ProtocolTexts::directoryDates()
{
    QFETCH(QByteArray, text);
    QFETCH(double, day);
    QVERIFY2(qAbs(ParseDirDate(text) - day) < 1e-9,
             qPrintable(QString::number(ParseDirDate(text), 'g', 17)));
}

void ProtocolTexts::directoryListingAndSort()
{
    const QByteArray reply = "Directory of A:\r\n" + listingLine("B.TXT", "10", "01-01-10 10:00") +
                             "\r\n" + listingLine("C.RAW", "1,234,567", "12-04-09 14:35") +
                             "\r\n     2 file(s)   123,456 bytes free\r\nOrvantis";
    bool freeLineSeen = false;
    const QList<DirListing::Row> rows = DirListing::parse(reply, &freeLineSeen);
    QVERIFY(freeLineSeen);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(DirListing::parseLine(listingLine("C.RAW", "1,234,567", "12-04-09 14:35")).cells(),
             (QStringList{"C.RAW", "12-04-09 14:35", "1,234,567", "RAW", " 40151.6076388889",
                          "    1234567"}));
    // A listing whose last line has no line end gives no rows.
    QVERIFY(DirListing::parse(listingLine("C.RAW", "1", "12-04-09 14:35")).isEmpty());
    // After start-up the remembered column is 0: a first click on "Name" reverses, a first
    // click on another column keeps the direction.
    DirSort sort;
    int lastClicked = 0;
    sort.headerClicked(0, lastClicked);
    QVERIFY(!sort.SortAscending);
    DirSort byDate;
    int lastForDate = 0;
    byDate.headerClicked(1, lastForDate);
    QCOMPARE(byDate.SortKeyColumn, 4);
    QVERIFY(byDate.SortAscending);
    byDate.headerClicked(1, lastForDate);
    QVERIFY(!byDate.SortAscending);
}

// The processing window's listing shows which lines are entries; a missed end shows only as
// a listing that ends late, on its idle time-out.
void ProtocolTexts::processingListingEnd()
{
    QCOMPARE(ProcessingListing::classify("       3 File(s)      1,234,567 bytes free").kind,
             ProcessingListing::Kind::End);
}

void ProtocolTexts::typedKeys_data()
{
    // What the system reports for a key differs between platforms (Ctrl+A comes with text
    // "\x01" on some, "a" on others, none on yet others); the bytes sent must not.
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const int ctrl = Qt::ControlModifier;
    // clang-format off
    QTest::newRow("letter") << int(Qt::Key_S) << 0 << "s" << QByteArray("s");
    QTest::newRow("beyond the 8-bit set") << int(Qt::Key_unknown) << 0 << QStringLiteral("\u20ac") << QByteArray("?");
    QTest::newRow("Enter without text") << int(Qt::Key_Return) << 0 << "" << QByteArray("\r");
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << ctrl << "" << QByteArray("\n");
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << "" << QByteArray("\x1b");
    QTest::newRow("Ctrl+A with text a") << int(Qt::Key_A) << ctrl << "a" << QByteArray("\x01");
    QTest::newRow("Ctrl+C without text") << int(Qt::Key_C) << ctrl << "" << QByteArray("\x03");
    QTest::newRow("AltGr character") << int(Qt::Key_Q) << int(Qt::ControlModifier | Qt::AltModifier) << "@" << QByteArray("@");
    QTest::newRow("Alt+F for the menu") << int(Qt::Key_F) << int(Qt::AltModifier) << "f" << QByteArray();
    QTest::newRow("arrow") << int(Qt::Key_Down) << 0 << "" << QByteArray();
    // clang-format on
}

void ProtocolTexts::typedKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QTEST(TerminalKeys::bytesFor(key, Qt::KeyboardModifiers(modifiers), text), "bytes");
}

QTEST_GUILESS_MAIN(ProtocolTexts)
#include "tst_protocol.moc"
