// The operator's clicks against orvantis-sim over real pseudo-terminals, at the moments that
// hurt: Stop while a wait is still open, a switch click overtaken by a status line asked for
// before it, report lines that come back to back, a device that hangs up while probed, an
// adapter plugged in after start-up; the controls that only an idle link may offer, and
// status polling given back after every operation that holds it off. And while an operation
// owns the line (a download, an upload, the cal check, a processing run) nothing else reaches
// the instrument: every control that would send is off, and the ways past the controls (a
// switch set by the program, a key typed in the terminal, a poll falling due) are refused.
#include "testkit/ModalDriver.h"
#include "testkit/SimRig.h"
#include "testkit/TestSettings.h"
#include "ui/files/FileTransferForm.h"
#include "ui/processing/ProcessingForm.h"
#include "ui/widgets/IndicatorLamp.h"

#include <QAction>
#include <QCheckBox>
#include <QDeadlineTimer>
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
enum class Waiting { StartCommand, SwitchWhileSampling };
enum class Operation { SampleOnce, Download, Upload, Delete, SetClock, SetBaud };
enum class Owner { Download, Upload, CalCheck, Processing };

// What no owner of the line sends, and what the ways past the controls would.
const QList<QByteArray> kForeign{"Acquire auto", "start ", "tpower", "time", "baud", "QQ"};
} // namespace

Q_DECLARE_METATYPE(Waiting)
Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(Owner)
Q_DECLARE_METATYPE(StatusSwitch)

namespace
{
bool busyWith(SimRig &rig, const QByteArray &echo)
{
    return rig.status() == StatusCode::CommandInProgress &&
           probe::receiveBuffer(rig.session()).contains(echo);
}
} // namespace

class OperatorEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void stopAlwaysEndsInStatusOne_data();
    void stopAlwaysEndsInStatusOne();
    void switchClickOutlivesAStatusLineAskedBeforeIt_data();
    void switchClickOutlivesAStatusLineAskedBeforeIt();
    void reportsSentBackToBackAreAllSeen();
    void searchUsesTodaysPortsAndShrugsOffAHangUp();
    void instrumentMenuAndRateOnlyWhileIdle();
    void pollingComesBackAfter_data();
    void pollingComesBackAfter();
    void nothingElseReachesTheInstrumentWhileOwned_data();
    void nothingElseReachesTheInstrumentWhileOwned();

private:
    // Presses and sets everything that would send while an operation owns the line, and
    // returns the names of the controls that were on.
    QStringList tryEverything(SimRig &rig);
};

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
    SimRig rig(RigOptions(
        {"--fast", "--stable", "--spectrum-ms", waiting == Waiting::StartCommand ? "1500" : "20"}));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const MainFormControls &c = rig.controls();
    c.SampleDelayText->setText("5");
    if (waiting == Waiting::SwitchWhileSampling) {
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
    if (waiting == Waiting::StartCommand)
        QTest::mouseClick(c.StartSamplingButton, Qt::LeftButton);
    else
        c.LightOnCheck->click();
    QVERIFY(rig.fired() && hourglass);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(rig.status(), StatusCode::Idle);
    QCOMPARE(c.StatusLabel->text(), QString("Connected to 1021 "));
    QVERIFY(c.StartSamplingButton->isEnabled());
    QVERIFY(c.SampleOnceButton->isEnabled());
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
    QVERIFY(!box->isChecked());
    QVERIFY(!rig.heard().contains(onCommand));
    // A line asked for after the switch still ticks the box: the subsystem is switched on
    // behind the box's back, and the box follows with its own command.
    rig.line().SendCommand(onCommand, "", "", 0.3f);
    query.QueryStatus();
    QTRY_VERIFY(box->isChecked());
    QTRY_COMPARE(rig.heard().count(onCommand), 2);
}

