// The link against orvantis-sim over real pseudo-terminals: the start-up search and its
// "power,1", the connection dialog's own buttons, the rate change and the stored start-up
// rate, the status panels following the instrument, the terminal, and a port that keeps
// nothing of the last session.
#include "link/QtCommPort.h"
#include "session/BaudRateChange.h"
#include "session/LineClaim.h"
#include "session/PortSearch.h"
#include "testkit/ModalDriver.h"
#include "testkit/SessionRig.h"
#include "testkit/SimConsole.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"
#include "ui/terminal/TerminalForm.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace
{
// Lamps top to bottom: G green, Y yellow, A amber, R red, - unlit.
QString lamps(const std::array<IndicatorLamp *, 3> &shapes)
{
    QString out;
    for (int row : {2, 1, 0}) {
        const LampColour c = shapes[row]->colour();
        out += c == LampColour::Green    ? 'G'
               : c == LampColour::Yellow ? 'Y'
               : c == LampColour::Amber  ? 'A'
               : c == LampColour::Red    ? 'R'
                                         : '-';
    }
    return out;
}

QString shown(SimConsole &rig)
{
    return rig.c().terminal.Text()->toPlainText();
}
} // namespace

class LinkEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startUpFindsTheInstrumentOnPort3AndSwitchesItOn();
    void connectionDialogStopsOnCloseAndOpensTheChosenPort();
    void rateChangesUpAndBackAndTheStoredRateSurvivesARestart();
    void rateDialogKeepsTheLineOnARefusedRateAndStoresAChosenOne();
    void panelsFollowTheInstrumentFromSettlingToStable();
    void statusRateZeroStopsPollingAndTooLongIsHeldAt65();
    void terminalTypesToTheInstrumentOnly();
    void reopenedPortHoldsNothingOfTheLastSession();

private:
    QString received() const { return m_dir.filePath("received.bin"); }

    QTemporaryDir m_dir;
};

void LinkEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void LinkEndToEnd::startUpFindsTheInstrumentOnPort3AndSwitchesItOn()
{
    SimConsole rig({"--baud", "57600", "--serial", "5150", "--record-input", received()}, 3);
    QVERIFY2(rig.ok(), qPrintable(rig.error()));
    QSignalSpy rates(&rig.c().session.portSearch(), &PortSearch::baudIndexSelected);

    // The program's own start-up: the search dialog finds it and closes by itself.
    QString searchTitle;
    rig.when([] { return QApplication::activeModalWidget() != nullptr; },
             [&] { searchTitle = QApplication::activeModalWidget()->windowTitle(); });
    rig.c().startUp(true);
    QCOMPARE(searchTitle, QString("Connecting"));

    QCOMPARE(rig.status(), int(StatusCode::Idle));
    QCOMPARE(rig.controls().StatusLabel->text(), QString("Connected to 5150 "));
    QCOMPARE(rig.comm->portNumber(), 3);
    QCOMPARE(rig.comm->settings(), QString("57600,n,8,1"));
    // Ports 1 and 2 were tried at all three rates; port 3 failed at 9600 first.
    QList<int> tried;
    for (const QList<QVariant> &rate : rates)
        tried << rate.first().toInt();
    QCOMPARE(tried, (QList<int>{0, 1, 2, 0, 1, 2, 0, 1}));
    QCOMPARE(rig.c().terminal.windowTitle(), QString("5150 Terminal - COM 3 -  57600 baud"));
    QTRY_VERIFY2(fileBytes(received()).endsWith("power,1\r"), fileBytes(received()).constData());
}

