#include "features/status/InstrumentClock.h"
#include "testkit/ConsoleLink.h"
#include "testkit/SimulatedInstrument.h"
#include "ui/status/SetTimeForm.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QTimeEdit>
#include <QtTest>
#include <memory>

// The instrument's clock read, counted on and set, against the simulated instrument whose
// clock stands still (manual clock) so every reading is exact.

class InstrumentClockTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void replyIsReadAsMonthDayYear_data();
    void replyIsReadAsMonthDayYear();
    void setCommandHasFixedSeparatorsAndTwoDigits_data();
    void setCommandHasFixedSeparatorsAndTwoDigits();

    void captionsAndFrames();
    void readShowsTheInstrumentClock();
    void tickAcrossMidnightKeepsTheDate();
    void setFromTypedValuesSendsOnlyTheTimeOfDay();
    void setFromTheComputerClockUsesTheLastTick();
    void noAnswerLeavesTheFieldsAsTheyWere();

private:
    void setInstrumentClock(const QByteArray &text);

    std::unique_ptr<SimulatedInstrument> m_instrument;
    std::unique_ptr<ConsoleLink> m_console;
    std::unique_ptr<SetTimeForm> m_form;
};

void InstrumentClockTest::init()
{
    m_instrument = std::make_unique<SimulatedInstrument>();
    m_instrument->setManualClock(true);
    QVERIFY(m_instrument->open());
    m_console = std::make_unique<ConsoleLink>(*m_instrument);
    m_form = std::make_unique<SetTimeForm>(m_console->transaction);
    // Ticks are driven by the tests.
    m_form->Timer1->stop();
}

void InstrumentClockTest::cleanup()
{
    m_form.reset();
    m_console.reset();
    m_instrument.reset();
}

void InstrumentClockTest::setInstrumentClock(const QByteArray &text)
{
    m_instrument->engine().feed("time " + text + "\r");
    m_instrument->engine().takeOutput();
}

void InstrumentClockTest::replyIsReadAsMonthDayYear_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::newRow("late evening") << QByteArray("\n12/04/2026 23:59:59") << QDate(2026, 12, 4)
                                  << QTime(23, 59, 59);
    QTest::newRow("morning") << QByteArray("\n01/02/2027 07:05:09") << QDate(2027, 1, 2)
                             << QTime(7, 5, 9);
    QTest::newRow("no reply") << QByteArray() << QDate() << QTime();
    QTest::newRow("echo only") << QByteArray("time\r\n") << QDate() << QTime();
    QTest::newRow("no date") << QByteArray("\nBad command") << QDate() << QTime();
    QTest::newRow("month 13") << QByteArray("\n13/04/2026 10:00:00") << QDate() << QTime();
    QTest::newRow("hour 25") << QByteArray("\n12/04/2026 25:00:00") << QDate() << QTime();
    QTest::newRow("date without time") << QByteArray("\n12/04/2026 ") << QDate() << QTime();
}

void InstrumentClockTest::replyIsReadAsMonthDayYear()
{
    QFETCH(QByteArray, reply);
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QDate readDate(1999, 9, 9);
    QTime readTime(9, 9, 9);
    QCOMPARE(InstrumentClock::parseReply(reply, &readDate, &readTime), date.isValid());
    QCOMPARE(readDate, date.isValid() ? date : QDate(1999, 9, 9));
    QCOMPARE(readTime, time.isValid() ? time : QTime(9, 9, 9));
}

void InstrumentClockTest::setCommandHasFixedSeparatorsAndTwoDigits_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("example") << QDate(2026, 12, 4) << QTime(14, 5, 9)
                             << QByteArray("time 12/04/2026 14:05:09\r");
    QTest::newRow("one-digit hour")
        << QDate(2026, 1, 2) << QTime(7, 5, 9) << QByteArray("time 01/02/2026 07:05:09\r");
    QTest::newRow("midnight") << QDate(2030, 10, 31) << QTime(0, 0, 0)
                              << QByteArray("time 10/31/2030 00:00:00\r");
}

void InstrumentClockTest::setCommandHasFixedSeparatorsAndTwoDigits()
{
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(QByteArray, command);
    QCOMPARE(InstrumentClock::setCommand(date, time), command);
}

