// The session's status history: lines read with the panels' field rules, bounded storage and
// the CSV export.
#include "features/status/StatusHistory.h"

#include <QSignalSpy>
#include <QtTest>

using State = StatusSample::State;

Q_DECLARE_METATYPE(State)

namespace
{
QDateTime at(int seconds)
{
    return QDateTime(QDate(2025, 5, 20), QTime(10, 0), Qt::UTC).addSecs(seconds);
}
} // namespace

class StatusHistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void linesAreReadLikeThePanels_data();
    void linesAreReadLikeThePanels();
    void textThatIsNoStatusLineIsNotRecorded_data();
    void textThatIsNoStatusLineIsNotRecorded();
    void lineHandedOverAgainIsRecordedOnce();
    void countIsBounded();
    void ageIsBounded();
    void clockSetBackKeepsTimeOrder();
    void nearestSample_data();
    void nearestSample();
    void csvHasIsoStampsAndOneRowPerLine();
};

void StatusHistoryTest::linesAreReadLikeThePanels_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("ambient"); // NaN: none
    QTest::addColumn<double>("deviation");
    QTest::addColumn<int>("lightSeconds");
    QTest::addColumn<State>("thermal");
    QTest::addColumn<State>("light");
    QTest::addColumn<QByteArray>("line");

    const double none = qQNaN();
    QTest::newRow("settling, light warming")
        << QByteArray("st:1011,2.34,0,95.0,21.5,12.1\r\n") << 21.5 << 2.34 << 95 << State::Settling
        << State::Settling << QByteArray("st:1011,2.34,0,95.0,21.5,12.1");
    QTest::newRow("all stable") << QByteArray("st:1011,0.02,1,0,22.0") << 22.0 << 0.02 << 0
                                << State::Stable << State::Stable
                                << QByteArray("st:1011,0.02,1,0,22.0");
    QTest::newRow("both off") << QByteArray("st:0000,-3.5,0,600,19.0") << 19.0 << -3.5 << 600
                              << State::Off << State::Off << QByteArray("st:0000,-3.5,0,600,19.0");
    QTest::newRow("light on, thermal 10 is off")
        << QByteArray("st:1010,1.0,0,-4,20") << 20.0 << 1.0 << -4 << State::Off << State::Stable
        << QByteArray("st:1010,1.0,0,-4,20");
    QTest::newRow("halves round to even")
        << QByteArray("st:0011,0,0,2.5,x") << none << 0.0 << 2 << State::Settling << State::Off
        << QByteArray("st:0011,0,0,2.5,x");
    QTest::newRow("capital label, blanks before numbers")
        << QByteArray("ST:1011, -1.25,0, 30.5, 23.5 C") << 23.5 << -1.25 << 30 << State::Settling
        << State::Settling << QByteArray("ST:1011, -1.25,0, 30.5, 23.5 C");
    QTest::newRow("short line: no ambient")
        << QByteArray("st:1011,4") << none << 4.0 << 0 << State::Settling << State::Stable
        << QByteArray("st:1011,4");
    // ",1," in a later line of the same run does not make this line stable.
    QTest::newRow("only the first line counts")
        << QByteArray("st:0011,0.5,0,0,21\r\nst:0011,0.1,1,0,21\r") << 21.0 << 0.5 << 0
        << State::Settling << State::Off << QByteArray("st:0011,0.5,0,0,21");
}

void StatusHistoryTest::linesAreReadLikeThePanels()
{
    QFETCH(QByteArray, text);
    QFETCH(double, ambient);
    QFETCH(double, deviation);
    QFETCH(int, lightSeconds);
    QFETCH(State, thermal);
    QFETCH(State, light);
    QFETCH(QByteArray, line);

    StatusSample s;
    QVERIFY(StatusSample::fromLine(text, at(0), &s));
    QCOMPARE(s.hasAmbient(), !qIsNaN(ambient));
    if (s.hasAmbient())
        QCOMPARE(s.ambient, ambient);
    QCOMPARE(s.deviation, deviation);
    QCOMPARE(s.lightSeconds, lightSeconds);
    QCOMPARE(s.thermal, thermal);
    QCOMPARE(s.light, light);
    QCOMPARE(s.line, line);
    QCOMPARE(s.time, at(0));
}

void StatusHistoryTest::textThatIsNoStatusLineIsNotRecorded_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("other reply") << QByteArray("baud:9600\r");
    QTest::newRow("label cut short") << QByteArray("st");
    QTest::newRow("label not at the start") << QByteArray(" st:1011,0,1,0,20");
}

void StatusHistoryTest::textThatIsNoStatusLineIsNotRecorded()
{
    QFETCH(QByteArray, text);
    StatusHistory history;
    QSignalSpy changed(&history, &StatusHistory::changed);
    QVERIFY(!history.record(text, at(0)));
    QVERIFY(history.isEmpty());
    QCOMPARE(changed.count(), 0);
}

