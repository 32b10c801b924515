// The operator's clicks against orvantis-sim over real pseudo-terminals, at the moments that
// hurt: Stop while a wait is still open, a switch click overtaken by a status line asked for
// before it, report lines that come back to back, dialog buttons pressed during the dialog's
// own query, a device that hangs up while probed, an adapter plugged in after start-up; the
// controls that only an idle link may offer, and status polling given back after every
// operation that holds it off.
#include "session/LineClaim.h"
#include "testkit/ModalDriver.h"
#include "testkit/SimConsole.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"
#include "ui/connection/SetBaudForm.h"
#include "ui/files/FileTransferForm.h"
#include "ui/processing/ProcessingForm.h"
#include "ui/status/SetTimeForm.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace
{
enum class Waiting { StartCommand, SwitchWhileSampling };
enum class Operation { SampleOnce, Download, Upload, Delete, SetClock, SetBaud };
} // namespace

Q_DECLARE_METATYPE(Waiting)
Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(StatusSwitch)

class OperatorEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void stopAlwaysEndsInStatusOne_data();
    void stopAlwaysEndsInStatusOne();
    void switchClickOutlivesAStatusLineAskedBeforeIt_data();
    void switchClickOutlivesAStatusLineAskedBeforeIt();
    void reportsSentBackToBackAreAllSeen();
    void dialogButtonsWaitVisiblyForTheirQuery();
    void searchUsesTodaysPortsAndShrugsOffAHangUp();
    void instrumentMenuAndRateOnlyWhileIdle();
    void pollingComesBackAfter_data();
    void pollingComesBackAfter();

private:
    // Starts the simulator with `arguments` (and a record of what it hears) and connects.
    bool start(const QStringList &arguments);
    const MainFormControls &controls() { return m_rig->c().form.controls(); }
    StatusCode status() { return m_rig->c().session.Status(); }
    bool busyWith(const QByteArray &echo)
    {
        return status() == StatusCode::CommandInProgress &&
               m_rig->c().session.ReceiveBuffer().contains(echo);
    }

    QTemporaryDir m_dir;
    QString m_heard;
    std::unique_ptr<SimConsole> m_rig;
};

void OperatorEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void OperatorEndToEnd::cleanup()
{
    m_rig.reset();
}

bool OperatorEndToEnd::start(const QStringList &arguments)
{
    static int run = 0;
    m_heard = m_dir.filePath(QStringLiteral("heard%1.bin").arg(++run));
    m_rig = std::make_unique<SimConsole>(arguments + QStringList{"--record-input", m_heard});
    if (!m_rig->ok()) {
        QTest::qFail(qPrintable(m_rig->error()), __FILE__, __LINE__);
        return false;
    }
    if (!m_rig->connect()) {
        QTest::qFail("the search did not find the simulator", __FILE__, __LINE__);
        return false;
    }
    // Only the test's own queries, unless a case turns polling on.
    controls().StatusCheck->setChecked(false);
    return true;
}

void OperatorEndToEnd::stopAlwaysEndsInStatusOne_data()
{
    QTest::addColumn<Waiting>("waiting");
    QTest::addColumn<QByteArray>("echo");
    QTest::newRow("the start command") << Waiting::StartCommand << QByteArray("start 5 Acquire");
    QTest::newRow("a switch clicked while sampling")
        << Waiting::SwitchWhileSampling << QByteArray();
}

void OperatorEndToEnd::stopAlwaysEndsInStatusOne()
{
    QFETCH(Waiting, waiting);
    QFETCH(QByteArray, echo);
    // A slow first sample keeps the start command waiting for its prompt.
    if (!start({"--fast", "--stable", "--spectrum-ms",
                waiting == Waiting::StartCommand ? "1500" : "20"}))
        return;
    const MainFormControls &c = controls();
    c.SampleDelayText->setText("5");
    if (waiting == Waiting::SwitchWhileSampling) {
        QTest::mouseClick(c.StartSamplingButton, Qt::LeftButton);
        QCOMPARE(status(), StatusCode::PeriodicSampling);
    }
    // The wait shows the hourglass; Stop leaves none behind.
    bool hourglass = false;
    m_rig->when([&] { return busyWith(echo); },
                [&] {
                    hourglass = QApplication::overrideCursor() &&
                                QApplication::overrideCursor()->shape() == Qt::WaitCursor;
                    QTest::mouseClick(c.StopSamplingButton, Qt::LeftButton);
                });
    if (waiting == Waiting::StartCommand)
        QTest::mouseClick(c.StartSamplingButton, Qt::LeftButton);
    else
        c.LightOnCheck->click();
    QVERIFY(m_rig->fired() && hourglass);

    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(status(), StatusCode::Idle);
    QCOMPARE(c.StatusLabel->text(), QString("Connected to 1021 "));
    QVERIFY(c.StartSamplingButton->isEnabled());
    QVERIFY(c.SampleOnceButton->isEnabled());
    QVERIFY(fileBytes(m_heard).contains("\x03\x03\x03"));
}

