// The operator's clicks against orvantis-sim over real pseudo-terminals, at the moments that
// hurt: Stop while a wait is still open, a switch click overtaken by a status line asked for
// before it, a device that hangs up while probed, an adapter plugged in after start-up; the
// controls that only an idle link may offer, and status polling given back after every
// operation that holds it off. And while an operation owns the line (a download, an upload,
// the cal check, a processing run) nothing else reaches the instrument: every control that
// would send is off, and the ways past the controls (a switch set by the program, a key typed
// in the terminal, a poll falling due, a data file opened while a transfer holds it) are
// refused.
#include "features/sampling/DataFileController.h"
#include "testkit/ModalDriver.h"
#include "testkit/SimRig.h"
#include "testkit/TestSettings.h"
#include "ui/files/FileTransferForm.h"
#include "ui/processing/ProcessingForm.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <csignal>

namespace
{
enum class Operation { SampleOnce, Download, Upload, Delete, SetClock, SetBaud };

// What no owner of the line sends, and what the ways past the controls would.
const QList<QByteArray> kForeign{"Acquire auto", "start ", "tpower", "time", "baud", "QQ"};

bool busyWith(SimRig &rig, const QByteArray &echo)
{
    return rig.status() == StatusCode::CommandInProgress &&
           probe::receiveBuffer(rig.session()).contains(echo);
}

// Presses and sets everything that would send while an operation owns the line, and returns
// the names of the controls that were on.
QStringList tryEverything(SimRig &rig)
{
    const MainFormControls &c = rig.controls();
    QStringList on;
    for (QWidget *control : std::initializer_list<QWidget *>{
             c.SampleOnceButton, c.StartSamplingButton, c.StopSamplingButton, c.SetBaudButton,
             c.StatusCheck, c.ThermalOnCheck, c.LightOnCheck, c.TransferFilesButton}) {
        if (control->isEnabled())
            on << control->objectName();
        QTest::mouseClick(control, Qt::LeftButton);
    }
    for (QAction *item : {c.SetBaudMenuItem, c.SetClockMenuItem, c.StatusRateMenuItem,
                          c.OrvantisMenu->menuAction()}) {
        if (item->isEnabled())
            on << item->text();
        item->trigger();
    }
    if (FileTransferForm *files = rig.c().files.window()) {
        for (QPushButton *button : {files->RefreshButton(), files->SendFileButton(),
                                    files->GetFilesButton(), files->DeleteButton()}) {
            if (button->isEnabled())
                on << button->objectName();
            QTest::mouseClick(button, Qt::LeftButton);
        }
    }
    // Past the controls: a switch the program sets, keys typed in the terminal; polls held.
    c.ThermalOnCheck->setChecked(!c.ThermalOnCheck->isChecked());
    QTest::keyClicks(rig.c().terminal.Text(), "QQ");
    if (!rig.session().pollingHeld())
        on << "polling";
    return on;
}
} // namespace

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(LineOperation)
Q_DECLARE_METATYPE(StatusSwitch)

class OperatorEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void stopAlwaysEndsInStatusOne_data();
    void stopAlwaysEndsInStatusOne();
    void switchClickOutlivesAStatusLineAskedBeforeIt_data();
    void switchClickOutlivesAStatusLineAskedBeforeIt();
    void searchUsesTodaysPortsAndShrugsOffAHangUp();
    void instrumentMenuAndRateOnlyWhileIdle();
    void pollingComesBackAfter_data();
    void pollingComesBackAfter();
    void nothingElseReachesTheInstrumentWhileOwned_data();
    void nothingElseReachesTheInstrumentWhileOwned();
};

void OperatorEndToEnd::stopAlwaysEndsInStatusOne_data()
{
    // The echo the wait shows; none: a switch clicked while sampling.
    QTest::addColumn<QByteArray>("echo");
    QTest::newRow("the start command") << QByteArray("start 5 Acquire");
    QTest::newRow("a switch clicked while sampling") << QByteArray();
}

