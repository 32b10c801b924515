#include "link/BaudRateChange.h"
#include "link/PortSearch.h"
#include "link/QtCommPort.h"
#include "testkit/ConsoleLink.h"
#include "testkit/SimProcess.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The rate change over a real pseudo-terminal: orvantis-sim must switch its line when it
// says "Changing", and come up again at the start-up rate it was told to keep.

namespace
{
// The console's side of one line: port 1 is the simulator's device.
struct Console {
    explicit Console(const QString &device)
        : port(PortTable({device})), link(port, 200) // the main window's receive interval
    {
    }
    QtCommPort port;
    ConsoleLink link;
};
} // namespace

class BaudChangeE2eTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void changesUpAndBackOverTheLine();
    void storedStartupRateSurvivesARestart();

private:
    void startSim();
    void openAt(const QString &settings);

    QTemporaryDir m_dir;
    SimProcess m_sim;
    std::unique_ptr<Console> m_console;
};

void BaudChangeE2eTest::init()
{
    QVERIFY(m_dir.isValid());
}

void BaudChangeE2eTest::cleanup()
{
    m_console.reset();
    m_sim.stop();
}

void BaudChangeE2eTest::startSim()
{
    m_console.reset();
    const QStringList arguments = {"--baud", "9600", "--fast", "--state-file",
                                   m_dir.filePath("instrument.state")};
    QVERIFY2(m_sim.start(arguments), qPrintable(m_sim.errorString()));
    m_console = std::make_unique<Console>(m_sim.devicePath());
}

void BaudChangeE2eTest::openAt(const QString &settings)
{
    m_console->port.setPortNumber(1);
    m_console->port.setSettings(settings);
    QVERIFY2(m_console->port.open(), qPrintable(m_sim.devicePath()));
}

void BaudChangeE2eTest::changesUpAndBackOverTheLine()
{
    startSim();
    openAt("9600,n,8,1");
    BaudRateChange change(m_console->port, m_console->link.transaction);
    QCOMPARE(change.queryStartupRate(), 9600);

    QCOMPARE(change.change("115200"), BaudRateChange::Outcome::Changed);
    QCOMPARE(m_console->port.settings(), QString("115200,n,8,1"));
    // The instrument goes on answering at the new rate.
    const QByteArray id = m_console->link.transaction.SendCommand("id\r", "serial:", "\r", 2);
    QVERIFY2(id.startsWith("serial: 1021"), id.constData());

    QCOMPARE(change.change("9600"), BaudRateChange::Outcome::Changed);
    QCOMPARE(m_console->port.settings(), QString("9600,n,8,1"));
    QCOMPARE(change.queryStartupRate(), 9600);
}

void BaudChangeE2eTest::storedStartupRateSurvivesARestart()
{
    startSim();
    openAt("9600,n,8,1");
    BaudRateChange change(m_console->port, m_console->link.transaction);
    QCOMPARE(change.change("115200"), BaudRateChange::Outcome::Changed);
    QCOMPARE(change.storeStartupRate(change.rate()), 115200);
    m_console->port.close();
    m_sim.stop();

    // Same state file, and still told 9600 on its command line: the stored rate wins.
    startSim();
    PortSearch search(m_console->link.state, m_console->port, m_console->link.transaction,
                      m_console->link.status, PortTable({m_sim.devicePath()}));
    QVERIFY(search.SearchForInstrument());
    QCOMPARE(m_console->port.portNumber(), 1);
    QCOMPARE(m_console->port.settings(), QString("115200,n,8,1"));
    QCOMPARE(BaudRateChange(m_console->port, m_console->link.transaction).queryStartupRate(),
             115200);
}

QTEST_GUILESS_MAIN(BaudChangeE2eTest)
#include "tst_baudchange_e2e.moc"
