// Network ports' rules that a real server shows only in part: the Telnet side of RFC 2217
// (what reaches the line's bytes, what is answered, fed whole and byte by byte alike), and
// network addresses in the port table.
#include "link/NetworkReader.h"
#include "link/PortAddress.h"
#include "link/PortTable.h"
#include "link/TelnetCodec.h"
#include "testkit/UnansweredAddress.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QtTest>

namespace
{
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int value : values)
        out += char(value);
    return out;
}

const int IAC = 255, SB = 250, SE = 240, WILL = 251, WONT = 252, DO = 253, DONT = 254;
const int BINARY = 0, ECHO = 1, SGA = 3, COMPORT = 44;

// What a client that wants 57600 baud, 8N1 and no notices sends once the server agrees.
QByteArray settingsFor57600()
{
    return bytes({IAC, SB, COMPORT, 1,  0, 0,   0xE1, 0x00, IAC, SE, // SET-BAUDRATE
                  IAC, SB, COMPORT, 2,  8, IAC, SE,                  // SET-DATASIZE 8
                  IAC, SB, COMPORT, 3,  1, IAC, SE,                  // SET-PARITY none
                  IAC, SB, COMPORT, 4,  1, IAC, SE,                  // SET-STOPSIZE 1
                  IAC, SB, COMPORT, 5,  1, IAC, SE,                  // SET-CONTROL none
                  IAC, SB, COMPORT, 10, 0, IAC, SE,                  // no line state notices
                  IAC, SB, COMPORT, 11, 0, IAC, SE});                // no modem state notices
}
} // namespace

class NetworkLinkRules : public QObject
{
    Q_OBJECT

private slots:
    void telnetSeparatesTheLineFromTheServer_data();
    void telnetSeparatesTheLineFromTheServer();
    void telnetOffersAndEscapes();
    void portListKeepsNetworkAddressesWhole_data();
    void portListKeepsNetworkAddressesWhole();
    void unreachableServerSaysWhy();
};

void NetworkLinkRules::telnetSeparatesTheLineFromTheServer_data()
{
    QTest::addColumn<QByteArray>("arrived");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("answered");
    QTest::addColumn<bool>("refused");
    const QByteArray prompt("\r\nOrvantis>");
    QTest::newRow("plain bytes") << prompt << prompt << QByteArray() << false;
    QTest::newRow("IAC IAC is one 0xFF") << bytes({'a', IAC, IAC, IAC, IAC, 'b'})
                                         << bytes({'a', 0xFF, 0xFF, 'b'}) << QByteArray() << false;
    // What ser2net 4.3 sends on connecting: its offers, ECHO among them, and DO COM-PORT.
    QTest::newRow("ser2net's opening")
        << bytes({IAC,  WILL, SGA, IAC,    DO,  SGA,  IAC,    WILL, ECHO, IAC,    DONT,
                  ECHO, IAC,  DO,  BINARY, IAC, WILL, BINARY, IAC,  DO,   COMPORT}) +
               prompt
        << prompt << bytes({IAC, DONT, ECHO}) + settingsFor57600() << false;
    QTest::newRow("the server's reports and notices")
        << bytes({'a', IAC,  SB,   COMPORT, 101, 0,    0,   0xE1, 0,   IAC, SE,
                  'b', IAC,  SB,   COMPORT, 106, 0x60, IAC, SE,   IAC, SB,  COMPORT,
                  107, 0xFF, 0xFF, IAC,     SE,  IAC,  241, IAC,  249, 'c'})
        << QByteArray("abc") << QByteArray() << false;
    QTest::newRow("IAC IAC inside a report")
        << bytes({IAC, SB, COMPORT, 101, 0, 0, 0, IAC, IAC, IAC, SE, 'x'}) << QByteArray("x")
        << QByteArray() << false;
    QTest::newRow("report cut short by a request")
        << bytes({'a', IAC, SB, COMPORT, 106, 1, IAC, WILL, ECHO, 'b'}) << QByteArray("ab")
        << bytes({IAC, DONT, ECHO}) << false;
    QTest::newRow("options it does not use are refused once each")
        << bytes({IAC, DO, 24, IAC, WILL, 5, IAC, DONT, 24, IAC, WONT, 5}) << QByteArray()
        << bytes({IAC, WONT, 24, IAC, DONT, 5}) << false;
    QTest::newRow("agreed options are not answered again, withdrawn ones are")
        << bytes({IAC, WILL, BINARY, IAC, WILL, BINARY, IAC, WONT, BINARY, IAC, DONT, SGA})
        << QByteArray() << bytes({IAC, DONT, BINARY}) << false;
    QTest::newRow("COM-PORT-CONTROL refused")
        << bytes({IAC, DONT, COMPORT}) + prompt << prompt << QByteArray() << true;
    QTest::newRow("refused, then agreed: the settings go")
        << bytes({IAC, DONT, COMPORT, IAC, DO, COMPORT}) << QByteArray()
        << bytes({IAC, WILL, COMPORT}) + settingsFor57600() << false;
    QTest::newRow("agreed, then withdrawn")
        << bytes({IAC, DO, COMPORT, 'a', IAC, DONT, COMPORT, 'b'}) << QByteArray("ab")
        << settingsFor57600() + bytes({IAC, WONT, COMPORT}) << true;
    // Longer than the codec keeps: skipped whole, what follows read as ever.
    QTest::newRow("a long subnegotiation")
        << bytes({IAC, SB, COMPORT, 106}) + QByteArray(200, 'x') +
               bytes({IAC, IAC, IAC, SE, 'c', IAC, WILL, ECHO, 'd'})
        << QByteArray("cd") << bytes({IAC, DONT, ECHO}) << false;
}