void StatusHistoryTest::lineHandedOverAgainIsRecordedOnce()
{
    StatusHistory history;
    QSignalSpy changed(&history, &StatusHistory::changed);
    // The receive loop passes the run's text from its first "st:" on at each later CR.
    QVERIFY(history.record("st:1011,2,0,9,21\r\n", at(0)));
    QVERIFY(!history.record("st:1011,2,0,9,21\r\nOrvantis>\r\n", at(0).addMSecs(200)));
    // The same values a poll later are a line of their own.
    QVERIFY(history.record("st:1011,2,0,9,21\r\n", at(3)));
    QVERIFY(history.record("st:1011,1.9,0,9,21\r\n", at(3).addMSecs(100)));
    QCOMPARE(history.size(), 3);
    QCOMPARE(changed.count(), 3);
}

void StatusHistoryTest::countIsBounded()
{
    StatusHistory history(5);
    for (int i = 0; i < 12; ++i)
        QVERIFY(history.record(QByteArray("st:1011,") + QByteArray::number(i) + ",0,0,20", at(i)));
    QCOMPARE(history.size(), 5);
    QCOMPARE(history.at(0).deviation, 7.0);
    QCOMPARE(history.at(4).deviation, 11.0);
}

void StatusHistoryTest::ageIsBounded()
{
    StatusHistory history(1000, 60 * 1000);
    history.record("st:1011,1,0,0,20", at(0));
    history.record("st:1011,2,0,0,20", at(30));
    history.record("st:1011,3,0,0,20", at(60));
    QCOMPARE(history.size(), 3); // exactly a minute old is kept
    history.record("st:1011,4,0,0,20", at(91));
    QCOMPARE(history.size(), 2);
    QCOMPARE(history.at(0).time, at(60));
    // A gap longer than the limit leaves the newest line alone.
    history.record("st:1011,5,0,0,20", at(3600));
    QCOMPARE(history.size(), 1);
}

void StatusHistoryTest::clockSetBackKeepsTimeOrder()
{
    StatusHistory history;
    history.record("st:1011,1,0,0,20", at(10));
    history.record("st:1011,2,0,0,20", at(20));
    history.record("st:1011,3,0,0,20", at(15));
    QCOMPARE(history.size(), 3);
    QCOMPARE(history.at(1).deviation, 3.0);
    QCOMPARE(history.at(2).time, at(20));
}

void StatusHistoryTest::nearestSample_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("index");
    QTest::newRow("before the first") << -100 << 0;
    QTest::newRow("on a line") << 10 << 1;
    QTest::newRow("nearer the earlier") << 14 << 1;
    QTest::newRow("nearer the later") << 16 << 2;
    QTest::newRow("after the last") << 1000 << 2;
}

void StatusHistoryTest::nearestSample()
{
    QFETCH(int, seconds);
    QFETCH(int, index);
    StatusHistory history;
    QCOMPARE(history.indexNearest(at(0)), -1);
    history.record("st:1011,1,0,0,20", at(0));
    history.record("st:1011,2,0,0,20", at(10));
    history.record("st:1011,3,0,0,20", at(20));
    QCOMPARE(history.indexNearest(at(seconds)), index);
}

void StatusHistoryTest::csvHasIsoStampsAndOneRowPerLine()
{
    StatusHistory history;
    QCOMPARE(history.toCsv(), QByteArray("time,ambient_c,deviation_c,light_seconds,thermal,light,"
                                         "line\n"));
    history.record("st:1011,2.34,0,95.0,21.5,12.1\r\n", at(0).addMSecs(250));
    history.record("st:0001,-0.5,1,0\r", at(3));
    history.record("st:1011,0,1,0,\"22\"\r", at(6));

    const QList<QByteArray> rows = history.toCsv().split('\n');
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows.at(1), QByteArray("2025-05-20T10:00:00.250Z,21.5,2.34,95,stabilizing,stabilizing,"
                                    "\"st:1011,2.34,0,95.0,21.5,12.1\""));
    QCOMPARE(rows.at(2),
             QByteArray("2025-05-20T10:00:03.000Z,,-0.5,0,off,off,\"st:0001,-0.5,1,0\""));
    QCOMPARE(rows.at(3), QByteArray("2025-05-20T10:00:06.000Z,,0,0,stable,stable,"
                                    "\"st:1011,0,1,0,\"\"22\"\"\""));
    QCOMPARE(rows.at(4), QByteArray());

    // A stamp taken in local time is written in UTC all the same.
    StatusHistory local;
    local.record("st:1011,1,0,0,20", at(0).toLocalTime());
    QVERIFY(local.toCsv().contains("\n2025-05-20T10:00:00.000Z,"));
    QCOMPARE(QDateTime::fromString(QString::fromLatin1(rows.at(2).left(24)), Qt::ISODateWithMs),
             at(3));
}

QTEST_GUILESS_MAIN(StatusHistoryTest)
#include "tst_statushistory.moc"
