#include "link/BaudRateChange.h"
#include "testkit/ConsoleLink.h"
#include "testkit/SimulatedInstrument.h"

#include <QtTest>
#include <memory>

// The rate change against the simulated instrument: both ends must end up at the same rate,
// and whatever goes wrong, the port is where the exchange left it.

class BaudRateChangeTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void changesUpAndBackWithThePortFollowing();
    void theRateAlreadySetStillRunsTheWholeExchange();
    void refusedChangeLeavesThePortAsItWas_data();
    void refusedChangeLeavesThePortAsItWas();
    void noAnswerAtTheNewRateLeavesThePortThere();
    void badRateTextsSendNothing_data();
    void badRateTextsSendNothing();
    void storeReportsTheStartupRate();
    void startupRateIsZeroWithoutAnAnswer();
    void startupRateTooLargeForAnIntIsZero();

private:
    // The instrument answers "Baud N" with `changing` and stays at its rate.
    void answerChangeWith(const QByteArray &changing);

    std::unique_ptr<SimulatedInstrument> m_instrument;
    std::unique_ptr<ConsoleLink> m_console;
};

void BaudRateChangeTest::init()
{
    m_instrument = std::make_unique<SimulatedInstrument>();
    m_instrument->setSettings(QStringLiteral("9600,n,8,1"));
    QVERIFY(m_instrument->open());
    m_console = std::make_unique<ConsoleLink>(*m_instrument);
}

void BaudRateChangeTest::cleanup()
{
    m_console.reset();
    m_instrument.reset();
}

void BaudRateChangeTest::answerChangeWith(const QByteArray &changing)
{
    m_instrument->engine().addCommand("baud", [changing](SimEngine &e, const SimCommandLine &c) {
        if (!c.rest.isEmpty() && !changing.isEmpty())
            e.sendLine(changing);
    });
}

void BaudRateChangeTest::changesUpAndBackWithThePortFollowing()
{
    BaudRateChange change(*m_instrument, m_console->transaction);

    QCOMPARE(change.change("115200"), BaudRateChange::Outcome::Changed);
    QCOMPARE(m_instrument->settings(), QString("115200,n,8,1"));
    QCOMPARE(m_instrument->engine().baudRate(), 115200);
    QCOMPARE(change.previousRate(), 9600);

    QCOMPARE(change.change(" 9600 "), BaudRateChange::Outcome::Changed);
    QCOMPARE(m_instrument->settings(), QString("9600,n,8,1"));
    QCOMPARE(m_instrument->engine().baudRate(), 9600);
    QCOMPARE(change.previousRate(), 115200);
    // The start-up rate is untouched by a change.
    QCOMPARE(change.queryStartupRate(), 9600);
    QCOMPARE(m_console->status.Status(), int(LinkStatus::NotConnected));
}

void BaudRateChangeTest::theRateAlreadySetStillRunsTheWholeExchange()
{
    BaudRateChange change(*m_instrument, m_console->transaction);
    QCOMPARE(change.change("9600"), BaudRateChange::Outcome::Changed);
    QCOMPARE(m_instrument->written(), QByteArray("Baud 9600\rbaud\r"));
}

void BaudRateChangeTest::refusedChangeLeavesThePortAsItWas_data()
{
    QTest::addColumn<QByteArray>("changing");
    QTest::addColumn<bool>("silent");
    QTest::newRow("another rate") << QByteArray("Changing to 57600 baud") << false;
    // On the time-out the echo "Baud 115200" is all there is; its number is no answer.
    QTest::newRow("only the echo") << QByteArray() << false;
    QTest::newRow("silent instrument") << QByteArray() << true;
}

void BaudRateChangeTest::refusedChangeLeavesThePortAsItWas()
{
    QFETCH(QByteArray, changing);
    QFETCH(bool, silent);
    answerChangeWith(changing);
    m_instrument->engine().options().silent = silent;
    BaudRateChange change(*m_instrument, m_console->transaction);

    QCOMPARE(change.change("115200"), BaudRateChange::Outcome::Refused);
    QCOMPARE(m_instrument->settings(), QString("9600,n,8,1"));
    QCOMPARE(m_instrument->written(), QByteArray("Baud 115200\r"));
}

void BaudRateChangeTest::noAnswerAtTheNewRateLeavesThePortThere()
{
    // Announces the change but stays at 9600: the confirmation arrives as line noise.
    answerChangeWith("Changing to 115200 baud");
    BaudRateChange change(*m_instrument, m_console->transaction);

    QCOMPARE(change.change("115200"), BaudRateChange::Outcome::NotConfirmed);
    QCOMPARE(m_instrument->settings(), QString("115200,n,8,1"));
    QCOMPARE(change.rate(), 115200);
    QCOMPARE(change.previousRate(), 9600);
}

void BaudRateChangeTest::badRateTextsSendNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<BaudRateChange::Outcome>("outcome");
    QTest::newRow("letters") << "fast" << BaudRateChange::Outcome::NotANumber;
    QTest::newRow("empty") << "" << BaudRateChange::Outcome::NotANumber;
    QTest::newRow("fraction") << "9600.5" << BaudRateChange::Outcome::NotANumber;
    QTest::newRow("digits and letters") << "9600 baud" << BaudRateChange::Outcome::NotANumber;
    QTest::newRow("sign") << "+9600" << BaudRateChange::Outcome::NotANumber;
    QTest::newRow("huge") << "99999999999999" << BaudRateChange::Outcome::NotANumber;
    QTest::newRow("below the range") << "4800" << BaudRateChange::Outcome::OutOfRange;
    QTest::newRow("above the range") << "230400" << BaudRateChange::Outcome::OutOfRange;
    QTest::newRow("zero") << "0" << BaudRateChange::Outcome::OutOfRange;
}

void BaudRateChangeTest::badRateTextsSendNothing()
{
    QFETCH(QString, text);
    QFETCH(BaudRateChange::Outcome, outcome);
    BaudRateChange change(*m_instrument, m_console->transaction);
    QCOMPARE(change.change(text), outcome);
    QCOMPARE(m_instrument->written(), QByteArray());
    QCOMPARE(m_instrument->settings(), QString("9600,n,8,1"));
}

void BaudRateChangeTest::storeReportsTheStartupRate()
{
    BaudRateChange change(*m_instrument, m_console->transaction);
    QCOMPARE(change.storeStartupRate(115200), 115200);
    QCOMPARE(m_instrument->written(), QByteArray("baud 115200store\r"));
    QCOMPARE(m_instrument->engine().options().startupBaudRate, 115200);
    QCOMPARE(m_instrument->engine().baudRate(), 9600);
    QCOMPARE(change.queryStartupRate(), 115200);
}

void BaudRateChangeTest::startupRateIsZeroWithoutAnAnswer()
{
    m_instrument->engine().options().silent = true;
    BaudRateChange change(*m_instrument, m_console->transaction);
    QCOMPARE(change.queryStartupRate(), 0);
    QCOMPARE(change.storeStartupRate(57600), 0);
}

void BaudRateChangeTest::startupRateTooLargeForAnIntIsZero()
{
    m_instrument->engine().addCommand("baud", [](SimEngine &e, const SimCommandLine &) {
        e.sendLine("baud: 9600,9605760057600");
    });
    BaudRateChange change(*m_instrument, m_console->transaction);
    QCOMPARE(change.queryStartupRate(), 0);
}

QTEST_GUILESS_MAIN(BaudRateChangeTest)
#include "tst_baudratechange.moc"
