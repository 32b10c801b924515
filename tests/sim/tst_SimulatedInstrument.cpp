#include "link/CommandTransaction.h"
#include "link/FileCapture.h"
#include "link/ReceiveLoop.h"
#include "testkit/SimulatedInstrument.h"

#include <QTimer>
#include <QtTest>

namespace
{

QByteArray readAll(CommPort &port)
{
    QByteArray out;
    out += port.readWaiting();
    return out;
}

} // namespace

class TestSimulatedInstrument : public QObject
{
    Q_OBJECT
private slots:
    void transactionGetsTheStatusLine();
    void probeFindsItOnlyOnItsPortAndRate_data();
    void probeFindsItOnlyOnItsPortAndRate();
    void closedPortHearsNothing();
    void pulledCableFailsThePort();
    void skipAheadSettlesTheInstrument();
};

void TestSimulatedInstrument::transactionGetsTheStatusLine()
{
    SimulatedInstrument port;
    QVERIFY(port.open());
    ProgramState state;
    PlainLinkStatus status;
    status.SetStatus(LinkStatus::Idle);
    FileCapture capture(state);
    ReceiveLoop loop(state, port, capture, status);
    QList<QByteArray> statusLines;
    loop.setStatusLineSink([&](const QByteArray &line) { statusLines.append(line); });
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { loop.run(); });
    timer.start(20);

    CommandTransaction transaction(state, port, status);
    const QByteArray reply = transaction.SendCommand("st\r", "st:", "\r", 1.0f);
    QVERIFY2(reply.startsWith("st:1011,"), reply.constData());
    QCOMPARE(port.written(), QByteArray("st\r"));
    QTRY_COMPARE(statusLines.size(), 1);
    QVERIFY(statusLines.first().startsWith(reply));

    const QByteArray id = transaction.SendCommand("id\r", "", "Orvantis>", 1.0f);
    QVERIFY2(id.contains("serial: 1021\r\n"), id.constData());
}

void TestSimulatedInstrument::probeFindsItOnlyOnItsPortAndRate_data()
{
    QTest::addColumn<int>("portNumber");
    QTest::addColumn<int>("rate");
    QTest::addColumn<bool>("answers");
    QTest::newRow("its port, its rate") << 3 << 57600 << true;
    QTest::newRow("its port, other rate") << 3 << 9600 << false;
    QTest::newRow("other port, its rate") << 2 << 57600 << false;
}

void TestSimulatedInstrument::probeFindsItOnlyOnItsPortAndRate()
{
    QFETCH(int, portNumber);
    QFETCH(int, rate);
    QFETCH(bool, answers);
    SimOptions options;
    options.baudRate = 57600;
    SimulatedInstrument port(options);
    port.setManualClock(true);
    port.setInstrumentPort(3);
    port.setPortNumber(portNumber);
    port.setSettings(QStringLiteral("%1,n,8,1").arg(rate));
    QVERIFY(port.open());

    port.write("\x03\x03\x03");
    const QByteArray received = readAll(port);
    QCOMPARE(received.contains("ntis>"), answers);
    // At the wrong rate something still arrives, as noise.
    const bool samePort = portNumber == port.instrumentPort();
    QCOMPARE(!received.isEmpty(), samePort);
}

void TestSimulatedInstrument::closedPortHearsNothing()
{
    SimOptions options;
    options.replyDelayMs = 100;
    SimulatedInstrument port(options);
    port.setManualClock(true);
    QVERIFY(port.open());
    port.write("id\r");
    QCOMPARE(readAll(port), QByteArray("id\r\n"));
    port.close();
    port.skipAhead(200);
    QVERIFY(!port.write("st\r"));
    QVERIFY(port.open());
    QCOMPARE(port.bytesWaiting(), 0);
}

void TestSimulatedInstrument::pulledCableFailsThePort()
{
    SimulatedInstrument port;
    QVERIFY(port.open());
    port.pullCable();
    QVERIFY(port.hasFailed());
    QVERIFY(!port.write("\x03"));
    QCOMPARE(port.bytesWaiting(), 0);
}

void TestSimulatedInstrument::skipAheadSettlesTheInstrument()
{
    SimulatedInstrument port;
    QVERIFY(port.open());
    port.write("st\r");
    QVERIFY(!readAll(port).contains(",1,"));
    port.skipAhead(10 * 60 * 1000);
    port.write("st\r");
    QVERIFY(readAll(port).contains(",1,0.0,"));
}

QTEST_GUILESS_MAIN(TestSimulatedInstrument)
#include "tst_SimulatedInstrument.moc"
