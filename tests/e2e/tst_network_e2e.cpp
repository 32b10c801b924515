// The whole program on an instrument behind a real ser2net, once as raw TCP and once as
// Telnet with RFC 2217, in front of orvantis-sim's pty: the search past addresses that take
// no connection, status, byte-exact transfers both ways with every byte value (0xFF, the
// Telnet escape, among them), the baud change on the far port or its refusal, and the
// server gone in the middle of a download.
#include "features/files/FileDownload.h"
#include "session/BaudRateChange.h"
#include "testkit/SimConsole.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"
#include "ui/connection/SetBaudForm.h"
#include "ui/files/FileTransferForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using Accepter = Ser2NetProcess::Accepter;
Q_DECLARE_METATYPE(Accepter)

namespace
{
// A local address whose connection requests go unanswered, as those to a host gone from
// the network: its listening queue is full, so the system drops every further request.
class UnansweredAddress
{
public:
    UnansweredAddress()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        m_sockets.push_back(::socket(AF_INET, SOCK_STREAM, 0));
        ::bind(m_sockets.front(), reinterpret_cast<sockaddr *>(&address), length);
        ::listen(m_sockets.front(), 0);
        ::getsockname(m_sockets.front(), reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        for (int filler = 0; filler < 3; ++filler) {
            m_sockets.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
            ::connect(m_sockets.back(), reinterpret_cast<sockaddr *>(&address), length);
        }
    }
    ~UnansweredAddress()
    {
        for (int socket : m_sockets)
            ::close(socket);
    }
    QString address() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(m_port); }

private:
    std::vector<int> m_sockets;
    quint16 m_port = 0;
};

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

class NetworkEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void searchSkipsDeadAddressesAndPolls_data();
    void searchSkipsDeadAddressesAndPolls();
    void transfersCarryEveryByteValue_data();
    void transfersCarryEveryByteValue();
    void baudChangeSetsTheFarPortOrIsRefused_data();
    void baudChangeSetsTheFarPortOrIsRefused();
    void serverGoneMidDownloadIsALostPort_data();
    void serverGoneMidDownloadIsALostPort();

private:
    void kinds();
    // Starts the instrument behind ser2net with `arguments` and connects with polling off.
    bool start(Accepter accepter, const QStringList &arguments);
    ConsoleBinding &console() { return m_rig->c(); }
    QString disk() const { return QDir(m_case).filePath("disk"); }
    // "Set Rate" to `rate` in the rate dialog, opened from the menu; true when the dialog
    // closed itself.
    bool setRate(const QString &rate);

    QTemporaryDir m_dir;
    QString m_case;
    QString m_heard;
    std::unique_ptr<SimConsole> m_rig;
};

void NetworkEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void NetworkEndToEnd::init()
{
    static int run = 0;
    m_case = m_dir.filePath(QStringLiteral("case%1").arg(++run));
    QVERIFY(QDir().mkpath(m_case));
    m_heard = QDir(m_case).filePath("heard.bin");
    QVERIFY(QDir().mkpath(disk()));
    QVERIFY(writeFile(QDir(disk()).filePath("BIG.BIN"), everyByteValue(200 * 1024)));
}

void NetworkEndToEnd::cleanup()
{
    m_rig.reset();
}

void NetworkEndToEnd::kinds()
{
    QTest::addColumn<Accepter>("accepter");
    QTest::newRow("tcp") << Accepter::RawTcp;
    QTest::newRow("rfc2217") << Accepter::Rfc2217;
}

bool NetworkEndToEnd::start(Accepter accepter, const QStringList &arguments)
{
    m_rig = std::make_unique<SimConsole>(
        arguments + QStringList{"--record-input", m_heard, "--disk", QDir(m_case).filePath("disk")},
        1, accepter);
    if (!m_rig->startedAndConnected())
        return false;
    m_rig->stopPolling();
    console().session.setDefaultDataFolder(m_case);
    return true;
}