void OperatorEndToEnd::switchClickOutlivesAStatusLineAskedBeforeIt_data()
{
    QTest::addColumn<StatusSwitch>("which");
    QTest::addColumn<QByteArray>("onCommand");
    QTest::newRow("light") << StatusSwitch::Light << QByteArray("lpower,1\r");
    QTest::newRow("thermal") << StatusSwitch::Thermal << QByteArray("tpower,1\r");
}

void OperatorEndToEnd::switchClickOutlivesAStatusLineAskedBeforeIt()
{
    QFETCH(StatusSwitch, which);
    QFETCH(QByteArray, onCommand);
    // Each status line comes 600 ms after its "st", showing the state as it was then.
    if (!start({"--fast", "--stable", "--status-delay-ms", "600"}))
        return;
    const bool light = which == StatusSwitch::Light;
    QCheckBox *box = light ? controls().LightOnCheck : controls().ThermalOnCheck;
    IndicatorLamp *offLamp = light ? controls().LightOKShape[0] : controls().ThermalOKShape[0];
    QTRY_VERIFY(box->isEnabled() && box->isChecked());
    StatusQuery &query = m_rig->c().status.monitor().query();

    // A poll's "st" is out, its line (subsystem on) still to come, when the operator
    // switches off: the switch command, then the line asked for before it.
    m_rig->when([&] { return busyWith("Orvantis>"); }, [&] { box->click(); });
    query.QueryStatus();
    QVERIFY(m_rig->fired());
    QTRY_COMPARE(offLamp->colour(), LampColour::Red);
    QVERIFY(!box->isChecked());
    QVERIFY(!fileBytes(m_heard).contains(onCommand));

    // A line asked for after the switch still ticks the box: the subsystem is switched on
    // behind the box's back, and the box follows with its own command.
    m_rig->c().session.line().SendCommand(onCommand, "", "", 0.3f);
    query.QueryStatus();
    QTRY_VERIFY(box->isChecked());
    QTRY_COMPARE(fileBytes(m_heard).count(onCommand), 2);
}

void OperatorEndToEnd::reportsSentBackToBackAreAllSeen()
{
    // Each run's report lines come in one write, two seconds after the command.
    if (!start({"--fast", "--burst-reports"}))
        return;
    QTimer *poll = m_rig->c().session.findChild<QTimer *>("StatusTimer");
    controls().StatusCheck->setChecked(true);
    m_rig->c().processing.showProcessing();
    ProcessingForm *window = m_rig->c().processing.processingForm();
    QVERIFY(window);
    ProcessingSession &session = window->session();
    // Polling as fast as it can go while the window lists: it must keep out.
    qint64 listingFrom = -1;
    QByteArray heardWhileListing;
    QObject listening;
    connect(&session, &ProcessingSession::busyChanged, &listening, [&](bool busy) {
        poll->setInterval(busy ? 0 : 100);
        const QByteArray heard = fileBytes(m_heard);
        if (!busy && listingFrom >= 0)
            heardWhileListing += heard.mid(listingFrom);
        listingFrom = busy ? heard.size() : -1;
    });
    auto rowOf = [&](const QString &name) {
        const QStringList entries = session.entries();
        for (int row = 0; row < entries.size(); ++row) {
            if (entries.at(row).startsWith(name + ' '))
                return row;
        }
        return -1;
    };
    QTRY_VERIFY_WITH_TIMEOUT(rowOf("DATA") >= 0 && !session.isBusy(), 15000);
    session.openEntry(session.entries().at(rowOf("DATA")));
    for (const char *name : {"RUN1.TLT", "RUN2.TLT"}) {
        QVERIFY(rowOf(name) >= 0);
        window->List1()->item(rowOf(name))->setSelected(true);
    }

    // A report lost in the burst would leave the run waiting until Stop.
    m_rig->when([deadline = QDeadlineTimer(20000)] { return deadline.hasExpired(); },
                [window] { QTest::mouseClick(window->StopButton(), Qt::LeftButton); });
    QTest::mouseClick(window->StartButton(), Qt::LeftButton);

    QVERIFY2(!session.stopRequested(), "the run waited past its reports");
    QCOMPARE(window->List1()->selectedItems().size(), 0);
    QCOMPARE(fileBytes(m_heard).count("DIRIDovavud"), 2);
    QVERIFY(heardWhileListing.contains("OS \"DIR *.tlt\""));
    QVERIFY2(!heardWhileListing.contains("st\r"), heardWhileListing.constData());
    // Polling comes back as it was.
    const qsizetype afterRun = fileBytes(m_heard).size();
    QTRY_VERIFY(fileBytes(m_heard).mid(afterRun).contains("st\r"));
}

