// The link against orvantis-sim over real pseudo-terminals: the search, the connection and
// rate dialogs, the status panels and check rate, the terminal, and a reopened port.
#include "testkit/ModalDriver.h"
#include "testkit/SessionRig.h"
#include "testkit/SimRig.h"
#include "ui/terminal/TerminalForm.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QtTest>

class LinkEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void startUpFindsTheInstrumentOnPort3AndSwitchesItOn();
    void connectionDialogStopsOnCloseAndOpensTheChosenPort();
    void rateDialogKeepsTheLineOnARefusedRateAndStoresAChosenOne();
    void panelsFollowTheInstrumentFromSettlingToStable();
    void statusRateZeroStopsPollingAndTooLongIsHeldAt65();
    void terminalTypesToTheInstrumentOnly();
    void reopenedPortHoldsNothingOfTheLastSession();
};

void LinkEndToEnd::startUpFindsTheInstrumentOnPort3AndSwitchesItOn()
{
    SimRig rig(RigOptions({"--baud", "57600", "--serial", "5150"}).onPort(3).unconnected());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QSignalSpy rates(&rig.session().portSearch(), &PortSearch::baudIndexSelected);
    // The program's own start-up: the search dialog finds it and closes by itself.
    QString searchTitle;
    rig.when([] { return QApplication::activeModalWidget() != nullptr; },
             [&] { searchTitle = QApplication::activeModalWidget()->windowTitle(); });
    rig.c().startUp(true);
    QCOMPARE(searchTitle, QString("Connecting"));
    QCOMPARE(rig.status(), StatusCode::Idle);
    QCOMPARE(rig.controls().StatusLabel->text() + rig.controls().DataLabel->text(),
             "Connected to 5150 Data");
    QCOMPARE(rig.comm->portNumber(), 3);
    QCOMPARE(rig.comm->settings(), QString("57600,n,8,1"));
    // Ports 1 and 2 were tried at all three rates; port 3 failed at 9600 first.
    QList<int> tried;
    for (const QList<QVariant> &rate : rates)
        tried << rate.first().toInt();
    QCOMPARE(tried, (QList<int>{0, 1, 2, 0, 1, 2, 0, 1}));
    QCOMPARE(rig.c().terminal.windowTitle(), QString("5150 Terminal - COM 3 -  57600 baud"));
    QTRY_VERIFY2(rig.heard().endsWith("power,1\r"), rig.heard().constData());
}

void LinkEndToEnd::connectionDialogStopsOnCloseAndOpensTheChosenPort()
{
    // Port 1: an adapter with nothing on it, behind a link that can be pulled out. Port 2: an
    // instrument at 57600 naming no serial number, so no search finds it.
    SimProcess empty;
    QVERIFY2(empty.start({"--silent"}), qPrintable(empty.errorString()));
    QTemporaryDir dir;
    const QString adapter = dir.filePath("adapter");
    QVERIFY(QFile::link(empty.devicePath(), adapter));
    SimRig rig(RigOptions({"--fast", "--baud", "57600", "--no-serial"})
                   .onPort(2, {adapter})
                   .unconnected());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.c().startUp(false);
    rig.stopPolling();
    // "Close" while port 1 is probed: the search ends after that port, not connected.
    whenTrue(
        [] {
            const QLabel *label = modalControl<QLabel>("Label1");
            return label && label->text() == " Searching for Orvantis.";
        },
        [] { modalButton("Close")->click(); });
    rig.click("Connect...");
    QCOMPARE(rig.status(), StatusCode::NotConnected);
    QCOMPARE(rig.controls().StatusLabel->text(), QString("No Orvantis connected "));
    QVERIFY(!rig.comm->isOpen() && rig.controls().ConnectButton->isEnabled());
    QCOMPARE(rig.heard(), QByteArray());
    // A failed search offers the ports that opened. "Search Again" probes them all again;
    // the adapter is then pulled out, and the instrument's port is opened at a chosen rate.
    qsizetype heardBeforeOpen = -1;
    whenTrue(
        [] {
            const QAbstractButton *again = modalButton("Search Again");
            return again && again->isVisible() && again->isEnabled();
        },
        [&] {
            const auto leave = qScopeGuard(closeModalWindow);
            QWidget *modal = QApplication::activeModalWidget();
            auto *ports = qobject_cast<QComboBox *>(labelledControl(modal, "Available Ports:"));
            auto *rates = qobject_cast<QComboBox *>(labelledControl(modal, "Baud Rate:"));
            QVERIFY(ports && rates);
            QCOMPARE(ports->count(), 2);
            QVERIFY(ports->itemText(0).startsWith("COM  1") &&
                    ports->itemText(1).startsWith("COM  2"));
            QTest::mouseClick(modalControl<QPushButton>("SearchButton"), Qt::LeftButton);
            // Three ETX in each search, heard as ETX only at the instrument's own rate.
            QTRY_COMPARE(rig.heard().count('\x03'), 6);
            QFile::remove(adapter);
            ports->setCurrentIndex(0);
            QTest::mouseClick(modalButton("Open Selected Port"), Qt::LeftButton);
            QVERIFY(QApplication::activeModalWidget());
            QCOMPARE(modalControl<QLabel>("Label1")->text(), QString("Connection Failed"));
            QCOMPARE(rig.status(), StatusCode::NotConnected);
            ports->setCurrentIndex(1);
            rates->setCurrentIndex(rates->findText("57600"));
            heardBeforeOpen = rig.heard().size();
            QTest::mouseClick(modalButton("Open Selected Port"), Qt::LeftButton);
            QVERIFY(!QApplication::activeModalWidget());
        });
    rig.click("Connect...");
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(rig.status(), StatusCode::Idle);
    QCOMPARE(rig.controls().StatusLabel->text(), QString("Connected to  "));
    QCOMPARE(rig.comm->portNumber(), 2);
    QCOMPARE(rig.comm->settings(), QString("57600,n,8,1"));
    // Opened without a probe: the next the instrument hears is what the operator types.
    rig.click("Show Terminal");
    QTest::keyClicks(rig.c().terminal.Text(), "st");
    QTest::keyClick(rig.c().terminal.Text(), Qt::Key_Return);
    QTRY_COMPARE(rig.heardSince(heardBeforeOpen), QByteArray("st\r"));
    QCOMPARE(rig.dialogs.errors, QStringList());
}

