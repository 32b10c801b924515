// The whole program on an instrument behind a real ser2net, once as raw TCP and once as
// Telnet with RFC 2217, in front of orvantis-sim's pty: the search past addresses that take
// no connection, status, byte-exact transfers both ways with every byte value (0xFF, the
// Telnet escape, among them), the baud change on the far port or its refusal, and the
// server gone in the middle of a download.
#include "features/files/FileDownload.h"
#include "session/BaudRateChange.h"
#include "testkit/SimRig.h"
#include "testkit/UnansweredAddress.h"
#include "ui/files/FileTransferForm.h"

#include <QLabel>
#include <QtTest>

using Accepter = Ser2NetProcess::Accepter;
Q_DECLARE_METATYPE(Accepter)

namespace
{
// Lines holding every byte value an upload carries: all but the line ends and the two
// control characters the instrument acts on (ETX stops it, Ctrl-Z ends the capture). 0xFF
// stands next to the bytes that follow it in Telnet's own commands.
QByteArray uploadLines()
{
    QByteArray up;
    QByteArray down;
    for (int value = 0; value < 256; ++value) {
        if (value != '\r' && value != '\n' && value != 3 && value != 26) {
            up += char(value);
            down.prepend(char(value));
        }
    }
    return up + "\r\n" + down + "\r\n" + "\xff\xff\xff\xfa\xff\xf0\xff\xfd\x2c\xff" + "\r\n";
}
} // namespace

namespace
{
void kinds()
{
    QTest::addColumn<Accepter>("accepter");
    QTest::newRow("tcp") << Accepter::RawTcp;
    QTest::newRow("rfc2217") << Accepter::Rfc2217;
}

// The instrument behind ser2net, its disk holding 200 kB of every byte value.
bool startBehind(SimRig &rig)
{
    return QDir().mkpath(rig.disk()) &&
           writeFile(rig.disk("BIG.BIN"), everyByteValue(200 * 1024)) && rig.start();
}
} // namespace

class NetworkEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void searchSkipsDeadAddressesAndPolls_data() { kinds(); }
    void searchSkipsDeadAddressesAndPolls();
    void transfersCarryEveryByteValue_data() { kinds(); }
    void transfersCarryEveryByteValue();
    void baudChangeSetsTheFarPortOrIsRefused_data() { kinds(); }
    void baudChangeSetsTheFarPortOrIsRefused();
    void serverGoneMidDownloadIsALostPort_data() { kinds(); }
    void serverGoneMidDownloadIsALostPort();
};

void NetworkEndToEnd::searchSkipsDeadAddressesAndPolls()
{
    QFETCH(Accepter, accepter);
    const UnansweredAddress unanswered;
    const QString refused =
        QStringLiteral("rfc2217://127.0.0.1:%1").arg(Ser2NetProcess::freePort());
    SimRig rig(RigOptions({"--fast", "--baud", "57600", "--serial", "7031"})
                   .onPort(3, {refused, unanswered.address()})
                   .behind(accepter)
                   .polled()
                   .unconnected());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QSignalSpy entries(&rig.session().portSearch(), &PortSearch::portEntryAdded);
    QVERIFY2(rig.connect(), qPrintable(rig.error()));
    QCOMPARE(rig.controls().StatusLabel->text(), QString("Connected to 7031 "));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().first().toString(), "COM  3  (" + rig.ser2net.address() + ")");
    // The search's status query and a poll of the timer's are both answered.
    rig.session().setPollInterval(100);
    QTRY_VERIFY(rig.heard().count("st\r") >= 2);
    QTRY_COMPARE(rig.controls().AmbientTempLabel->text().left(13), QString("Ambient: 21.5"));
    QTRY_COMPARE(rig.status(), StatusCode::Idle);
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void NetworkEndToEnd::transfersCarryEveryByteValue()
{
    QFETCH(Accepter, accepter);
    SimRig rig(RigOptions().behind(accepter));
    QVERIFY(writeFile(rig.local("all.txt"), uploadLines()));
    QVERIFY2(startBehind(rig), qPrintable(rig.error()));
    QVERIFY(rig.openFiles());
    rig.select("BIG.BIN");
    rig.clickFiles("Get Files");
    QVERIFY(fileBytes(rig.local("BIG.BIN")) == everyByteValue(200 * 1024));
    rig.dialogs.pathAnswers.enqueue(rig.local("all.txt"));
    rig.clickFiles("Send File...");
    QCOMPARE(rig.dialogs.errors, QStringList());
    QCOMPARE(fileBytes(rig.disk("all.txt")), uploadLines());
    QCOMPARE(rig.status(), StatusCode::Idle);
}