void OperatorEndToEnd::dialogButtonsWaitVisiblyForTheirQuery()
{
    // Answers a tenth of a second after each echo: the queries last long enough to be seen.
    if (!start({"--fast", "--slow-ms", "100"}))
        return;
    MainForm &form = m_rig->c().form;
    QList<bool> duringQuery;

    SetTimeForm clock(m_rig->session().line(), &form);
    const QList<QPushButton *> clockButtons{clock.RefreshButton, clock.SetTimeButton,
                                            clock.SetToComputerTimeButton};
    auto noteButtons = [&] {
        for (QPushButton *button : clockButtons)
            duringQuery << button->isEnabled();
    };
    auto allEnabled = [&] {
        return std::all_of(clockButtons.begin(), clockButtons.end(),
                           [](QPushButton *b) { return b->isEnabled(); });
    };
    m_rig->when([&] { return busyWith("time\r"); }, noteButtons);
    clock.show();
    clock.activateWindow();
    QTRY_VERIFY(m_rig->fired());
    QTRY_VERIFY(status() == StatusCode::Idle && allEnabled());
    for (QPushButton *pressed : {clock.RefreshButton, clock.SetTimeButton}) {
        m_rig->when([&] { return busyWith("time"); }, noteButtons);
        QTest::mouseClick(pressed, Qt::LeftButton);
        QVERIFY(m_rig->fired());
        QVERIFY(allEnabled());
    }
    QCOMPARE(duringQuery, QList<bool>(9, false));
    clock.close();

    // "Set Rate" waits out the opening query; the operator's entry outlives the message
    // about it and the dialog's next activation.
    LineClaim claim = m_rig->session().claimLine(LineOperation::BaudChange);
    SetBaudForm baud(claim, m_rig->dialogs, &form);
    duringQuery.clear();
    m_rig->when([&] { return busyWith("baud\r"); },
                [&] { duringQuery << baud.SetBaudButton->isEnabled(); });
    baud.show();
    baud.activateWindow();
    QTRY_VERIFY(m_rig->fired());
    QTRY_VERIFY(baud.StartupRateLabel->text() == "Startup rate 9600");
    QCOMPARE(duringQuery, QList<bool>{false});
    QVERIFY(baud.SetBaudButton->isEnabled());
    baud.BaudCombo->setEditText("57600x");
    QTest::mouseClick(baud.SetBaudButton, Qt::LeftButton);
    QCOMPARE(m_rig->dialogs.errors.size(), 1);
    QTRY_VERIFY(baud.isActiveWindow());
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(&baud, &activation);
    QCOMPARE(baud.BaudCombo->currentText(), QString("57600x"));
    QCOMPARE(fileBytes(m_heard).count("baud\r"), 1);
}

void OperatorEndToEnd::searchUsesTodaysPortsAndShrugsOffAHangUp()
{
    SimProcess resetting, instrument;
    QVERIFY2(resetting.start({"--hangup-on-probe"}), qPrintable(resetting.errorString()));
    QVERIFY2(instrument.start({"--fast", "--serial", "7007"}),
             qPrintable(instrument.errorString()));
    // No serial ports at start-up; then two adapters: a device that resets when probed, and
    // the instrument.
    QStringList plugged;
    const PortTable ports = PortTable::live([&plugged] { return plugged; });
    QtCommPort comm(ports);
    ScriptedOperator dialogs;
    ConsoleBinding console(comm, ports, dialogs);

    QVERIFY(!console.session.SearchForInstrument());
    QCOMPARE(console.session.portSearch().labelText(), QString("No Orvantis found on any port."));

    plugged = QStringList{resetting.devicePath(), instrument.devicePath()};
    QVERIFY(console.session.SearchForInstrument());
    QCOMPARE(comm.portNumber(), 2);
    QCOMPARE(console.session.SerNum(), QString("7007"));
    QTRY_VERIFY(!resetting.isRunning());
    QSignalSpy runs(console.session.findChild<QTimer *>("Timer1"), &QTimer::timeout);
    QTRY_VERIFY(runs.size() >= 3);
    QCOMPARE(dialogs.errors, QStringList());
    QCOMPARE(console.session.Status(), StatusCode::Idle);
}

