#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/ReceiveLoop.h"
#include "testkit/MemoryCommPort.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace
{
// Records every code the transaction sets, so tests can see status 2 come and go.
class RecordingStatus : public PlainLinkStatus
{
public:
    int SetStatus(int code, QString *msg = nullptr) override
    {
        codes << code;
        return PlainLinkStatus::SetStatus(code, msg);
    }
    QList<int> codes;
};
} // namespace

class CommandTransactionTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startMarkerIgnoresCase();
    void endMarkerIsExact();
    void framedReplyDropsWhatFollowsTheEnd();
    void endMarkerInsideStartMarkerEndsThere();
    void startWithoutEndReturnsWholeBuffer();
    void emptyMarkersRunUntilTheTimeout();
    void timeoutZeroMakesOnePass();
    void silentWaitSleepsBetweenEvents();
    void emptyCommandKeepsTheLast65535Characters();
    void emptyCommandFindsReplyAlreadyReceived();
    void closedPortReturnsEmptyAtOnce();
    void statusIsTwoDuringTheWaitAndPutBackAfter();
    void waitAcrossMidnightEndsOnTime();
    void portLostDuringWaitEndsTheWait();
    void pauseWaitsAndLetsTimersRun();
    void pauseOfZeroReturnsAtOnce();
    void pauseAcrossMidnightEndsOnTime();

private:
    void reply(const QByteArray &bytes)
    {
        m_port.setResponder([this, bytes](const QByteArray &) { m_port.feed(bytes); });
    }

    ProgramState m_state;
    MemoryCommPort m_port;
    RecordingStatus m_status;
    FileCapture *m_capture = nullptr;
    ReceiveLoop *m_loop = nullptr;
    CommandTransaction *m_transaction = nullptr;
    QTimer m_timer1;
};

void CommandTransactionTest::init()
{
    m_state.ReceiveBuffer.clear();
    m_state.clock.reset();
    m_port = MemoryCommPort();
    m_port.open();
    m_status.codes.clear();
    m_status.SetStatus(LinkStatus::Idle);
    m_status.codes.clear();
    m_capture = new FileCapture(m_state);
    m_loop = new ReceiveLoop(m_state, m_port, *m_capture, m_status);
    m_transaction = new CommandTransaction(m_state, m_port, m_status);
    // The receive loop runs more often than in the program to keep the tests short.
    m_timer1.setInterval(20);
    connect(&m_timer1, &QTimer::timeout, this, [this] { m_loop->run(); });
    m_timer1.start();
}

void CommandTransactionTest::cleanup()
{
    m_timer1.stop();
    m_timer1.disconnect();
    delete m_transaction;
    delete m_loop;
    delete m_capture;
}

void CommandTransactionTest::startMarkerIgnoresCase()
{
    reply("st\r\nST: 1,2,3\r\nOrvantis>");
    QCOMPARE(m_transaction->SendCommand("st\r", "st:", "\r", 1), QByteArray("ST: 1,2,3"));
}

void CommandTransactionTest::endMarkerIsExact()
{
    reply("id\r\nserial: 7\r\norvantis>");
    QElapsedTimer elapsed;
    elapsed.start();
    const QByteArray result = m_transaction->SendCommand("id\r", "", "Orvantis>", 0.5f);
    QVERIFY(elapsed.elapsed() >= 450);
    QCOMPARE(result, QByteArray("id\r\nserial: 7\r\norvantis>"));
}

void CommandTransactionTest::framedReplyDropsWhatFollowsTheEnd()
{
    reply("junk st\r\nst: 5,6\r\nOrvantis>more");
    QCOMPARE(m_transaction->SendCommand("st\r", "st:", "\r", 1), QByteArray("st: 5,6"));
    QCOMPARE(m_state.ReceiveBuffer, QByteArray("st: 5,6"));
    QCOMPARE(QByteArray(m_port.written()), QByteArray("st\r"));
}

void CommandTransactionTest::endMarkerInsideStartMarkerEndsThere()
{
    reply("x\r\nOrvantis>");
    QCOMPARE(m_transaction->SendCommand("x\r", "Orvantis>", ">", 1), QByteArray("Orvantis"));
}

void CommandTransactionTest::startWithoutEndReturnsWholeBuffer()
{
    reply("echo\r\nst: 1,2");
    QCOMPARE(m_transaction->SendCommand("st\r", "st:", "\r", 0.3f), QByteArray("echo\r\nst: 1,2"));
}

void CommandTransactionTest::emptyMarkersRunUntilTheTimeout()
{
    reply("power,1\r\nOrvantis>");
    QElapsedTimer elapsed;
    elapsed.start();
    const QByteArray result = m_transaction->SendCommand("power,1\r", "", "", 1);
    QVERIFY2(elapsed.elapsed() >= 950, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY2(elapsed.elapsed() < 2500, qPrintable(QString::number(elapsed.elapsed())));
    QCOMPARE(result, QByteArray("power,1\r\nOrvantis>"));
}

void CommandTransactionTest::silentWaitSleepsBetweenEvents()
{
    // Each time the event loop goes to sleep counts once: a wait that spun, or that woke
    // every few milliseconds to look at the clock, would go to sleep hundreds of times.
    int sleeps = 0;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    const auto counting =
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [&sleeps] { ++sleeps; });
    QElapsedTimer elapsed;
    elapsed.start();
    m_transaction->SendCommand("st\r", "st:", "\r", 1);
    disconnect(counting);
    QVERIFY(elapsed.elapsed() >= 950);
    // 50 receive runs a second here, and a look at the clock every 100 ms at most.
    QVERIFY2(sleeps <= 80, qPrintable(QString::number(sleeps)));
}

