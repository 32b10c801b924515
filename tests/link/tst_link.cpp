// The link's rules that the line itself cannot show cheaply: how a reply is framed, the
// receive loop's routing of every byte and its lamp, waits across midnight, the port table.
#include "features/terminal/TerminalText.h"
#include "link/PortTable.h"
#include "link/QtCommPort.h"
#include "session/LineClaim.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/SessionProbe.h"
#include "testkit/SessionRig.h"
#include "testkit/TestFiles.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

class LinkRules : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void framing_data();
    void framing();
    void emptyCommandKeepsTheLast65535Characters();
    void waitsAcrossMidnightEndOnTime();
    void displayText_data();
    void displayText();
    void terminalTextCut_data();
    void terminalTextCut();
    void statusLineSplitOverTwoRunsIsStillPassedOn();
    void captureClosesTheFileAtItsLength();
    void lostPortIsClosedAndReportedOnce_data();
    void lostPortIsClosedAndReportedOnce();
    void portTableFromTheEnvironment();
    void aClaimMovesWithItsOwnership();

private:
    void reply(const QByteArray &bytes)
    {
        m_port->setResponder([this, bytes](const QByteArray &) { m_port->feed(bytes); });
    }
    QTemporaryDir m_dir;
    std::unique_ptr<MemoryCommPort> m_port;
    std::unique_ptr<SessionRig> m_link;
    QString m_display;
    QList<QByteArray> m_statusLines;
};

void LinkRules::init()
{
    m_port = std::make_unique<MemoryCommPort>();
    m_link = std::make_unique<SessionRig>(*m_port);
    // A lost port is reported, not reopened (the reconnection is tested on its own).
    m_link->session.setReconnectAutomatically(false);
    QVERIFY(m_link->open());
    m_display.clear();
    m_statusLines.clear();
    InstrumentSession &session = m_link->session;
    connect(&session, &InstrumentSession::displayTextReceived, this,
            [this](const QString &text) { m_display += text; });
    connect(&session, &InstrumentSession::statusLineReceived, this,
            [this](const QByteArray &line) { m_statusLines << line; });
}

void LinkRules::cleanup()
{
    m_link.reset();
    m_port.reset();
}

void LinkRules::framing_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<QByteArray>("framed");
    QTest::addColumn<QByteArray>("after");
    // clang-format off
    QTest::newRow("start marker ignores case") << QByteArray("st\r\nST: 1,2,3\r\nOrvantis>") << QByteArray("st:") << QByteArray("\r") << QByteArray("ST: 1,2,3") << QByteArray("\nOrvantis>");
    QTest::newRow("what precedes the start is dropped") << QByteArray("junk st\r\nst: 5,6\r\nOrvantis>more") << QByteArray("st:") << QByteArray("\r") << QByteArray("st: 5,6") << QByteArray("\nOrvantis>more");
    QTest::newRow("end searched from the start marker") << QByteArray("x\r\nOrvantis>") << QByteArray("Orvantis>") << QByteArray(">") << QByteArray("Orvantis") << QByteArray();
    QTest::newRow("no start marker: up to the end") << QByteArray("id\r\nserial: 7\r\nOrvantis>") << QByteArray() << QByteArray("Orvantis>") << QByteArray("id\r\nserial: 7\r\n") << QByteArray();
    QTest::newRow("end marker is exact: time-out, whole buffer") << QByteArray("id\r\nserial: 7\r\norvantis>") << QByteArray() << QByteArray("Orvantis>") << QByteArray("id\r\nserial: 7\r\norvantis>") << QByteArray();
    QTest::newRow("start without end: time-out, whole buffer") << QByteArray("echo\r\nst: 1,2") << QByteArray("st:") << QByteArray("\r") << QByteArray("echo\r\nst: 1,2") << QByteArray();
    QTest::newRow("no markers: until the time-out") << QByteArray("power,1\r\nOrvantis>") << QByteArray() << QByteArray() << QByteArray("power,1\r\nOrvantis>") << QByteArray();
    // clang-format on
}