void OperatorEndToEnd::instrumentMenuAndRateOnlyWhileIdle()
{
    // A sample long enough to be seen under way.
    if (!start({"--fast", "--spectrum-ms", "1000"}))
        return;
    const MainFormControls &c = controls();
    QStringList seen;
    const auto look = [&] {
        QString on;
        for (bool enabled :
             {c.SetBaudButton->isEnabled(), c.SetBaudMenuItem->isEnabled(),
              c.OrvantisMenu->menuAction()->isEnabled(), c.SetClockMenuItem->isEnabled()})
            on += enabled ? '1' : '0';
        seen << QString::number(int(status())) + ':' + on;
    };
    look();
    m_rig->when([&] { return status() == StatusCode::CommandInProgress; }, look);
    QTest::mouseClick(c.SampleOnceButton, Qt::LeftButton);
    c.SampleDelayText->setText("5");
    QTest::mouseClick(c.StartSamplingButton, Qt::LeftButton);
    look();
    QTest::mouseClick(c.StopSamplingButton, Qt::LeftButton);
    look();
    // Status checks once a second, unanswered: no response.
    QVERIFY(m_rig->sim.sendSignal(SIGUSR1));
    QTRY_VERIFY(m_rig->sim.standardError().contains("status answers off"));
    m_rig->dialogs.inputAnswers << "1";
    c.StatusRateMenuItem->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(status(), StatusCode::NoResponse, 15000);
    look();
    QTest::mouseClick(c.DisconnectButton, Qt::LeftButton);
    look();
    QCOMPARE(seen.join(' '), QString("1:1111 2:0000 4:0000 1:1111 5:0000 0:0000"));
}

void OperatorEndToEnd::pollingComesBackAfter_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::newRow("Sample Once") << Operation::SampleOnce;
    QTest::newRow("download") << Operation::Download;
    QTest::newRow("upload") << Operation::Upload;
    QTest::newRow("delete") << Operation::Delete;
    QTest::newRow("Set Clock") << Operation::SetClock;
    QTest::newRow("Set Baud Rate") << Operation::SetBaud;
}

void OperatorEndToEnd::pollingComesBackAfter()
{
    QFETCH(Operation, operation);
    // Still settling, so polled every 3 s.
    if (!start({"--fast"}))
        return;
    const MainFormControls &c = controls();
    QTest::mouseClick(c.StatusCheck, Qt::LeftButton);
    m_rig->c().session.setDefaultDataFolder(m_dir.path());
    const bool files = operation == Operation::Download || operation == Operation::Upload ||
                       operation == Operation::Delete;
    FileTransferForm *window = files ? m_rig->openFiles() : nullptr;
    QVERIFY(!files || (window && window->fileCount() > 0));
    switch (operation) {
    case Operation::SampleOnce:
        QTest::mouseClick(c.SampleOnceButton, Qt::LeftButton);
        break;
    case Operation::Download:
        m_rig->clickRow(m_rig->rowOf("SPECTRA.BIN"));
        QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);
        break;
    case Operation::Upload: {
        const QString local = m_dir.filePath("three lines.txt");
        QVERIFY(writeFile(local, "A\nB\nC\n"));
        m_rig->dialogs.pathAnswers << local;
        QTest::mouseClick(window->SendFileButton(), Qt::LeftButton);
        break;
    }
    case Operation::Delete:
        m_rig->clickRow(0);
        m_rig->dialogs.yesNoAnswers << true;
        QTest::mouseClick(window->DeleteButton(), Qt::LeftButton);
        break;
    case Operation::SetClock:
    case Operation::SetBaud: {
        // Closed once its opening query has been answered.
        const QByteArray query = operation == Operation::SetClock ? "time\r" : "baud\r";
        whenTrue(
            [&] {
                return QApplication::activeModalWidget() && status() == StatusCode::Idle &&
                       fileBytes(m_heard).endsWith(query);
            },
            closeModalWindow);
        (operation == Operation::SetClock ? c.SetClockMenuItem : c.SetBaudMenuItem)->trigger();
        break;
    }
    }

    QCOMPARE(m_rig->dialogs.errors, QStringList());
    const qsizetype after = fileBytes(m_heard).size();
    QTRY_VERIFY_WITH_TIMEOUT(fileBytes(m_heard).mid(after).contains("st\r"), 10000);
}

QTEST_MAIN(OperatorEndToEnd)
#include "tst_operator_e2e.moc"