void LinkEndToEnd::connectionDialogStopsOnCloseAndOpensTheChosenPort()
{
    // Port 1: an adapter with nothing on it, behind a link that can be pulled out. Port 2: an
    // instrument at 57600 that shows its prompt but names no serial number, so no search
    // finds it.
    const QString heard = m_dir.filePath("dialog-heard.bin");
    const QString adapter = m_dir.filePath("adapter");
    SimProcess empty, instrument;
    QVERIFY2(empty.start({"--silent"}), qPrintable(empty.errorString()));
    QVERIFY2(
        instrument.start({"--fast", "--baud", "57600", "--no-serial", "--record-input", heard}),
        qPrintable(instrument.errorString()));
    QVERIFY(QFile::link(empty.devicePath(), adapter));
    const PortTable ports({adapter, instrument.devicePath()});
    QtCommPort comm(ports);
    ScriptedOperator dialogs;
    ConsoleBinding console(comm, ports, dialogs);
    console.startUp(false);
    const MainFormControls &c = console.form.controls();
    c.StatusCheck->click();

    // "Close" while port 1 is probed: the search ends after that port, not connected.
    whenTrue(
        [] {
            const QLabel *label = modalControl<QLabel>("Label1");
            return label && label->text() == " Searching for Orvantis.";
        },
        [] { modalControl<QPushButton>("CancelButton")->click(); });
    QTest::mouseClick(c.ConnectButton, Qt::LeftButton);
    QCOMPARE(console.session.Status(), StatusCode::NotConnected);
    QCOMPARE(c.StatusLabel->text(), QString("No Orvantis connected "));
    QVERIFY(!comm.isOpen() && c.ConnectButton->isEnabled());
    QCOMPARE(fileBytes(heard), QByteArray());

    // A failed search offers the ports that opened. "Search Again" probes them all again;
    // the adapter is then pulled out, and the instrument's port is opened at a chosen rate.
    qsizetype heardBeforeOpen = -1;
    whenTrue(
        [] {
            const QPushButton *again = modalControl<QPushButton>("SearchButton");
            return again && again->isVisible() && again->isEnabled();
        },
        [&] {
            const auto leave = qScopeGuard(closeModalWindow);
            auto *portCombo = modalControl<QComboBox>("PortCombo");
            auto *baudCombo = modalControl<QComboBox>("BaudCombo");
            QCOMPARE(portCombo->count(), 2);
            QVERIFY(portCombo->itemText(0).startsWith("COM  1") &&
                    portCombo->itemText(1).startsWith("COM  2"));
            // A screen reader names each list by its label.
            QVERIFY(modalControl<QLabel>("Label2")->buddy() == portCombo &&
                    modalControl<QLabel>("Label3")->buddy() == baudCombo);
            QTest::mouseClick(modalControl<QPushButton>("SearchButton"), Qt::LeftButton);
            // Three ETX at each of three rates, in each search: heard as ETX at the
            // instrument's own rate only, as garbage at the others.
            const QByteArray probes = fileBytes(heard);
            QCOMPARE(probes.count('\x03'), 6);
            QVERIFY(std::count_if(probes.begin(), probes.end(),
                                  [](char c) { return quint8(c) >= 0x80; }) >= 12);

            QFile::remove(adapter);
            portCombo->setCurrentIndex(0);
            QTest::mouseClick(modalControl<QPushButton>("ForceConnectButton"), Qt::LeftButton);
            QVERIFY(QApplication::activeModalWidget());
            QCOMPARE(modalControl<QLabel>("Label1")->text(), QString("Connection Failed"));
            QCOMPARE(console.session.Status(), StatusCode::NotConnected);

            portCombo->setCurrentIndex(1);
            baudCombo->setCurrentIndex(baudCombo->findText("57600"));
            heardBeforeOpen = fileBytes(heard).size();
            QTest::mouseClick(modalControl<QPushButton>("ForceConnectButton"), Qt::LeftButton);
            QVERIFY(!QApplication::activeModalWidget());
        });
    QTest::mouseClick(c.ConnectButton, Qt::LeftButton);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(console.session.Status(), StatusCode::Idle);
    QCOMPARE(c.StatusLabel->text(), QString("Connected to  "));
    QCOMPARE(comm.portNumber(), 2);
    QCOMPARE(comm.settings(), QString("57600,n,8,1"));
    // Opened without a probe: the next the instrument hears is what the operator types.
    QTest::mouseClick(c.OpenTerminalButton, Qt::LeftButton);
    QTest::keyClicks(console.terminal.Text(), "st");
    QTest::keyClick(console.terminal.Text(), Qt::Key_Return);
    QTRY_COMPARE(fileBytes(heard).mid(heardBeforeOpen), QByteArray("st\r"));
    QCOMPARE(dialogs.errors, QStringList());
}