void CommandTransactionTest::timeoutZeroMakesOnePass()
{
    QElapsedTimer elapsed;
    elapsed.start();
    m_transaction->SendCommand("power,1\r", "", "", 0);
    QVERIFY(elapsed.elapsed() < 200);
    QCOMPARE(QByteArray(m_port.written()), QByteArray("power,1\r"));
    QCOMPARE(m_status.codes, (QList<int>{2, 1}));
}

void CommandTransactionTest::emptyCommandKeepsTheLast65535Characters()
{
    QByteArray big(70000, 'a');
    big.replace(70000 - 65535, 65535, QByteArray(65535, 'b'));
    m_state.ReceiveBuffer = big;
    const QByteArray result = m_transaction->SendCommand("", "", "", 0);
    QCOMPARE(result.size(), 65535);
    QVERIFY(!result.contains('a'));
    QVERIFY(m_port.written().isEmpty());
}

void CommandTransactionTest::emptyCommandFindsReplyAlreadyReceived()
{
    m_timer1.stop();
    m_state.ReceiveBuffer = "data 1 2 3\r\nOrvantis>";
    QCOMPARE(m_transaction->SendCommand("", "", "Orvantis>", 5), QByteArray("data 1 2 3\r\n"));
}

void CommandTransactionTest::closedPortReturnsEmptyAtOnce()
{
    m_port.close();
    m_state.ReceiveBuffer = "old";
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(m_transaction->SendCommand("st\r", "st:", "\r", 5), QByteArray());
    QVERIFY(elapsed.elapsed() < 100);
    QVERIFY(m_status.codes.isEmpty());
    QVERIFY(m_port.written().isEmpty());
    QVERIFY(m_state.ReceiveBuffer.isEmpty());
}

void CommandTransactionTest::statusIsTwoDuringTheWaitAndPutBackAfter()
{
    int seenDuringWait = -1;
    m_port.setResponder([&](const QByteArray &) {
        QTimer::singleShot(50, this, [&] {
            seenDuringWait = m_status.Status();
            // Another party changes the code meanwhile; the transaction still puts back
            // the code it found.
            m_status.SetStatus(LinkStatus::NoResponse);
            m_port.feed("st\r\nst: 1\r\n");
        });
    });
    m_transaction->SendCommand("st\r", "st:", "\r", 2);
    QCOMPARE(seenDuringWait, int(LinkStatus::CommandInProgress));
    QCOMPARE(m_status.Status(), int(LinkStatus::Idle));
}

void CommandTransactionTest::waitAcrossMidnightEndsOnTime()
{
    m_state.clock.setTimeOfDay(86399.5);
    QElapsedTimer elapsed;
    elapsed.start();
    m_transaction->SendCommand("st\r", "st:", "\r", 1);
    QVERIFY2(elapsed.elapsed() >= 900, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY2(elapsed.elapsed() < 3000, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY(m_state.clock.timeOfDay() < 100);
}

void CommandTransactionTest::portLostDuringWaitEndsTheWait()
{
    m_port.setResponder([&](const QByteArray &) {
        QTimer::singleShot(50, this, [&] { m_port.fail("device removed"); });
    });
    QElapsedTimer elapsed;
    elapsed.start();
    m_transaction->SendCommand("Acquire\r", "\r", ">", 60);
    QVERIFY(elapsed.elapsed() < 5000);
    QVERIFY(!m_port.isOpen());
    // The idle code it found is not put back over a line that is gone.
    QCOMPARE(m_status.Status(), int(LinkStatus::NotConnected));
}

void CommandTransactionTest::pauseWaitsAndLetsTimersRun()
{
    bool fired = false;
    QTimer::singleShot(50, this, [&] { fired = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    m_transaction->Pause(0.3f);
    QVERIFY(elapsed.elapsed() >= 280);
    QVERIFY(fired);
}

void CommandTransactionTest::pauseOfZeroReturnsAtOnce()
{
    bool fired = false;
    QTimer pending;
    pending.setSingleShot(true);
    connect(&pending, &QTimer::timeout, this, [&] { fired = true; });
    pending.start(0);
    m_transaction->Pause(0);
    m_transaction->Pause(-1);
    QVERIFY(!fired);
}

void CommandTransactionTest::pauseAcrossMidnightEndsOnTime()
{
    m_state.clock.setTimeOfDay(86399.8);
    QElapsedTimer elapsed;
    elapsed.start();
    m_transaction->Pause(0.5f);
    QVERIFY2(elapsed.elapsed() >= 400, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY2(elapsed.elapsed() < 2000, qPrintable(QString::number(elapsed.elapsed())));
}

QTEST_GUILESS_MAIN(CommandTransactionTest)
#include "tst_commandtransaction.moc"