void OperatorEndToEnd::stopAlwaysEndsInStatusOne()
{
    QFETCH(QByteArray, echo);
    const bool startCommand = !echo.isEmpty();
    // A slow first sample keeps the start command waiting for its prompt.
    SimRig rig(RigOptions({"--fast", "--stable", "--spectrum-ms", startCommand ? "1500" : "20"}));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const MainFormControls &c = rig.controls();
    c.SampleDelayText->setText("5");
    if (!startCommand) {
        QTest::mouseClick(c.StartSamplingButton, Qt::LeftButton);
        QCOMPARE(rig.status(), StatusCode::PeriodicSampling);
    }
    // The wait shows the hourglass; Stop leaves none behind.
    bool hourglass = false;
    rig.when([&] { return busyWith(rig, echo); },
             [&] {
                 hourglass = QApplication::overrideCursor() &&
                             QApplication::overrideCursor()->shape() == Qt::WaitCursor;
                 QTest::mouseClick(c.StopSamplingButton, Qt::LeftButton);
             });
    if (startCommand)
        QTest::mouseClick(c.StartSamplingButton, Qt::LeftButton);
    else
        c.LightOnCheck->click();
    QVERIFY(rig.fired() && hourglass);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(rig.status(), StatusCode::Idle);
    QCOMPARE(c.StatusLabel->text(), QString("Connected to 1021 "));
    QVERIFY(c.StartSamplingButton->isEnabled() && c.SampleOnceButton->isEnabled());
    QTRY_VERIFY(rig.heard().contains("\x03\x03\x03"));
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
    SimRig rig(RigOptions({"--fast", "--stable", "--status-delay-ms", "600"}));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const bool light = which == StatusSwitch::Light;
    QCheckBox *box = light ? rig.controls().LightOnCheck : rig.controls().ThermalOnCheck;
    IndicatorLamp *offLamp =
        light ? rig.controls().LightOKShape[0] : rig.controls().ThermalOKShape[0];
    QTRY_VERIFY(box->isEnabled() && box->isChecked());
    StatusQuery &query = rig.c().status.monitor().query();
    // A poll's "st" is out, its line (subsystem on) still to come, when the operator
    // switches off: the switch command, then the line asked for before it.
    rig.when([&] { return busyWith(rig, "Orvantis>"); }, [&] { box->click(); });
    query.QueryStatus();
    QVERIFY(rig.fired());
    QTRY_COMPARE(offLamp->colour(), LampColour::Red);
    QVERIFY(!box->isChecked() && !rig.heard().contains(onCommand));
    // A line asked for after the switch still ticks the box: the subsystem is switched on
    // behind the box's back, and the box follows with its own command.
    rig.line().SendCommand(onCommand, "", "", 0.3f);
    query.QueryStatus();
    QTRY_VERIFY(box->isChecked());
    QTRY_COMPARE(rig.heard().count(onCommand), 2);
}