bool NetworkEndToEnd::setRate(const QString &rate)
{
    bool closedItself = false;
    // "Set Rate" is pressed once the dialog has shown the start-up rate.
    std::function<void()> press = [&] {
        auto *dialog = qobject_cast<SetBaudForm *>(QApplication::activeModalWidget());
        if (!dialog || dialog->StartupRateLabel->text() == "[code]") {
            QTimer::singleShot(10, press);
            return;
        }
        dialog->BaudCombo->setCurrentText(rate);
        QTest::mouseClick(dialog->SetBaudButton, Qt::LeftButton);
        closedItself = !dialog->isVisible();
        dialog->close();
    };
    QTimer::singleShot(10, press);
    m_rig->controls().SetBaudMenuItem->trigger();
    return closedItself;
}

void NetworkEndToEnd::searchSkipsDeadAddressesAndPolls_data()
{
    kinds();
}

void NetworkEndToEnd::searchSkipsDeadAddressesAndPolls()
{
    QFETCH(Accepter, accepter);
    const UnansweredAddress unanswered;
    const QString refused =
        QStringLiteral("rfc2217://127.0.0.1:%1").arg(Ser2NetProcess::freePort());
    m_rig = std::make_unique<SimConsole>(
        QStringList{"--fast", "--baud", "57600", "--serial", "7031", "--record-input", m_heard}, 3,
        accepter, QStringList{refused, unanswered.address()});
    QVERIFY2(m_rig->ok(), qPrintable(m_rig->error()));
    QSignalSpy entries(&console().session.portSearch(), &PortSearch::portEntryAdded);
    QList<qint64> portStarts;
    QElapsedTimer clock;
    clock.start();
    connect(&console().session.portSearch(), &PortSearch::labelChanged, this,
            [&](const QString &label) {
                if (label.endsWith('.'))
                    portStarts << clock.elapsed();
            });

    QVERIFY(m_rig->connect());

    QCOMPARE(m_rig->controls().StatusLabel->text(), QString("Connected to 7031 "));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().first().toString(), "COM  3  (" + m_rig->ser2net.address() + ")");
    QCOMPARE(portStarts.size(), 3);
    QVERIFY2(portStarts.at(1) - portStarts.at(0) < 500, "a refused address was not skipped");
    QVERIFY2(portStarts.at(2) - portStarts.at(1) < 2000, "an unanswered address took too long");
    QVERIFY(m_rig->dialogs.errors.isEmpty());
    // The search's status query and a poll of the timer's are both answered.
    console().session.setPollInterval(100);
    QTRY_VERIFY(fileBytes(m_heard).count("st\r") >= 2);
    QTRY_VERIFY2(m_rig->controls().AmbientTempLabel->text().startsWith("Ambient: "),
                 qPrintable(m_rig->controls().AmbientTempLabel->text()));
    QTRY_COMPARE(console().session.Status(), StatusCode::Idle);
    QVERIFY(m_rig->dialogs.errors.isEmpty());
}

void NetworkEndToEnd::transfersCarryEveryByteValue_data()
{
    kinds();
}

void NetworkEndToEnd::transfersCarryEveryByteValue()
{
    QFETCH(Accepter, accepter);
    const QString upload = QDir(m_case).filePath("all.txt");
    QVERIFY(writeFile(upload, uploadLines()));
    QVERIFY(start(accepter, {"--fast"}));
    FileTransferForm *window = m_rig->openFiles();
    QVERIFY(window);
    m_rig->clickRow(m_rig->rowOf("BIG.BIN"));

    QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);

    QVERIFY2(m_rig->dialogs.errors.isEmpty(), qPrintable(m_rig->dialogs.errors.join('\n')));
    QVERIFY(fileBytes(QDir(m_case).filePath("BIG.BIN")) == everyByteValue(200 * 1024));

    m_rig->dialogs.pathAnswers.enqueue(upload);
    QTest::mouseClick(window->SendFileButton(), Qt::LeftButton);

    QVERIFY2(m_rig->dialogs.errors.isEmpty(), qPrintable(m_rig->dialogs.errors.join('\n')));
    QCOMPARE(fileBytes(QDir(disk()).filePath("all.txt")), uploadLines());
    QCOMPARE(console().session.Status(), StatusCode::Idle);
}

