#include "link/FileCapture.h"
#include "link/PortSearch.h"
#include "link/ReceiveLoop.h"
#include "testkit/MemoryCommPort.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace
{
const QByteArray kIdReply = "id\r\nmodel: OV-1\r\nserial: 0042\r\nfirmware version 2.60\r\n"
                            "Orvantis>";
}

class PortSearchTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void findsTheInstrumentOnPort3At57600();
    void promptWithoutSerialNumberIsNotTheInstrument();
    void noPortsAtAllGivesSixteenDotsAndTheMessage();
    void closeDuringTheSearchStopsAfterTheCurrentPort();
    void openSelectedPortUsesTheNumbersInTheEntries();
    void openSelectedPortThatFailsSaysSo();

private:
    // The instrument sits on `m_instrumentPort` at `m_instrumentRate`; at other rates it
    // sends line noise.
    void respond(const QByteArray &written);

    ProgramState *m_state = nullptr;
    MemoryCommPort *m_port = nullptr;
    PlainLinkStatus *m_status = nullptr;
    FileCapture *m_capture = nullptr;
    ReceiveLoop *m_loop = nullptr;
    CommandTransaction *m_transaction = nullptr;
    PortSearch *m_search = nullptr;
    QTimer *m_timer1 = nullptr;
    int m_instrumentPort = 3;
    QString m_instrumentRate = "57600";
    QByteArray m_idReply = kIdReply;
};

void PortSearchTest::init()
{
    m_state = new ProgramState;
    m_port = new MemoryCommPort;
    m_port->setOpenablePorts({1, 2, 3});
    m_port->setResponder([this](const QByteArray &bytes) { respond(bytes); });
    m_status = new PlainLinkStatus;
    m_capture = new FileCapture(*m_state);
    m_loop = new ReceiveLoop(*m_state, *m_port, *m_capture, *m_status);
    m_transaction = new CommandTransaction(*m_state, *m_port, *m_status);
    m_search = new PortSearch(*m_state, *m_port, *m_transaction, *m_status,
                              PortTable({"/dev/a", "/dev/b", "/dev/c"}));
    m_timer1 = new QTimer;
    m_timer1->setInterval(20);
    connect(m_timer1, &QTimer::timeout, this, [this] { m_loop->run(); });
    m_timer1->start();
    m_instrumentPort = 3;
    m_instrumentRate = "57600";
    m_idReply = kIdReply;
}

void PortSearchTest::cleanup()
{
    delete m_timer1;
    delete m_search;
    delete m_transaction;
    delete m_loop;
    delete m_capture;
    delete m_status;
    delete m_port;
    delete m_state;
}

void PortSearchTest::respond(const QByteArray &written)
{
    if (m_port->portNumber() != m_instrumentPort)
        return;
    if (!m_port->settings().startsWith(m_instrumentRate + ",")) {
        m_port->feed("\xf0\x8e\x1f\xfe");
        return;
    }
    if (written == "\x03")
        m_port->feed("\r\nOrvantis>");
    else if (written == "id\r")
        m_port->feed(m_idReply);
    else if (written == "st\r")
        m_port->feed("st\r\nst: 1,0.1,1,0,21.5\r\nOrvantis>");
}

void PortSearchTest::findsTheInstrumentOnPort3At57600()
{
    QSignalSpy entries(m_search, &PortSearch::portEntryAdded);
    QSignalSpy serials(m_search, &PortSearch::serialNumberFound);
    QSignalSpy failures(m_search, &PortSearch::searchFailed);

    QVERIFY(m_search->SearchForInstrument());

    QCOMPARE(m_status->Status(), int(LinkStatus::Idle));
    QCOMPARE(m_search->labelText(), QString("Connected to 0042"));
    QCOMPARE(serials.size(), 1);
    QCOMPARE(serials.first().first().toString(), QString("0042"));
    QCOMPARE(failures.size(), 0);
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.last().first().toString(), QString("COM  3  (/dev/c)"));
    QVERIFY(m_port->isOpen());
    QCOMPARE(m_port->portNumber(), 3);
    QCOMPARE(m_port->settings(), QString("57600,n,8,1"));
    QCOMPARE(m_state->identity.InstrumentSerial, QString("0042"));
    // After the identification the search asks for the status once.
    QVERIFY(m_port->written().endsWith("id\rst\r"));
}

void PortSearchTest::promptWithoutSerialNumberIsNotTheInstrument()
{
    m_idReply = "id\r\nmodel: OV-1\r\nOrvantis>";
    QSignalSpy failures(m_search, &PortSearch::searchFailed);
    QVERIFY(!m_search->SearchForInstrument());
    QCOMPARE(failures.size(), 1);
    QCOMPARE(m_status->Status(), int(LinkStatus::NotConnected));
    QCOMPARE(m_search->labelText(), QString("No Orvantis found on any port."));
    QVERIFY(!m_port->isOpen());
}

void PortSearchTest::noPortsAtAllGivesSixteenDotsAndTheMessage()
{
    m_port->setRefuseOpen(true);
    QSignalSpy labels(m_search, &PortSearch::labelChanged);
    QSignalSpy entries(m_search, &PortSearch::portEntryAdded);
    QSignalSpy failures(m_search, &PortSearch::searchFailed);
    QVERIFY(!m_search->SearchForInstrument());
    QCOMPARE(entries.size(), 0);
    QCOMPARE(failures.size(), 1);
    QCOMPARE(labels.at(labels.size() - 2).first().toString(),
             QString(" Searching for Orvantis") + QString(16, '.'));
    QCOMPARE(labels.last().first().toString(), QString("No Orvantis found on any port."));
    QCOMPARE(m_status->Status(), int(LinkStatus::NotConnected));
}

void PortSearchTest::closeDuringTheSearchStopsAfterTheCurrentPort()
{
    m_instrumentPort = 99;
    QSignalSpy entries(m_search, &PortSearch::portEntryAdded);
    QSignalSpy failures(m_search, &PortSearch::searchFailed);
    connect(m_search, &PortSearch::portEntryAdded, this, [this] { m_search->cancel(); });
    QVERIFY(!m_search->SearchForInstrument());
    QCOMPARE(entries.size(), 1);
    QCOMPARE(failures.size(), 0);
    QCOMPARE(m_status->Status(), int(LinkStatus::NotConnected));
    // All three rates of the current port were still tried.
    QCOMPARE(m_port->written().count('\x03'), 9);
}

void PortSearchTest::openSelectedPortUsesTheNumbersInTheEntries()
{
    QVERIFY(m_search->openSelectedPort("COM  3  (/dev/c)", "57600"));
    QCOMPARE(m_port->portNumber(), 3);
    QCOMPARE(m_port->settings(), QString("57600,n,8,1"));
    QCOMPARE(m_status->Status(), int(LinkStatus::Idle));
    QVERIFY(m_port->written().isEmpty());
    // With a port open, nothing happens.
    QVERIFY(!m_search->openSelectedPort("COM  1  (/dev/a)", "9600"));
    QCOMPARE(m_port->portNumber(), 3);
}

void PortSearchTest::openSelectedPortThatFailsSaysSo()
{
    QVERIFY(!m_search->openSelectedPort("COM  12", "9600"));
    QCOMPARE(m_search->labelText(), QString("Connection Failed"));
    QCOMPARE(m_status->Status(), int(LinkStatus::NotConnected));
}

QTEST_GUILESS_MAIN(PortSearchTest)
#include "tst_portsearch.moc"