void LinkRules::framing()
{
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, end);
    QFETCH(QByteArray, framed);
    reply(answer);
    // A framed reply ends the wait long before its minute; anything else waits it out.
    const bool timedOut = framed == answer;
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(m_link->line().SendCommand("cmd\r", start, end, timedOut ? 0.5f : 60.0f), framed);
    QCOMPARE(probe::receiveBuffer(m_link->session), framed);
    QTEST(m_link->line().afterReply(), "after");
    QCOMPARE(m_port->written(), QByteArray("cmd\r"));
    QVERIFY2(timedOut ? elapsed.elapsed() >= 450 : elapsed.elapsed() < 30000,
             qPrintable(QString::number(elapsed.elapsed())));
}

void LinkRules::emptyCommandKeepsTheLast65535Characters()
{
    const QByteArray big = QByteArray(70000 - 65535, 'x') + QByteArray(65535, 'y');
    probe::setReceiveBuffer(m_link->session, big);
    QCOMPARE(m_link->line().SendCommand("", "", "", 0), QByteArray(65535, 'y'));
    // The wait goes on with a reply already arriving.
    probe::setReceiveBuffer(m_link->session, "data 1 2 3\r\nOrvantis>");
    QCOMPARE(m_link->line().SendCommand("", "", "Orvantis>", 5), QByteArray("data 1 2 3\r\n"));
    QVERIFY(m_port->written().isEmpty());
}

void LinkRules::waitsAcrossMidnightEndOnTime()
{
    Clock &clock = probe::clock(m_link->session);
    clock.setTimeOfDay(86399.5);
    QElapsedTimer elapsed;
    elapsed.start();
    m_link->line().SendCommand("st\r", "st:", "\r", 1);
    // The upper bounds only catch a wait that runs on past midnight, for a day.
    QVERIFY2(elapsed.elapsed() >= 900 && elapsed.elapsed() < 30000,
             qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY(clock.timeOfDay() < 100);
    clock.setTimeOfDay(86399.8);
    elapsed.restart();
    m_link->line().Pause(0.5f);
    QVERIFY2(elapsed.elapsed() >= 400 && elapsed.elapsed() < 30000,
             qPrintable(QString::number(elapsed.elapsed())));
}

void LinkRules::displayText_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("letters and CR LF") << QByteArray("abc\r\n") << QString("abc\r\n");
    QTest::newRow("lone CR gets its LF") << QByteArray("a\rb") << QString("a\r\nb");
    QTest::newRow("lone LF dropped") << QByteArray("a\nb") << QString("ab");
    QTest::newRow("controls and high bytes") << QByteArray("\0\x07\x7f\x80\xff", 5) << QString("..\x7f..");
    // clang-format on
}

void LinkRules::displayText()
{
    QFETCH(QByteArray, received);
    m_port->feed(received);
    m_link->session.runReceiveLoop();
    QTEST(m_display, "shown");
}

void LinkRules::terminalTextCut_data()
{
    // Past the limit the text keeps what stands from its 16000th character on, then the
    // addition; it never ends longer than 32000 characters.
    QTest::addColumn<int>("oldLength");
    QTest::addColumn<int>("pieceLength");
    QTest::addColumn<int>("kept");
    QTest::newRow("10 over the limit") << 31990 << 20 << 16011;
    QTest::newRow("exactly the limit") << 31980 << 20 << 32000;
    QTest::newRow("cut leaves the piece whole") << 20000 << 20000 << 24001;
    QTest::newRow("cut still too long") << 31990 << 31000 << 32000;
    QTest::newRow("one piece too long") << 0 << 32001 << 32000;
}

void LinkRules::terminalTextCut()
{
    QFETCH(int, oldLength);
    QFETCH(int, pieceLength);
    QFETCH(int, kept);
    QString old, piece;
    for (int i = 0; i < oldLength; ++i)
        old += QChar(u'a' + i % 26);
    for (int i = 0; i < pieceLength; ++i)
        piece += QChar(u'A' + i % 26);
    TerminalText text;
    text.append(old);
    text.append(piece);
    QCOMPARE(text.text(), (old + piece).right(kept));
}

void LinkRules::statusLineSplitOverTwoRunsIsStillPassedOn()
{
    QList<ReceiveLamp> lamps;
    QObject::connect(&m_link->session, &InstrumentSession::receiveLampChanged, &m_link->session,
                     [&lamps](ReceiveLamp lamp) { lamps << lamp; });
    m_port->feed("st\r\nid\r\nserial: 9\r\nst: 1,2,");
    m_link->session.runReceiveLoop();
    QVERIFY(m_statusLines.isEmpty());
    m_port->feed("3,4,21.5\r\nxx st: 0,0\r\nOrvantis>");
    m_link->session.runReceiveLoop();
    QCoreApplication::processEvents();
    QCOMPARE(m_statusLines, (QList<QByteArray>{"st: 1,2,3,4,21.5\r\n", "st: 0,0\r\n"}));
    QTRY_COMPARE(lamps, (QList<ReceiveLamp>{ReceiveLamp::Yellow, ReceiveLamp::Green}));
}