void NetworkEndToEnd::baudChangeSetsTheFarPortOrIsRefused_data()
{
    kinds();
}

void NetworkEndToEnd::baudChangeSetsTheFarPortOrIsRefused()
{
    QFETCH(Accepter, accepter);
    QVERIFY(start(accepter, {"--fast"}));
    QtCommPort &port = *m_rig->comm;
    Line &line = console().session.line();

    if (accepter == Accepter::RawTcp) {
        QVERIFY(!port.canSetRate());
        // The search's status query is the last the instrument heard.
        QTRY_VERIFY(fileBytes(m_heard).endsWith("st\r"));
        const QByteArray heard = fileBytes(m_heard);
        QVERIFY(setRate("115200"));
        QCOMPARE(m_rig->dialogs.errors,
                 QStringList{BaudRateChange::rateFixedMessage(1, m_rig->ser2net.address())});
        // The dialog's own query of the start-up rate went; no "Baud" followed it.
        QTRY_COMPARE(fileBytes(m_heard), heard + "baud\r");
        QCOMPARE(port.settings(), QString("9600,n,8,1"));
        return;
    }
    // The far port follows both ways: the instrument answers at each new rate, which it
    // reads from its line's settings.
    QVERIFY(port.canSetRate());
    for (const QString rate : {"115200", "9600"}) {
        QVERIFY2(setRate(rate), qPrintable(rate));
        QCOMPARE(port.settings(), rate + ",n,8,1");
        const QByteArray id = line.SendCommand("id\r", "serial:", "\r", 2);
        QVERIFY2(id.startsWith("serial: 1021"), id.constData());
    }
    QVERIFY2(m_rig->dialogs.errors.isEmpty(), qPrintable(m_rig->dialogs.errors.join('\n')));
}

void NetworkEndToEnd::serverGoneMidDownloadIsALostPort_data()
{
    kinds();
}

void NetworkEndToEnd::serverGoneMidDownloadIsALostPort()
{
    QFETCH(Accepter, accepter);
    // At the line rate, so the download is under way when the server goes.
    QVERIFY(start(accepter, {"--baud", "115200"}));
    FileTransferForm *window = m_rig->openFiles();
    QVERIFY(window);
    m_rig->clickRow(m_rig->rowOf("BIG.BIN"));
    qint64 countWhenGone = 0;
    m_rig->when([this] { return console().session.byteCount() > 5000; },
                [&] {
                    countWhenGone = console().session.byteCount();
                    m_rig->ser2net.stop();
                });
    QElapsedTimer elapsed;
    elapsed.start();

    QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);

    QVERIFY(m_rig->fired());
    QVERIFY2(elapsed.elapsed() < 9000, "the download waited for the silence time-out");
    // A lost port like a pulled adapter: the session brings it back by itself, and says so
    // in the status line; the download says where its bytes are.
    QTRY_VERIFY(console().session.reconnecting());
    QCOMPARE(m_rig->dialogs.errors, QStringList{FileDownload::lostMessage("BIG.BIN")});
    // Every byte that came before the server went, and nothing else.
    const QByteArray got = fileBytes(QDir(m_case).filePath("BIG.BIN"));
    QVERIFY2(got.size() >= countWhenGone && got.size() < everyByteValue(200 * 1024).size(),
             qPrintable(QString::number(got.size())));
    QVERIFY(everyByteValue(200 * 1024).startsWith(got));

    // The server back on its address: the same instrument answers there again.
    QVERIFY2(m_rig->ser2net.restart(), qPrintable(m_rig->ser2net.errorString()));
    QTRY_VERIFY_WITH_TIMEOUT(!console().session.reconnecting(), 10000);
    QCOMPARE(console().session.Status(), StatusCode::Idle);
    QCOMPARE(m_rig->dialogs.errors.size(), 1);
}

QTEST_MAIN(NetworkEndToEnd)
#include "tst_network_e2e.moc"