// A refused rate leaves the line as it was; a chosen one is taken by both ends, stored as the
// instrument's start-up rate, and is the rate it comes up at after a restart.
void LinkEndToEnd::rateDialogKeepsTheLineOnARefusedRateAndStoresAChosenOne()
{
    const QTemporaryDir dir;
    const QStringList simulator{"--fast", "--state-file", dir.filePath("instrument.state")};
    {
        SimRig rig(simulator);
        QVERIFY2(rig.start(), qPrintable(rig.error()));
        qsizetype mark = -1;
        bool stillShown = false;
        whenTrue(
            [] {
                const QLabel *label = modalControl<QLabel>("StartupRateLabel");
                return label && label->text() == "Startup rate 9600";
            },
            [&] {
                const auto leave = qScopeGuard(closeModalWindow);
                auto *rate = modalControl<QComboBox>("BaudCombo");
                // A rate in range that the instrument does not take: no "Changing" comes back.
                QTRY_VERIFY(rig.heard().endsWith("baud\r"));
                const qsizetype before = rig.heard().size();
                rate->setEditText("14400");
                QTest::mouseClick(modalButton("Set Rate"), Qt::LeftButton);
                QTRY_COMPARE(rig.heardSince(before), QByteArray("Baud 14400\r"));
                QCOMPARE(rig.comm->settings(), QString("9600,n,8,1"));
                QVERIFY(QApplication::activeModalWidget());
                modalButton("Make this the startup rate")->click();
                rate->setCurrentIndex(rate->findText("115200"));
                mark = rig.heard().size();
                // The dialog is gone before the message about the start-up rate shows.
                rig.dialogs.onMessage = [&] { stillShown = QApplication::activeModalWidget(); };
                QTest::mouseClick(modalButton("Set Rate"), Qt::LeftButton);
                QVERIFY(!QApplication::activeModalWidget());
            });
        rig.click("Set Baud Rate...");
        if (QTest::currentTestFailed())
            return;
        QTRY_COMPARE(rig.heardSince(mark), QByteArray("Baud 115200\rbaud\rbaud 115200store\r"));
        QCOMPARE(rig.comm->settings(), QString("115200,n,8,1"));
        QCOMPARE(rig.dialogs.messages,
                 QStringList{"Set Baud Rate: Orvantis baud rate at startup is now 115200"});
        QVERIFY(!stillShown);
        QCOMPARE(rig.dialogs.errors, QStringList());
        QCOMPARE(rig.status(), StatusCode::Idle);
        // The instrument goes on answering at the new rate.
        QVERIFY(rig.line().SendCommand("id\r", "serial:", "\r", 2).startsWith("serial: 1021"));
    }
    // Same state file, told 9600 on its command line: the stored start-up rate wins.
    SimRig restarted(simulator + QStringList{"--baud", "9600"});
    QVERIFY2(restarted.start(), qPrintable(restarted.error()));
    QCOMPARE(restarted.comm->settings(), QString("115200,n,8,1"));
}