void NetworkLinkRules::telnetSeparatesTheLineFromTheServer()
{
    QFETCH(QByteArray, arrived);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, answered);
    QFETCH(bool, refused);
    TelnetCodec whole;
    TelnetCodec piecewise;
    for (TelnetCodec *codec : {&whole, &piecewise}) {
        codec->setLine(57600);
        codec->takeOutput();
    }
    QCOMPARE(whole.decode(arrived), line);
    QCOMPARE(whole.takeOutput(), answered);
    QByteArray lineByByte;
    QByteArray answeredByByte;
    for (const char byte : arrived) {
        lineByByte += piecewise.decode(QByteArrayView(&byte, 1));
        answeredByByte += piecewise.takeOutput();
    }
    QCOMPARE(lineByByte, line);
    QCOMPARE(answeredByByte, answered);
    for (const TelnetCodec *codec : {&whole, &piecewise})
        QCOMPARE(codec->comPortRefused(), refused);
}

void NetworkLinkRules::telnetOffersAndEscapes()
{
    TelnetCodec codec;
    QCOMPARE(codec.takeOutput(), bytes({IAC, WILL, BINARY, IAC, WILL, SGA, IAC, WILL, COMPORT, IAC,
                                        DO, BINARY, IAC, DO, SGA}));
    QVERIFY(!codec.comPortSettled() && !codec.comPortAgreed());
    // The rate waits for the server's agreement, then goes with the rest of the settings.
    codec.setLine(57600);
    QCOMPARE(codec.takeOutput(), QByteArray());
    QCOMPARE(codec.decode(bytes({IAC, DO, COMPORT})), QByteArray());
    QVERIFY(codec.comPortSettled() && codec.comPortAgreed());
    QCOMPARE(codec.takeOutput(), settingsFor57600());
    // A rate whose bytes hold 0xFF is escaped inside its subnegotiation too.
    codec.setLine(0xFF00);
    QCOMPARE(codec.takeOutput().left(10), bytes({IAC, SB, COMPORT, 1, 0, 0, IAC, IAC, 0, IAC}));
    QCOMPARE(TelnetCodec::escape(bytes({'a', 0xFF, 0, 0xFF, 0xFF})),
             bytes({'a', 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
}

void NetworkLinkRules::portListKeepsNetworkAddressesWhole_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("entries");
    // Of the last entry; a bad address has neither.
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("valid");
    // clang-format off
    QTest::newRow("address first") << "tcp://lab-server.local:4001:/dev/ttyS0" << QStringList{"tcp://lab-server.local:4001", "/dev/ttyS0"} << "" << 0 << true;
    QTest::newRow("address after an empty entry") << "/dev/ttyS0::RFC2217://10.0.0.5:2000" << QStringList{"/dev/ttyS0", "", "RFC2217://10.0.0.5:2000"} << "10.0.0.5" << 2000 << true;
    QTest::newRow("IPv6 in brackets") << "tcp://[fd00::7]:4001:rfc2217://[::1]:2000" << QStringList{"tcp://[fd00::7]:4001", "rfc2217://[::1]:2000"} << "::1" << 2000 << true;
    QTest::newRow("no port") << "/dev/a:tcp://host" << QStringList{"/dev/a", "tcp://host"} << "" << 0 << false;
    QTest::newRow("port out of range") << "rfc2217://host:65536" << QStringList{"rfc2217://host:65536"} << "" << 0 << false;
    QTest::newRow("no host") << "tcp://:4001" << QStringList{"tcp://:4001"} << "" << 0 << false;
    QTest::newRow("unknown kind") << "udp://host:4001" << QStringList{"udp://host:4001"} << "" << 0 << false;
    // clang-format on
}

void NetworkLinkRules::portListKeepsNetworkAddressesWhole()
{
    QFETCH(QString, list);
    QFETCH(QStringList, entries);
    QFETCH(QString, host);
    QFETCH(int, port);
    QCOMPARE(PortTable::splitList(list), entries);
    const PortAddress address = PortAddress::parse(entries.last());
    QVERIFY(address.isNetwork() == entries.last().contains("://"));
    QCOMPARE(address.host(), host);
    QCOMPARE(int(address.port()), port);
    // A bad address says what is wrong in the operator's terms, naming both forms.
    QTEST(address.isValid(), "valid");
    QVERIFY2(address.isValid() || address.problem().contains("tcp://HOST:PORT or rfc2217://"),
             qPrintable(address.problem()));
    // The connection dialog shows the port by its address.
    QCOMPARE(PortTable(entries).entryText(int(entries.size())),
             QStringLiteral("COM  %1  (%2)").arg(entries.size()).arg(entries.last()));
}

// A refused connection and an address that is no address each give the operator a reason.
void NetworkLinkRules::unreachableServerSaysWhy()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    NetworkReader reader;
    QVERIFY(!reader.open(QStringLiteral("tcp://127.0.0.1:%1").arg(port), 9600));
    QCOMPARE(reader.openError().text, QString("Connection refused"));
    // One that never answers is given up after the reader's time-out, and said so.
    const UnansweredAddress unanswered;
    QElapsedTimer waited;
    waited.start();
    QVERIFY(!reader.open(unanswered.address(), 9600));
    QVERIFY(waited.elapsed() >= NetworkReader::kConnectTimeoutMs - 10);
    QCOMPARE(reader.openError().text, QString("Socket operation timed out"));
    QVERIFY(!reader.open(QStringLiteral("rfc2217://127.0.0.1"), 9600));
    QCOMPARE(reader.openError().text,
             QString("\"rfc2217://127.0.0.1\" needs a host and a port number from 1 to 65535: "
                     "write tcp://HOST:PORT or rfc2217://HOST:PORT"));
}

QTEST_GUILESS_MAIN(NetworkLinkRules)
#include "tst_network_link.moc"