void LinkRules::captureClosesTheFileAtItsLength()
{
    DataFile &file = probe::dataFile(m_link->session);
    const QString path = m_dir.filePath("capture.bin");
    QVERIFY(file.open(path));
    probe::startCapture(m_link->session, 1000);
    m_port->feed(QByteArray(300, 'y'));
    m_link->session.runReceiveLoop();
    // A progress line in place of the data.
    QCOMPARE(m_display, QString("300 bytes received\r\n"));
    m_port->feed(QByteArray(700, 'x') + "Orvantis>");
    m_link->session.runReceiveLoop();
    QVERIFY(!file.isOpen());
    QVERIFY(!probe::capturing(m_link->session));
    QCOMPARE(fileBytes(path), QByteArray(300, 'y') + QByteArray(700, 'x'));
    QCOMPARE(probe::byteCount(m_link->session), 1009);
    // What follows the capture is shown again.
    QVERIFY(m_display.endsWith("Orvantis>"));
}

void LinkRules::lostPortIsClosedAndReportedOnce_data()
{
    QTest::addColumn<bool>("waiting");
    QTest::newRow("between receive runs") << false;
    QTest::newRow("during a wait") << true;
}

void LinkRules::lostPortIsClosedAndReportedOnce()
{
    QFETCH(bool, waiting);
    m_port->feed("last words\r\n");
    if (waiting) {
        m_port->setResponder([&](const QByteArray &) {
            QTimer::singleShot(50, this, [&] { m_port->fail("device removed"); });
        });
        QElapsedTimer elapsed;
        elapsed.start();
        m_link->line().SendCommand("Acquire\r", "\r", ">", 60);
        QVERIFY2(elapsed.elapsed() < 30000, "the wait ran on to its time-out");
    } else {
        m_port->fail("device removed");
        for (int run = 0; run < 3; ++run)
            m_link->session.runReceiveLoop();
    }
    QVERIFY(!m_port->isOpen());
    QTRY_COMPARE(m_link->session.Status(), StatusCode::NotConnected);
    QCOMPARE(m_link->dialogs.errors.size(), 1);
    QCOMPARE(probe::receiveBuffer(m_link->session), QByteArray("last words\r\n"));
}

void LinkRules::portTableFromTheEnvironment()
{
    // Empty entries keep their place.
    qputenv("ORVANTIS_PORTS", "/dev/pts/7::/dev/ttyUSB0");
    const PortTable table = PortTable::fromSystem();
    QCOMPARE(table.deviceFor(1), QString("/dev/pts/7"));
    QCOMPARE(table.deviceFor(2), QString());
    QCOMPARE(table.deviceFor(3), QString("/dev/ttyUSB0"));
    QCOMPARE(table.deviceFor(4), QString());
    // A port number with no device behind it does not open.
    QtCommPort port(table);
    port.setPortNumber(2);
    QVERIFY(!port.open() && !port.isOpen());
    qputenv("ORVANTIS_PORTS", "");
    QCOMPARE(PortTable::fromSystem().devices(), QStringList());
}

void LinkRules::aClaimMovesWithItsOwnership()
{
    InstrumentSession &session = m_link->session;
    QSignalSpy refused(&session, &InstrumentSession::lineRefused);
    LineClaim claim = session.claimLine(LineOperation::Download);
    std::optional<LineClaim> held(std::move(claim));
    // The claim moved from owns nothing: it writes nothing, quietly.
    QVERIFY(!claim.write("x") && held->write("y"));
    QCOMPARE(m_port->written(), QByteArray("y"));
    claim = std::move(*held);
    held.reset();
    QCOMPARE(session.lineOwner(), LineOperation::Download);
    // Assigning a claim gives back the one held before.
    claim = session.claimLine(LineOperation::Upload);
    QCOMPARE(session.lineOwner(), LineOperation::None);
    QCOMPARE(refused.size(), 1);
}

QTEST_GUILESS_MAIN(LinkRules)
#include "tst_link.moc"
