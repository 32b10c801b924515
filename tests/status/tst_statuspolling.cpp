#include "features/status/StatusPolling.h"
#include "features/status/StatusQuery.h"
#include "link/CommandTransaction.h"
#include "link/ProgramState.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/ScriptedOperator.h"

#include <QtTest>

Q_DECLARE_METATYPE(StatusRateChange::Action)
Q_DECLARE_METATYPE(StatusSwitch)

namespace
{
// An instrument that answers "st" at once and lets time run out on anything else, so waits
// that always last their full time-out end on the first pass.
struct Link {
    ProgramState state;
    MemoryCommPort port;
    PlainLinkStatus status;
    CommandTransaction transaction{state, port, status};
    StatusQuery query{transaction, status};
    StatusPolling polling{transaction, status, query};
    QObject context;

    Link()
    {
        port.open();
        status.SetStatus(LinkStatus::Idle);
        port.setResponder([this](const QByteArray &command) {
            if (command == "st\r") {
                state.ReceiveBuffer += "st:1011,0,1,0,20\r\n";
                return;
            }
            QTimer::singleShot(0, &context,
                               [this] { state.clock.setTimeOfDay(state.clock.timeOfDay() + 2.0); });
        });
    }
};
} // namespace

class TestStatusPolling : public QObject
{
    Q_OBJECT

private slots:
    void rateAnswer_data();
    void rateAnswer();
    void rateDefaultText_data();
    void rateDefaultText();
    void rateBoxAsksAndTellsAboutTheLimit();
    void cancelledRateBoxChangesNothing();
    void tickQueriesOnlyWhenIdleOrNotAnswering_data();
    void tickQueriesOnlyWhenIdleOrNotAnswering();
    void switchSendsItsCommandThenQueries_data();
    void switchSendsItsCommandThenQueries();
};

void TestStatusPolling::rateAnswer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<StatusRateChange::Action>("action");
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<bool>("clamped");

    using C = StatusRateChange;
    QTest::newRow("10") << "10" << C::SetInterval << 10000 << false;
    QTest::newRow("default text") << " 3" << C::SetInterval << 3000 << false;
    QTest::newRow("number then text") << "7 seconds" << C::SetInterval << 7000 << false;
    QTest::newRow("2.5 to even") << "2.5" << C::SetInterval << 2000 << false;
    QTest::newRow("3.5 to even") << "3.5" << C::SetInterval << 4000 << false;
    QTest::newRow("1.6") << "1.6" << C::SetInterval << 2000 << false;
    QTest::newRow("65 fits") << "65" << C::SetInterval << 65000 << false;
    QTest::newRow("65.4 fits") << "65.4" << C::SetInterval << 65000 << false;
    QTest::newRow("65.5 rounds to 66") << "65.5" << C::SetInterval << 65000 << true;
    QTest::newRow("66") << "66" << C::SetInterval << 65000 << true;
    QTest::newRow("huge") << "1e12" << C::SetInterval << 65000 << true;
    QTest::newRow("0") << "0" << C::TimerOff << 0 << false;
    QTest::newRow("0.5 rounds to 0") << "0.5" << C::TimerOff << 0 << false;
    QTest::newRow("-5") << "-5" << C::TimerOff << 0 << false;
    QTest::newRow("abc") << "abc" << C::TimerOff << 0 << false;
    QTest::newRow("blank") << " " << C::TimerOff << 0 << false;
    QTest::newRow("empty") << "" << C::Unchanged << 0 << false;
}

void TestStatusPolling::rateAnswer()
{
    QFETCH(QString, answer);
    QFETCH(StatusRateChange::Action, action);
    QFETCH(int, intervalMs);
    QFETCH(bool, clamped);

    const StatusRateChange change = StatusPolling::readRateAnswer(answer);
    QCOMPARE(change.action, action);
    QCOMPARE(change.intervalMs, intervalMs);
    QCOMPARE(change.clamped, clamped);
}

