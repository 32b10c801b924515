// The operator's clicks against orvantis-sim over real pseudo-terminals, at the moments that
// hurt: Stop while a wait is still open, a switch click overtaken by a status line asked for
// before it, report lines that come back to back, dialog buttons pressed during the dialog's
// own query, a device that hangs up while probed, an adapter plugged in after start-up.
#include "session/LineClaim.h"
#include "testkit/SimConsole.h"
#include "testkit/TestSettings.h"
#include "ui/connection/SetBaudForm.h"
#include "ui/processing/ProcessingForm.h"
#include "ui/status/SetTimeForm.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

enum class Waiting { StartCommand, SwitchWhileSampling };
} // namespace

Q_DECLARE_METATYPE(Waiting)
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

private:
    // Starts the simulator with `arguments` (and a record of what it hears) and connects.
    bool start(const QStringList &arguments);
    const MainFormControls &controls() { return m_rig->c().form.controls(); }
    StatusCode status() { return m_rig->c().session.Status(); }
    bool busyWith(const QByteArray &echo)
    {
        return status() == StatusCode::CommandInProgress &&
               m_rig->c().session.state().ReceiveBuffer.contains(echo);
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
    QVERIFY(readAll(m_heard).contains("\x03\x03\x03"));
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
    QVERIFY(!readAll(m_heard).contains(onCommand));

    // A line asked for after the switch still ticks the box: the subsystem is switched on
    // behind the box's back, and the box follows with its own command.
    m_rig->c().session.line().SendCommand(onCommand, "", "", 0.3f);
    query.QueryStatus();
    QTRY_VERIFY(box->isChecked());
    QTRY_COMPARE(readAll(m_heard).count(onCommand), 2);
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
        const QByteArray heard = readAll(m_heard);
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
    QCOMPARE(readAll(m_heard).count("DIRIDovavud"), 2);
    QVERIFY(heardWhileListing.contains("OS \"DIR *.tlt\""));
    QVERIFY2(!heardWhileListing.contains("st\r"), heardWhileListing.constData());
    // Polling comes back as it was.
    const qsizetype afterRun = readAll(m_heard).size();
    QTRY_VERIFY(readAll(m_heard).mid(afterRun).contains("st\r"));
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
    QCOMPARE(readAll(m_heard).count("baud\r"), 1);
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

QTEST_MAIN(OperatorEndToEnd)
#include "tst_operator_e2e.moc"