void InstrumentClockTest::captionsAndFrames()
{
    QCOMPARE(m_form->windowTitle(), QString("Orvantis Real-Time Clock"));
    QCOMPARE(m_form->Frame1->title(), QString("Current Orvantis Time"));
    QCOMPARE(m_form->Frame2->title(), QString("Manual Time Setting"));
    QCOMPARE(m_form->Frame3->title(), QString("This Computer's Time"));
    QCOMPARE(m_form->RefreshButton->text(), QString("Refresh"));
    QCOMPARE(m_form->SetTimeButton->text(), QString("Set Orvantis Time"));
    QCOMPARE(m_form->SetToComputerTimeButton->text(), QString("Set Orvantis Time"));
    QVERIFY(m_form->Frame2->isAncestorOf(m_form->TimePicker2));
    QCOMPARE(m_form->Timer1->interval(), 1000);
    // Runs from the start, without waiting to be shown.
    SetTimeForm fresh(m_console->transaction);
    QVERIFY(fresh.Timer1->isActive());
}

void InstrumentClockTest::readShowsTheInstrumentClock()
{
    setInstrumentClock("12/04/2026 23:59:59");
    m_form->GetDateTime();
    QCOMPARE(m_form->DatePicker1->date(), QDate(2026, 12, 4));
    QCOMPARE(m_form->TimePicker1->time(), QTime(23, 59, 59));
    QCOMPARE(m_instrument->written(), QByteArray("time\r"));

    // Refresh reads again.
    setInstrumentClock("03/15/2025 10:20:30");
    m_form->RefreshButton->click();
    QCOMPARE(m_form->DatePicker1->date(), QDate(2025, 3, 15));
    QCOMPARE(m_form->TimePicker1->time(), QTime(10, 20, 30));
}

void InstrumentClockTest::tickAcrossMidnightKeepsTheDate()
{
    setInstrumentClock("12/04/2026 23:59:59");
    m_form->GetDateTime();
    m_form->Timer1_Timer();
    QCOMPARE(m_form->TimePicker1->time(), QTime(0, 0, 0));
    m_form->Timer1_Timer();
    QCOMPARE(m_form->TimePicker1->time(), QTime(0, 0, 1));
    QCOMPARE(m_form->DatePicker1->date(), QDate(2026, 12, 4));
}

void InstrumentClockTest::setFromTypedValuesSendsOnlyTheTimeOfDay()
{
    m_form->DatePicker2->setDate(QDate(2027, 1, 2));
    // The time field carries a date of its own, which must not reach the command.
    m_form->TimePicker2->setDateTime(QDateTime(QDate(2000, 1, 1), QTime(7, 5, 9)));
    m_form->SetTimeButton->click();

    QCOMPARE(m_instrument->written(), QByteArray("time 01/02/2027 07:05:09\rtime\r"));
    QCOMPARE(m_form->TimePicker2->time(), QTime(7, 5, 9));
    QCOMPARE(m_form->DatePicker1->date(), QDate(2027, 1, 2));
    QCOMPARE(m_form->TimePicker1->time(), QTime(7, 5, 9));
}

void InstrumentClockTest::setFromTheComputerClockUsesTheLastTick()
{
    QDateTime now(QDate(2026, 3, 4), QTime(5, 6, 7));
    m_form->setComputerClock([&now] { return now; });
    m_form->Timer1_Timer();
    // A later clock reading does not count until the next tick.
    now = now.addSecs(30);
    m_form->SetToComputerTimeButton->click();

    QCOMPARE(m_instrument->written(), QByteArray("time 03/04/2026 05:06:07\rtime\r"));
    QCOMPARE(m_form->DatePicker1->date(), QDate(2026, 3, 4));
    QCOMPARE(m_form->TimePicker1->time(), QTime(5, 6, 7));
}

void InstrumentClockTest::noAnswerLeavesTheFieldsAsTheyWere()
{
    m_form->DatePicker1->setDate(QDate(2024, 2, 29));
    m_form->TimePicker1->setTime(QTime(12, 0, 0));
    m_instrument->engine().options().silent = true;

    m_form->GetDateTime();
    QCOMPARE(m_form->DatePicker1->date(), QDate(2024, 2, 29));
    QCOMPARE(m_form->TimePicker1->time(), QTime(12, 0, 0));

    // The set is not confirmed; the read after it finds nothing and changes nothing.
    m_form->DatePicker2->setDate(QDate(2030, 1, 1));
    m_form->SetTimeButton->click();
    QCOMPARE(m_form->DatePicker1->date(), QDate(2024, 2, 29));
    m_form->Timer1_Timer();
    QCOMPARE(m_form->TimePicker1->time(), QTime(12, 0, 1));
}

QTEST_MAIN(InstrumentClockTest)
#include "tst_instrumentclock.moc"