void TestStatusPolling::rateDefaultText_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<QString>("text");

    QTest::newRow("start") << 5000 << " 5";
    QTest::newRow("settling") << 3000 << " 3";
    QTest::newRow("stable") << 30000 << " 30";
    QTest::newRow("fraction") << 2500 << " 2.5";
    QTest::newRow("limit") << 65000 << " 65";
}

void TestStatusPolling::rateDefaultText()
{
    QFETCH(int, intervalMs);
    QFETCH(QString, text);
    QCOMPARE(StatusPolling::rateDefaultText(intervalMs), text);
    // Offering the default unchanged keeps the rate.
    const StatusRateChange change = StatusPolling::readRateAnswer(text);
    QCOMPARE(change.intervalMs, intervalMs == 2500 ? 2000 : intervalMs);
}

void TestStatusPolling::rateBoxAsksAndTellsAboutTheLimit()
{
    Link link;
    ScriptedOperator op;
    op.inputAnswers << "66";
    const StatusRateChange change = link.polling.askStatusRate(op, 2500);
    QCOMPARE(op.inputPrompts, QStringList{"Status Update Rate: Seconds between status checks"});
    QCOMPARE(op.inputDefaults, QStringList{" 2.5"});
    QVERIFY(change.clamped);
    QCOMPARE(change.intervalMs, 65000);
    QCOMPARE(op.messages,
             QStringList{"Status Update Rate: " + StatusPolling::clampedRateMessage()});

    op.inputAnswers << "20";
    QCOMPARE(link.polling.askStatusRate(op, 65000).intervalMs, 20000);
    QCOMPARE(op.messages.size(), 1);
}

void TestStatusPolling::cancelledRateBoxChangesNothing()
{
    Link link;
    ScriptedOperator op; // no answer scripted: Cancel
    const StatusRateChange change = link.polling.askStatusRate(op, 3000);
    QCOMPARE(change.action, StatusRateChange::Unchanged);
    QVERIFY(op.messages.isEmpty());
    QVERIFY(link.port.written().isEmpty());
}

void TestStatusPolling::tickQueriesOnlyWhenIdleOrNotAnswering_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("queries");

    QTest::newRow("not connected") << 0 << false;
    QTest::newRow("idle") << 1 << true;
    QTest::newRow("command") << 2 << false;
    QTest::newRow("transfer") << 3 << false;
    QTest::newRow("sampling") << 4 << false;
    QTest::newRow("no response") << 5 << true;
}

void TestStatusPolling::tickQueriesOnlyWhenIdleOrNotAnswering()
{
    QFETCH(int, status);
    QFETCH(bool, queries);

    Link link;
    link.status.SetStatus(status);
    QCOMPARE(link.polling.StatusTimerTick(), queries);
    QCOMPARE(link.port.written(), queries ? QByteArray("st\r") : QByteArray());
    // An answer after "no response" brings the link back.
    QCOMPARE(link.status.Status(), status == 5 ? 1 : status);
}

void TestStatusPolling::switchSendsItsCommandThenQueries_data()
{
    QTest::addColumn<StatusSwitch>("which");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QByteArray>("command");

    QTest::newRow("thermal on") << StatusSwitch::Thermal << true << QByteArray("tpower,1\r");
    QTest::newRow("thermal off") << StatusSwitch::Thermal << false << QByteArray("tpower,0\r");
    QTest::newRow("light on") << StatusSwitch::Light << true << QByteArray("lpower,1\r");
    QTest::newRow("light off") << StatusSwitch::Light << false << QByteArray("lpower,0\r");
}

void TestStatusPolling::switchSendsItsCommandThenQueries()
{
    QFETCH(StatusSwitch, which);
    QFETCH(bool, checked);
    QFETCH(QByteArray, command);

    Link link;
    link.polling.switchChanged(which, checked);
    QCOMPARE(link.port.written(), command + "st\r");
    QCOMPARE(link.query.missedReplies(), qint16(0));
    QCOMPARE(link.status.Status(), int(LinkStatus::Idle));
}

QTEST_GUILESS_MAIN(TestStatusPolling)
#include "tst_statuspolling.moc"