void OperatorEndToEnd::reportsSentBackToBackAreAllSeen()
{
    // Each run's report lines come in one write, two seconds after the command.
    SimRig rig(RigOptions({"--fast", "--burst-reports"}));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QTimer *poll = rig.session().findChild<QTimer *>("StatusTimer");
    rig.controls().StatusCheck->setChecked(true);
    rig.c().processing.showProcessing();
    ProcessingForm *window = rig.c().processing.processingForm();
    QVERIFY(window);
    ProcessingSession &session = window->session();
    // Polling as fast as it can go while the window lists: it must keep out.
    qint64 listingFrom = -1;
    QByteArray heardWhileListing;
    QObject listening;
    connect(&session, &ProcessingSession::busyChanged, &listening, [&](bool busy) {
        poll->setInterval(busy ? 0 : 100);
        const QByteArray heard = rig.heard();
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
    rig.when([deadline = QDeadlineTimer(60000)] { return deadline.hasExpired(); },
             [window] { QTest::mouseClick(window->StopButton(), Qt::LeftButton); });
    QTest::mouseClick(window->StartButton(), Qt::LeftButton);
    QVERIFY2(!session.stopRequested(), "the run waited past its reports");
    QCOMPARE(window->List1()->selectedItems().size(), 0);
    QCOMPARE(rig.heard().count("DIRIDovavud"), 2);
    QVERIFY(heardWhileListing.contains("OS \"DIR *.tlt\""));
    QVERIFY2(!heardWhileListing.contains("st\r"), heardWhileListing.constData());
    // Polling comes back as it was.
    const qsizetype afterRun = rig.heard().size();
    QTRY_VERIFY(rig.heard().mid(afterRun).contains("st\r"));
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
    QTest::addColumn<Owner>("operation");
    QTest::addColumn<QStringList>("simulator");
    QTest::newRow("download") << Owner::Download << QStringList{"--baud", "57600"};
    QTest::newRow("upload") << Owner::Upload << QStringList{"--baud", "57600"};
    QTest::newRow("cal check") << Owner::CalCheck << QStringList{"--stable", "--fast"};
    QTest::newRow("processing") << Owner::Processing << QStringList{"--fast"};
}

void OperatorEndToEnd::nothingElseReachesTheInstrumentWhileOwned()
{
    QFETCH(Owner, operation);
    QFETCH(QStringList, simulator);
    SimRig rig(simulator);
    QVERIFY(QDir().mkpath(rig.disk()));
    const QByteArray big = everyByteValue(20000);
    const QByteArray lines = textLines(150);
    QVERIFY(writeFile(rig.disk("BIG.BIN"), big));
    QVERIFY(writeFile(rig.local("lines.txt"), lines));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    rig.c().form.ShowTerminal();
    QSignalSpy refusals(&rig.session(), &InstrumentSession::lineRefused);
    const LineOperation owner = operation == Owner::Download   ? LineOperation::Download
                                : operation == Owner::Upload   ? LineOperation::Upload
                                : operation == Owner::CalCheck ? LineOperation::CalCheck
                                                               : LineOperation::Processing;
    qsizetype heardBefore = -1;
    QStringList onWhileOwned;
    rig.when(
        [&] {
            if (rig.session().lineOwner() != owner)
                return false;
            switch (operation) {
            case Owner::Download:
                return probe::byteCount(rig.session()) > 2000;
            case Owner::Upload:
                return rig.c().files.window()->ProgressLabel()->text().startsWith("lines.txt: 2");
            case Owner::CalCheck:
                return probe::receiveBuffer(rig.session()).count(',') > 10;
            case Owner::Processing:
                return rig.c().processing.processingForm()->session().isProcessing();
            }
            return false;
        },
        [&] {
            heardBefore = rig.heard().size();
            onWhileOwned = tryEverything(rig);
        });
    switch (operation) {
    case Owner::Download: {
        FileTransferForm *window = rig.openFiles();
        QVERIFY(window);
        rig.select("BIG.BIN");
        rig.clickFiles("Get Files");
        QVERIFY(fileBytes(rig.local("BIG.BIN")) == big);
        break;
    }
    case Owner::Upload: {
        FileTransferForm *window = rig.openFiles();
        QVERIFY(window);
        rig.dialogs.pathAnswers.enqueue(rig.local("lines.txt"));
        rig.clickFiles("Send File...");
        QCOMPARE(fileBytes(rig.disk("lines.txt")), lines);
        break;
    }
    case Owner::CalCheck:
        rig.dialogs.questionAnswers << 1 << 1 << 1;
        rig.dialogs.pathAnswers.enqueue(rig.path("cal.raw"));
        rig.trigger("Collect Cal Check Data...");
        break;
    case Owner::Processing: {
        rig.trigger("Remote Processing...");
        ProcessingForm *window = rig.c().processing.processingForm();
        QListWidget *list = window->List1();
        QTRY_VERIFY(list->count() > 0 && !window->session().isBusy());
        const QPoint first = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
        QTRY_VERIFY(window->Label1()->text() == " C:\\DATA" && !window->session().isBusy());
        QList<QListWidgetItem *> files = list->findItems(".TLT", Qt::MatchContains);
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
    if (operation == Owner::Upload || operation == Owner::CalCheck)
        QTRY_VERIFY(rig.heard().endsWith(operation == Owner::Upload ? "Dir /V\r" : "st\r"));
    const QByteArray during = rig.heardSince(heardBefore);
    for (const QByteArray &foreign : kForeign)
        QVERIFY2(!during.contains(foreign), foreign + " reached the instrument: " + during);
    // The only listing is the upload's own, once it is over.
    QCOMPARE(during.count("Dir /V"), operation == Owner::Upload ? 1 : 0);
    // No poll: the only status requests are the cal check's own, with its light switched on.
    QCOMPARE(during.count("st\r"), during.count("lpower,1\rst\r"));
    // What was refused was said, in the operator's terms.
    QVERIFY(!refusals.isEmpty());
    const QString owned = operation == Owner::Download   ? "a download"
                          : operation == Owner::Upload   ? "an upload"
                          : operation == Owner::CalCheck ? "the cal check"
                                                         : "remote processing";
    for (const QList<QVariant> &refusal : refusals)
        QCOMPARE(refusal.first().toString(), "Not sent: " + owned + " is using the Orvantis.");
    QCOMPARE(rig.dialogs.errors, QStringList());
}

QStringList OperatorEndToEnd::tryEverything(SimRig &rig)
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

QTEST_MAIN(OperatorEndToEnd)
#include "tst_operator_e2e.moc"