void LinkEndToEnd::rateChangesUpAndBackAndTheStoredRateSurvivesARestart()
{
    const QStringList arguments{"--fast", "--state-file", m_dir.filePath("instrument.state")};
    {
        SimProcess sim;
        QVERIFY2(sim.start(arguments), qPrintable(sim.errorString()));
        QtCommPort port(PortTable({sim.devicePath()}));
        SessionRig link(port);
        QVERIFY(link.open());
        LineClaim claim = link.session.claimLine(LineOperation::BaudChange);
        BaudRateChange change(claim);
        QCOMPARE(change.queryStartupRate(), 9600);
        QCOMPARE(change.change("115200"), BaudRateChange::Outcome::Changed);
        QCOMPARE(port.settings(), QString("115200,n,8,1"));
        // The instrument goes on answering at the new rate.
        const QByteArray id = claim.SendCommand("id\r", "serial:", "\r", 2);
        QVERIFY2(id.startsWith("serial: 1021"), id.constData());
        // Its answer ends the wait: the store's 1 s time-out is not waited out.
        QElapsedTimer storing;
        storing.start();
        QCOMPARE(change.storeStartupRate(change.rate()), 115200);
        QVERIFY2(storing.elapsed() < 800, "the answer to the store was not recognised");
        QCOMPARE(change.change("9600"), BaudRateChange::Outcome::Changed);
        QCOMPARE(port.settings(), QString("9600,n,8,1"));
        QCOMPARE(change.queryStartupRate(), 115200);
    }
    // Same state file, told 9600 on its command line: the stored start-up rate wins.
    SimConsole rig(arguments + QStringList{"--baud", "9600"});
    QVERIFY2(rig.ok(), qPrintable(rig.error()));
    QVERIFY(rig.connect());
    QCOMPARE(rig.comm->settings(), QString("115200,n,8,1"));
}

void LinkEndToEnd::rateDialogKeepsTheLineOnARefusedRateAndStoresAChosenOne()
{
    QFile::remove(received());
    SimConsole rig({"--fast", "--record-input", received()});
    if (!rig.startedAndConnected())
        return;
    rig.stopPolling();
    qsizetype mark = -1;
    whenTrue(
        [] {
            const QLabel *label = modalControl<QLabel>("StartupRateLabel");
            return label && label->text() == "Startup rate 9600";
        },
        [&] {
            const auto leave = qScopeGuard(closeModalWindow);
            auto *rate = modalControl<QComboBox>("BaudCombo");
            auto *setRate = modalControl<QPushButton>("SetBaudButton");
            // A rate in range that the instrument does not take: no "Changing" comes back.
            const qsizetype before = fileBytes(received()).size();
            rate->setEditText("14400");
            QTest::mouseClick(setRate, Qt::LeftButton);
            QCOMPARE(fileBytes(received()).mid(before), QByteArray("Baud 14400\r"));
            QCOMPARE(rig.comm->settings(), QString("9600,n,8,1"));
            QVERIFY(QApplication::activeModalWidget());

            modalControl<QCheckBox>("DefaultCheck")->click();
            rate->setCurrentIndex(rate->findText("57600"));
            mark = fileBytes(received()).size();
            QTest::mouseClick(setRate, Qt::LeftButton);
            QVERIFY(!QApplication::activeModalWidget());
        });
    QTest::mouseClick(rig.controls().SetBaudButton, Qt::LeftButton);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(fileBytes(received()).mid(mark), QByteArray("Baud 57600\rbaud\rbaud 57600store\r"));
    QCOMPARE(rig.comm->settings(), QString("57600,n,8,1"));
    QCOMPARE(rig.dialogs.messages,
             QStringList{"Set Baud Rate: Orvantis baud rate at startup is now 57600"});
    QCOMPARE(rig.dialogs.errors, QStringList());
    QCOMPARE(rig.status(), int(StatusCode::Idle));
}