void OperatorEndToEnd::searchUsesTodaysPortsAndShrugsOffAHangUp()
{
    const QTemporaryDir settings;
    useTemporarySettings(settings.path());
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
    SimRig rig(RigOptions({"--fast", "--spectrum-ms", "1000"}));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const MainFormControls &c = rig.controls();
    QStringList seen;
    const auto look = [&] {
        QString on;
        for (bool enabled :
             {c.SetBaudButton->isEnabled(), c.SetBaudMenuItem->isEnabled(),
              c.OrvantisMenu->menuAction()->isEnabled(), c.SetClockMenuItem->isEnabled()})
            on += enabled ? '1' : '0';
        seen << QString::number(int(rig.status())) + ':' + on;
    };
    look();
    rig.when([&] { return rig.status() == StatusCode::CommandInProgress; }, look);
    QTest::mouseClick(c.SampleOnceButton, Qt::LeftButton);
    c.SampleDelayText->setText("5");
    QTest::mouseClick(c.StartSamplingButton, Qt::LeftButton);
    look();
    QTest::mouseClick(c.StopSamplingButton, Qt::LeftButton);
    look();
    // Status checks once a second, unanswered: no response.
    QVERIFY(rig.sim.sendSignal(SIGUSR1));
    QTRY_VERIFY(rig.sim.standardError().contains("status answers off"));
    rig.dialogs.inputAnswers << "1";
    c.StatusRateMenuItem->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(rig.status(), StatusCode::NoResponse, 15000);
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
    SimRig rig(RigOptions({"--fast"}));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const MainFormControls &c = rig.controls();
    QTest::mouseClick(c.StatusCheck, Qt::LeftButton);
    const bool files = operation == Operation::Download || operation == Operation::Upload ||
                       operation == Operation::Delete;
    FileTransferForm *window = files ? rig.openFiles() : nullptr;
    QVERIFY(!files || (window && window->fileCount() > 0));
    switch (operation) {
    case Operation::SampleOnce:
        QTest::mouseClick(c.SampleOnceButton, Qt::LeftButton);
        break;
    case Operation::Download:
        rig.clickRow(rig.rowOf("SPECTRA.BIN"));
        QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);
        break;
    case Operation::Upload: {
        const QString local = rig.local("three lines.txt");
        QVERIFY(writeFile(local, "A\nB\nC\n"));
        rig.dialogs.pathAnswers << local;
        QTest::mouseClick(window->SendFileButton(), Qt::LeftButton);
        break;
    }
    case Operation::Delete:
        rig.clickRow(0);
        rig.dialogs.yesNoAnswers << true;
        QTest::mouseClick(window->DeleteButton(), Qt::LeftButton);
        break;
    case Operation::SetClock:
    case Operation::SetBaud: {
        // Closed once its opening query has been answered.
        const QByteArray query = operation == Operation::SetClock ? "time\r" : "baud\r";
        whenTrue(
            [&] {
                return QApplication::activeModalWidget() && rig.status() == StatusCode::Idle &&
                       rig.heard().endsWith(query);
            },
            closeModalWindow);
        (operation == Operation::SetClock ? c.SetClockMenuItem : c.SetBaudMenuItem)->trigger();
        break;
    }
    }
    QCOMPARE(rig.dialogs.errors, QStringList());
    const qsizetype after = rig.heard().size();
    QTRY_VERIFY_WITH_TIMEOUT(rig.heard().mid(after).contains("st\r"), 10000);
}

void OperatorEndToEnd::nothingElseReachesTheInstrumentWhileOwned_data()
{
    QTest::addColumn<LineOperation>("owner");
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QString>("owned");
    // clang-format off
    QTest::newRow("download") << LineOperation::Download << QStringList{"--baud", "57600"} << "a download";
    QTest::newRow("upload") << LineOperation::Upload << QStringList{"--baud", "57600"} << "an upload";
    QTest::newRow("cal check") << LineOperation::CalCheck << QStringList{"--stable", "--fast"} << "the cal check";
    QTest::newRow("processing") << LineOperation::Processing << QStringList{"--fast"} << "remote processing";
    // clang-format on
}

