// The reconnection's rules on the in-memory instrument, whose cable the test pulls and
// plugs in: another instrument behind the port is given up, a line lost again while the
// instrument is asked who it is goes back to waiting for the device, a port that opens on a
// silent instrument is given up after 30 seconds, and Disconnect or the program's end stop the
// attempts at once.
#include "testkit/ModalDriver.h"
#include "testkit/SessionRig.h"
#include "testkit/SimulatedInstrument.h"

#include <QElapsedTimer>
#include <QtTest>

namespace
{
const QString kDevice("COM 1 (memory1)");
}

class ReconnectionRules : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void anotherInstrumentIsGivenUp();
    void lostAgainWhileIdentifyingWaitsForTheDevice();
    void silentInstrumentIsGivenUpAfterThirtySeconds();
    void disconnectAndExitEndTheAttempts_data();
    void disconnectAndExitEndTheAttempts();

private:
    // The cable pulled: the session notices at its next receive run and starts reconnecting.
    void pullCable();
    std::unique_ptr<SimulatedInstrument> m_port;
    std::unique_ptr<SessionRig> m_rig;
};

void ReconnectionRules::init()
{
    m_port = std::make_unique<SimulatedInstrument>();
    m_rig = std::make_unique<SessionRig>(*m_port);
    QVERIFY(m_rig->open());
    InstrumentIdentity identity;
    identity.InstrumentSerial = "1021";
    m_rig->session.setIdentity(identity);
}

void ReconnectionRules::cleanup()
{
    m_rig.reset();
    m_port.reset();
}

void ReconnectionRules::pullCable()
{
    m_port->pullCable();
    QTRY_VERIFY(m_rig->session.reconnecting());
    QCOMPARE(m_rig->session.statusNote().section(" - ", 1), "reconnecting to " + kDevice + "...");
}

void ReconnectionRules::anotherInstrumentIsGivenUp()
{
    pullCable();
    m_port->engine().options().serial = "4242";
    m_port->plugIn(true);
    QTRY_VERIFY(!m_rig->session.reconnecting());
    QCOMPARE(m_rig->dialogs.errors,
             QStringList{"After the connection to " + kDevice +
                         " was lost, another Orvantis (serial number 4242) answered there "
                         "instead of 1021. The connection was closed; use Connect... to connect "
                         "to it."});
    QCOMPARE(m_rig->session.Status(), StatusCode::NotConnected);
    QVERIFY(!m_port->isOpen());
}

void ReconnectionRules::lostAgainWhileIdentifyingWaitsForTheDevice()
{
    pullCable();
    QStringList notes;
    // The port opens on an instrument that says nothing; while it is asked, the line goes
    // again; then the instrument is back and answers.
    whenTrue([&] { return m_rig->session.statusNote().contains("waiting for the Orvantis"); },
             [&] {
                 notes << m_rig->session.statusNote();
                 m_port->pullCable();
                 whenTrue([&] { return m_rig->session.statusNote().contains("lost again"); },
                          [&] {
                              notes << m_rig->session.statusNote();
                              m_port->engine().options().silent = false;
                              m_port->plugIn();
                          });
             });
    m_port->engine().options().silent = true;
    m_port->plugIn();
    QSignalSpy reconnected(&m_rig->session, &InstrumentSession::reconnected);
    QTRY_COMPARE_WITH_TIMEOUT(reconnected.size(), 1, 30000);
    QCOMPARE(notes,
             (QStringList{"Reconnecting to " + kDevice + ": waiting for the Orvantis to answer...",
                          "Connection lost again - reconnecting to " + kDevice + "..."}));
    QVERIFY(!m_rig->session.reconnecting());
    QCOMPARE(m_rig->session.Status(), StatusCode::Idle);
    QCOMPARE(m_rig->dialogs.errors, QStringList());
}

void ReconnectionRules::silentInstrumentIsGivenUpAfterThirtySeconds()
{
    pullCable();
    QElapsedTimer since;
    whenTrue([&] { return m_port->isOpen(); }, [&] { since.start(); });
    m_port->engine().options().silent = true;
    m_port->plugIn();
    QTRY_VERIFY_WITH_TIMEOUT(!m_rig->session.reconnecting(), 120000);
    QVERIFY2(since.elapsed() >= 29500, qPrintable(QString::number(since.elapsed())));
    QCOMPARE(m_rig->dialogs.errors,
             QStringList{"The connection to the Orvantis on " + kDevice +
                         " was lost. The port opened again, but the Orvantis did not answer "
                         "within 30 seconds, so the connection was closed. Check the "
                         "instrument's power and its baud rate, then use Connect... to connect "
                         "again."});
    QCOMPARE(m_rig->session.Status(), StatusCode::NotConnected);
    QVERIFY(!m_port->isOpen());
}

void ReconnectionRules::disconnectAndExitEndTheAttempts_data()
{
    QTest::addColumn<bool>("exit");
    QTest::newRow("Disconnect") << false;
    QTest::newRow("the program ends") << true;
}

void ReconnectionRules::disconnectAndExitEndTheAttempts()
{
    QFETCH(bool, exit);
    pullCable();
    QTimer *timer1 = m_rig->session.findChild<QTimer *>("Timer1");
    if (exit)
        m_rig->session.endForExit();
    else
        m_rig->session.Disconnect();
    QVERIFY(!m_rig->session.reconnecting());
    QCOMPARE(m_rig->session.statusNote(), QString());
    QCOMPARE(timer1->isActive(), !exit);
    if (!exit)
        QCOMPARE(m_rig->session.Status(), StatusCode::NotConnected);
    // The device is back: in more than two attempts' time, nothing opens it.
    m_port->plugIn();
    QTimer ticks;
    QSignalSpy passed(&ticks, &QTimer::timeout);
    ticks.start(100);
    QTRY_VERIFY(passed.size() >= 25);
    QVERIFY(!m_port->isOpen());
    QCOMPARE(m_rig->dialogs.errors, QStringList());
}

QTEST_MAIN(ReconnectionRules)
#include "tst_reconnection.moc"