void LinkEndToEnd::panelsFollowTheInstrumentFromSettlingToStable()
{
    SimConsole rig({"--fast", "--settle-seconds", "6"});
    QVERIFY2(rig.ok(), qPrintable(rig.error()));
    const MainFormControls &c = rig.controls();
    QTimer *statusTimer = rig.c().session.findChild<QTimer *>("StatusTimer");
    QVERIFY(rig.connect());
    QVERIFY(statusTimer->isActive());
    statusTimer->setInterval(100);

    // Settling: the middle lamps, captions with the deviation and the light's time.
    QTRY_VERIFY_WITH_TIMEOUT(c.LightOKShape[1]->isLit(), 5000);
    QCOMPARE(lamps(c.LightOKShape), QString("-Y-"));
    QVERIFY2(QRegularExpression(R"(^-[YA]-$)").match(lamps(c.ThermalOKShape)).hasMatch(),
             qPrintable(lamps(c.ThermalOKShape)));
    QVERIFY2(QRegularExpression(R"(^(Cooling|Stabilizing) \(\d\.\dC\)$)")
                 .match(c.ThermalControlLabel[1]->text())
                 .hasMatch(),
             qPrintable(c.ThermalControlLabel[1]->text()));
    QVERIFY(c.ThermalControlLabel[1]->isEnabled() && !c.ThermalControlLabel[2]->isEnabled());
    QVERIFY(c.AmbientTempLabel->text().startsWith("Ambient: 21.5"));
    QCOMPARE(statusTimer->interval(), 3000);

    // Settled: both top lamps green, and the slow poll.
    QTRY_VERIFY_WITH_TIMEOUT(lamps(c.ThermalOKShape) == "G--" && lamps(c.LightOKShape) == "G--",
                             16000);
    QCOMPARE(statusTimer->interval(), 30000);

    // The light switched off reaches the instrument; nothing ticks the box again.
    c.LightOnCheck->click();
    QTRY_COMPARE_WITH_TIMEOUT(lamps(c.LightOKShape), QString("--R"), 5000);
    QVERIFY(!c.LightOnCheck->isChecked());

    // The instrument stops answering "st": three misses in a row say so; one answer ends it.
    QVERIFY(rig.sim.sendSignal(SIGUSR1));
    QTRY_VERIFY(rig.sim.standardError().contains("status answers off"));
    statusTimer->setInterval(100);
    QTRY_COMPARE_WITH_TIMEOUT(rig.status(), int(StatusCode::NoResponse), 15000);
    QCOMPARE(c.StatusLabel->text().trimmed(), QString("NO RESPONSE-CHECK CONNECTIONS"));
    QVERIFY(rig.sim.sendSignal(SIGUSR1));
    QTRY_COMPARE_WITH_TIMEOUT(rig.status(), int(StatusCode::Idle), 10000);
    QCOMPARE(c.StatusLabel->text(), QString("Connected to 1021 "));
    QVERIFY(!c.LightOnCheck->isChecked());
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void LinkEndToEnd::statusRateZeroStopsPollingAndTooLongIsHeldAt65()
{
    QFile::remove(received());
    // Still settling: polled every 3 s.
    SimConsole rig({"--fast", "--record-input", received()});
    if (!rig.startedAndConnected())
        return;
    const MainFormControls &c = rig.controls();
    QSignalSpy runs(rig.c().session.findChild<QTimer *>("Timer1"), &QTimer::timeout);
    rig.dialogs.inputAnswers << "0";
    c.StatusRateMenuItem->trigger();
    QCOMPARE(rig.dialogs.inputPrompts,
             QStringList{"Status Update Rate: Seconds between status checks"});
    // Whatever was on its way has arrived; then two intervals pass without a poll.
    QTRY_VERIFY(runs.size() >= 5);
    const qsizetype heard = fileBytes(received()).size();
    QTRY_VERIFY_WITH_TIMEOUT(runs.size() >= 35, 20000);
    QCOMPARE(fileBytes(received()).mid(heard), QByteArray());
    QVERIFY(c.StatusCheck->isChecked());

    // The timer holds at most 65 535 ms: a longer rate is held at 65 s, and said so.
    rig.dialogs.inputAnswers << "100";
    c.StatusRateMenuItem->trigger();
    QCOMPARE(rig.dialogs.messages,
             QStringList{"Status Update Rate: Status checks cannot be more than 65 seconds "
                         "apart. The rate has been set to 65 seconds."});
    c.StatusRateMenuItem->trigger();
    QCOMPARE(rig.dialogs.inputDefaults.last(), QString(" 65"));
}

void LinkEndToEnd::terminalTypesToTheInstrumentOnly()
{
    QFile::remove(received());
    SimConsole rig({"--fast", "--record-input", received()});
    QVERIFY2(rig.ok(), qPrintable(rig.error()));
    QVERIFY(rig.connect());
    rig.stopPolling();
    rig.c().form.ShowTerminal();
    QWidget *text = rig.c().terminal.Text();
    QVERIFY(rig.c().session.line().SendCommand("id\r", "", "Orvantis>", 5).contains("serial"));
    QTRY_VERIFY(shown(rig).endsWith("Orvantis>"));
    const QString before = shown(rig);
    const qsizetype sentBefore = fileBytes(received()).size();

    QTest::keyClicks(text, "st");
    QTest::keyClick(text, Qt::Key_Return);
    // Not the typed text: the instrument's echo and answer.
    QTRY_VERIFY(shown(rig).size() > before.size() + 10 && shown(rig).endsWith("Orvantis>"));
    const QString added = shown(rig).mid(before.size());
    QVERIFY2(QRegularExpression(R"(^st\nst:1011,[-0-9.,]+\nOrvantis>$)").match(added).hasMatch(),
             qPrintable(added));
    // Ctrl+C is the single byte 3.
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    QTRY_COMPARE(fileBytes(received()).mid(sentBefore), QByteArray("st\r\x03"));

    // Keys typed while the port is closed never reach the instrument.
    rig.c().session.Disconnect();
    QTest::keyClicks(text, "tpower,0");
    QTest::keyClick(text, Qt::Key_Return);
    QVERIFY(rig.connect());
    QVERIFY(rig.c().session.line().SendCommand("id\r", "", "Orvantis>", 5).contains("serial"));
    QVERIFY2(!fileBytes(received()).contains("tpower"), fileBytes(received()).constData());
}

void LinkEndToEnd::reopenedPortHoldsNothingOfTheLastSession()
{
    SimProcess first;
    SimProcess second;
    QVERIFY2(first.start({"--fast"}), qPrintable(first.errorString()));
    QVERIFY2(second.start({"--fast"}), qPrintable(second.errorString()));
    QtCommPort port(PortTable({first.devicePath(), second.devicePath()}));
    SessionRig link(port);
    QVERIFY(link.open());
    QTimer *timer1 = link.session.findChild<QTimer *>("Timer1");
    // The answer to "id" arrives while nobody reads it; the port is closed and opened again.
    timer1->stop();
    QVERIFY(port.write("id\r"));
    QTRY_VERIFY(port.bytesWaiting() > 20);
    port.close();
    QVERIFY(link.open());
    timer1->start();
    link.line().SendCommand("st\r", "st:", "\r", 2);
    QVERIFY2(!link.session.ReceiveBuffer().contains("serial"),
             link.session.ReceiveBuffer().constData());

    // The line vanishes with the answer unread; the port is then opened on the other one.
    timer1->stop();
    QVERIFY(port.write("id\r"));
    QTRY_VERIFY(port.bytesWaiting() > 20);
    first.kill();
    QTRY_VERIFY(port.hasFailed());
    port.close();
    port.setPortNumber(2);
    QVERIFY(link.open());
    timer1->start();
    link.line().SendCommand("st\r", "st:", "\r", 2);
    QVERIFY2(!link.session.ReceiveBuffer().contains("serial"),
             link.session.ReceiveBuffer().constData());
    QVERIFY(link.session.ReceiveBuffer().startsWith("st:"));
}

QTEST_MAIN(LinkEndToEnd)
#include "tst_link_e2e.moc"