void OperatorEndToEnd::nothingElseReachesTheInstrumentWhileOwned()
{
    QFETCH(LineOperation, owner);
    QFETCH(QStringList, simulator);
    QFETCH(QString, owned);
    const bool transfer = owner == LineOperation::Download || owner == LineOperation::Upload;
    SimRig rig(simulator);
    QVERIFY(QDir().mkpath(rig.disk()));
    const QByteArray big = everyByteValue(20000);
    const QByteArray lines = textLines(150);
    QVERIFY(writeFile(rig.disk("BIG.BIN"), big));
    QVERIFY(writeFile(rig.local("lines.txt"), lines));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.c().form.ShowTerminal();
    // A transfer holds the data file: neither its buttons nor the program may open or close
    // one meanwhile. The download's capture takes over an open one; the upload runs without.
    QVERIFY(owner != LineOperation::Download || rig.openDataFile(rig.local("samples.raw")));
    QSignalSpy refusals(&rig.session(), &InstrumentSession::lineRefused);
    qsizetype heardBefore = -1;
    QStringList onWhileOwned;
    int opened = 0;
    rig.when(
        [&] {
            if (rig.session().lineOwner() != owner)
                return false;
            switch (owner) {
            case LineOperation::Download:
                return probe::byteCount(rig.session()) > 2000;
            case LineOperation::Upload:
                return rig.c().files.window()->ProgressLabel()->text().startsWith("lines.txt: 2");
            case LineOperation::CalCheck:
                return probe::receiveBuffer(rig.session()).count(',') > 10;
            default:
                return rig.c().processing.processingForm()->session().isProcessing();
            }
        },
        [&] {
            heardBefore = rig.heard().size();
            onWhileOwned = tryEverything(rig);
            if (!transfer)
                return;
            for (QWidget *control : {rig.controls().NewFileButton, rig.controls().StopSavingButton})
                if (control->isEnabled())
                    onWhileOwned << control->objectName();
            rig.dialogs.pathAnswers.enqueue(rig.local("other.raw"));
            opened = rig.c().sampling.OpenNewFile();
        });
    switch (owner) {
    case LineOperation::Download:
        QVERIFY(rig.openFiles());
        rig.select("BIG.BIN");
        rig.clickFiles("Get Files");
        QVERIFY(fileBytes(rig.local("BIG.BIN")) == big);
        break;
    case LineOperation::Upload:
        QVERIFY(rig.openFiles());
        rig.dialogs.pathAnswers.enqueue(rig.local("lines.txt"));
        rig.clickFiles("Send File...");
        QCOMPARE(fileBytes(rig.disk("lines.txt")), lines);
        break;
    case LineOperation::CalCheck:
        rig.dialogs.questionAnswers << 1 << 1 << 1;
        rig.dialogs.pathAnswers.enqueue(rig.path("cal.raw"));
        rig.trigger("Collect Cal Check Data...");
        break;
    default: {
        rig.trigger("Remote Processing...");
        ProcessingForm *window = rig.c().processing.processingForm();
        QTRY_VERIFY(window->List1()->count() > 0 && !window->session().isBusy());
        window->session().openEntry(window->session().entries().first());
        QCOMPARE(window->Label1()->text(), QString(" C:\\DATA"));
        const QList<QListWidgetItem *> files =
            window->List1()->findItems(".TLT", Qt::MatchContains);
        QVERIFY(!files.isEmpty());
        files.first()->setSelected(true);
        QTest::mouseClick(window->StartButton(), Qt::LeftButton);
        break;
    }
    }
    QVERIFY2(rig.fired(), "the operation ended before the controls could be tried");
    QCOMPARE(onWhileOwned, QStringList());
    QTRY_VERIFY(rig.session().lineFree());
    // The last the operation sends is in the instrument's record.
    if (owner == LineOperation::Upload || owner == LineOperation::CalCheck)
        QTRY_VERIFY(rig.heard().endsWith(owner == LineOperation::Upload ? "Dir /V\r" : "st\r"));
    const QByteArray during = rig.heardSince(heardBefore);
    for (const QByteArray &foreign : kForeign)
        QVERIFY2(!during.contains(foreign), foreign + " reached the instrument: " + during);
    // The only listing is the upload's own, once it is over.
    QCOMPARE(during.count("Dir /V"), owner == LineOperation::Upload ? 1 : 0);
    // No poll: the only status requests are the cal check's own, with its light switched on.
    QCOMPARE(during.count("st\r"), during.count("lpower,1\rst\r"));
    // What was refused was said, in the operator's terms.
    QVERIFY(!refusals.isEmpty());
    for (const QList<QVariant> &refusal : refusals)
        QCOMPARE(refusal.first().toString(), "Not sent: " + owned + " is using the Orvantis.");
    QCOMPARE(rig.dialogs.errors,
             transfer ? QStringList{DataFileController::transferRunningMessage()} : QStringList());
    if (!transfer)
        return;
    // No file chooser came up; afterwards the controls follow the data file again (none).
    QCOMPARE(opened, -1);
    QCOMPARE(rig.dialogs.pathAnswers.size(), 1);
    QVERIFY(!probe::dataFile(rig.session()).isOpen());
    QVERIFY(rig.controls().NewFileButton->isEnabled() &&
            !rig.controls().StopSavingButton->isEnabled());
    QVERIFY(rig.controls().CalCheckMenuItem->isEnabled());
}

QTEST_MAIN(OperatorEndToEnd)
#include "tst_operator_e2e.moc"