void NetworkEndToEnd::baudChangeSetsTheFarPortOrIsRefused()
{
    QFETCH(Accepter, accepter);
    SimRig rig(RigOptions().behind(accepter));
    QVERIFY2(startBehind(rig), qPrintable(rig.error()));
    QCOMPARE(rig.comm->canSetRate(), accepter == Accepter::Rfc2217);
    if (accepter == Accepter::RawTcp) {
        // The search's status query is the last the instrument heard.
        QTRY_VERIFY(rig.heard().endsWith("st\r"));
        const QByteArray heard = rig.heard();
        QVERIFY(rig.setRate("115200"));
        QCOMPARE(rig.dialogs.errors,
                 QStringList{BaudRateChange::rateFixedMessage(1, rig.ser2net.address())});
        // The dialog's own query of the start-up rate went; no "Baud" followed it.
        QTRY_COMPARE(rig.heard(), heard + "baud\r");
        QCOMPARE(rig.comm->settings(), QString("9600,n,8,1"));
        return;
    }
    // The far port follows both ways: the instrument answers at each new rate, which it
    // reads from its line's settings.
    for (const QString rate : {"115200", "9600"}) {
        QVERIFY2(rig.setRate(rate), qPrintable(rate));
        QCOMPARE(rig.comm->settings(), rate + ",n,8,1");
        const QByteArray id = rig.line().SendCommand("id\r", "serial:", "\r", 2);
        QVERIFY2(id.startsWith("serial: 1021"), id.constData());
    }
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void NetworkEndToEnd::serverGoneMidDownloadIsALostPort()
{
    QFETCH(Accepter, accepter);
    // At the line rate, so the download is under way when the server goes.
    SimRig rig(RigOptions({"--baud", "115200"}).behind(accepter));
    QVERIFY2(startBehind(rig), qPrintable(rig.error()));
    QVERIFY(rig.openFiles());
    rig.select("BIG.BIN");
    rig.when([&] { return probe::byteCount(rig.session()) > 5000; }, [&] { rig.ser2net.stop(); });
    rig.clickFiles("Get Files");
    QVERIFY(rig.fired());
    // Every byte that came before the server went, and nothing else.
    const QByteArray got = fileBytes(rig.local("BIG.BIN"));
    QCOMPARE(got.size(), probe::byteCount(rig.session()));
    QVERIFY(got.size() < 200 * 1024);
    QVERIFY(everyByteValue(200 * 1024).startsWith(got));
    // A lost port like a pulled adapter: the session brings it back by itself, and says so
    // in the status line; the download says where its bytes are.
    QTRY_VERIFY(rig.session().reconnecting());
    QCOMPARE(rig.dialogs.errors, QStringList{FileDownload::lostMessage("BIG.BIN")});
    // The server back on its address: the same instrument answers there again.
    QVERIFY2(rig.ser2net.restart(), qPrintable(rig.ser2net.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(!rig.session().reconnecting(), 10000);
    QCOMPARE(rig.status(), StatusCode::Idle);
    QCOMPARE(rig.dialogs.errors.size(), 1);
}

QTEST_MAIN(NetworkEndToEnd)
#include "tst_network_e2e.moc"