void LinkEndToEnd::panelsFollowTheInstrumentFromSettlingToStable()
{
    SimRig rig(RigOptions({"--fast", "--settle-seconds", "6"}).polled());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const MainFormControls &c = rig.controls();
    QTimer *statusTimer = rig.session().findChild<QTimer *>("StatusTimer");
    QVERIFY(statusTimer->isActive());
    statusTimer->setInterval(100);
    // Settling: the middle lamps (the thermal one blinking), captions with the deviation
    // and the light's time.
    QTRY_COMPARE(lamps(c.LightOKShape), QString("-Y-"));
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
    statusTimer->setInterval(100);
    QTRY_VERIFY_WITH_TIMEOUT(lamps(c.ThermalOKShape) == "G--" && lamps(c.LightOKShape) == "G--",
                             30000);
    QCOMPARE(statusTimer->interval(), 30000);
    // The light switched off reaches the instrument; nothing ticks the box again.
    statusTimer->setInterval(100);
    c.LightOnCheck->click();
    QTRY_COMPARE(lamps(c.LightOKShape), QString("--R"));
    QVERIFY(!c.LightOnCheck->isChecked());
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void LinkEndToEnd::statusRateZeroStopsPollingAndTooLongIsHeldAt65()
{
    // Still settling: polled every 3 s.
    SimRig rig(RigOptions().polled());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QSignalSpy runs(rig.session().findChild<QTimer *>("Timer1"), &QTimer::timeout);
    rig.dialogs.inputAnswers << "0";
    rig.trigger("Set Status Check Rate...");
    QCOMPARE(rig.dialogs.inputPrompts,
             QStringList{"Status Update Rate: Seconds between status checks"});
    // Whatever was on its way has arrived; then two intervals pass without a poll.
    QTRY_VERIFY(runs.size() >= 5);
    const qsizetype heard = rig.heard().size();
    QTRY_VERIFY_WITH_TIMEOUT(runs.size() >= 35, 20000);
    QCOMPARE(rig.heardSince(heard), QByteArray());
    QVERIFY(rig.controls().StatusCheck->isChecked());
    // The timer holds at most 65 535 ms: a longer rate is held at 65 s, and said so.
    rig.dialogs.inputAnswers << "100";
    rig.trigger("Set Status Check Rate...");
    QCOMPARE(rig.dialogs.messages,
             QStringList{"Status Update Rate: Status checks cannot be more than 65 seconds "
                         "apart. The rate has been set to 65 seconds."});
    rig.trigger("Set Status Check Rate...");
    QCOMPARE(rig.dialogs.inputDefaults.last(), QString(" 65"));
}

void LinkEndToEnd::terminalTypesToTheInstrumentOnly()
{
    SimRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const auto shown = [&rig] { return rig.c().terminal.Text()->toPlainText(); };
    rig.click("Show Terminal");
    QWidget *text = rig.c().terminal.Text();
    QVERIFY(rig.line().SendCommand("id\r", "", "Orvantis>", 5).contains("serial"));
    QTRY_VERIFY(shown().endsWith("Orvantis>"));
    const QString before = shown();
    QTest::keyClicks(text, "st");
    QTest::keyClick(text, Qt::Key_Return);
    // Not the typed text: the instrument's echo and answer.
    QTRY_VERIFY(shown().size() > before.size() + 10 && shown().endsWith("Orvantis>"));
    const QString added = shown().mid(before.size());
    QVERIFY2(QRegularExpression(R"(^st\nst:1011,[-0-9.,]+\nOrvantis>$)").match(added).hasMatch(),
             qPrintable(added));
    // Keys typed while the port is closed never reach the instrument.
    rig.session().Disconnect();
    QTest::keyClicks(text, "tpower,0");
    QTest::keyClick(text, Qt::Key_Return);
    QVERIFY(rig.connect());
    QVERIFY(rig.line().SendCommand("id\r", "", "Orvantis>", 5).contains("serial"));
    QVERIFY2(!rig.heard().contains("tpower"), rig.heard().constData());
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
    // The answer to "id" arrives while nobody reads it; what the reopened port then reads.
    const auto leaveAnAnswerUnread = [&] {
        timer1->stop();
        QVERIFY(port.write("id\r"));
        QTRY_VERIFY(port.bytesWaiting() > 20);
    };
    const auto statusReply = [&] {
        timer1->start();
        const QByteArray reply = link.line().SendCommand("st\r", "st:", "\r", 2);
        QVERIFY2(reply.startsWith("st:1011,"), reply.constData());
        QCOMPARE(probe::receiveBuffer(link.session), reply);
    };
    leaveAnAnswerUnread();
    port.close();
    QVERIFY(link.open());
    statusReply();
    // The line vanishes; the port is then opened on the other one.
    leaveAnAnswerUnread();
    first.kill();
    QTRY_VERIFY(port.hasFailed());
    port.close();
    port.setPortNumber(2);
    QVERIFY(link.open());
    statusReply();
}

QTEST_MAIN(LinkEndToEnd)
#include "tst_link_e2e.moc"
