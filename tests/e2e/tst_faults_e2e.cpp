// Faults against orvantis-sim over real pseudo-terminals, and the operator's Stop, Close and
// Disconnect mid-transfer or mid-run: each ends with status, buttons and file agreeing.
#include "LineNoise.h"
#include "testkit/SimRig.h"
#include "ui/connection/SetBaudForm.h"
#include "ui/files/FileTransferForm.h"
#include "ui/processing/ProcessingForm.h"
#include "ui/status/SetTimeForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <csignal>

namespace
{
// clang-format off
enum class When { IdlePolling, SingleSample, PeriodicSampling, Download, Upload, CalCheck, BaudChangeAsked, BaudChangeSwitched };
// clang-format on
enum class Press { Stop, Close, Disconnect };

// The main window's controls as status `code` leaves them, and the file manager idle.
void verifyControlsFor(SimRig &rig, StatusCode code)
{
    const MainFormControls &c = rig.controls();
    QCOMPARE(rig.status(), code);
    const bool connected = code != StatusCode::NotConnected;
    QCOMPARE(rig.comm->isOpen(), connected);
    const bool ready = code == StatusCode::Idle || code == StatusCode::NoResponse;
    QCOMPARE(c.ConnectButton->isEnabled(), !connected);
    QCOMPARE(c.DisconnectButton->isEnabled(), ready);
    QCOMPARE(c.SampleOnceButton->isEnabled(), ready);
    QCOMPARE(c.StartSamplingButton->isEnabled(), ready);
    QCOMPARE(c.StopSamplingButton->isEnabled(), connected);
    const bool fileOpen = probe::dataFile(rig.session()).isOpen();
    QCOMPARE(c.NewFileButton->isEnabled(), !fileOpen);
    QCOMPARE(c.StopSavingButton->isEnabled(), fileOpen);
    if (!fileOpen)
        QCOMPARE(c.SavingLabel->text(), QString("No file open"));
    if (FileTransferForm *window = rig.c().files.window()) {
        QVERIFY(!window->TransferBusy());
        QVERIFY(buttonCaptioned(window, "Close"));
        QCOMPARE(window->ProgressLabel()->text(), QString());
    }
}

// The captured file holds a stretch of the line's traffic, nothing added or lost inside.
void verifyCapturedFromTheLine(SimRig &rig, const QString &path)
{
    const QByteArray captured = fileBytes(path);
    QVERIFY2(!captured.isEmpty(), qPrintable(path));
    // The simulator's record of the line may lag behind what the console has filed.
    QTRY_VERIFY2(rig.sent().contains(captured), "the file is not what came down the line");
}

// Lets every wait for an answer run out at once: the program's clock jumps `seconds` ahead
// the next time a command is under way.
void jumpWhenBusy(SimRig &rig, double seconds)
{
    Clock &clock = probe::clock(rig.session());
    rig.when([&rig] { return rig.status() == StatusCode::CommandInProgress; },
             [&clock, seconds] { clock.setTimeOfDay(clock.timeOfDay() + seconds); });
}

// Shows a dialog through the menu item `caption` and closes it once `settled` holds for it.
void showAndClose(SimRig &rig, const QString &caption, std::function<bool(QWidget *)> settled)
{
    QTimer closer; // asked again until it has gone: mid-read, a dialog may not close at once
    int asked = 0;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && settled(dialog) && ++asked)
            dialog->close();
    });
    closer.start(10);
    rig.trigger(caption);
    QVERIFY(asked > 0);
}
} // namespace

Q_DECLARE_METATYPE(When)
Q_DECLARE_METATYPE(Press)

class FaultsEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void lineVanishes_data();
    void lineVanishes();
    void wrongRateOrGarbageDoesNotConnect_data();
    void wrongRateOrGarbageDoesNotConnect();
    void noiseInPlaceOfEveryAnswer();
    void fullDiskStopsTheCapture_data();
    void fullDiskStopsTheCapture();
    void operatorInterruptsATransfer_data();
    void operatorInterruptsATransfer();
    void operatorEndsAPeriodicRun_data();
    void operatorEndsAPeriodicRun();
};

void FaultsEndToEnd::lineVanishes_data()
{
    QTest::addColumn<When>("when");
    QTest::addColumn<QStringList>("simulator");
    // clang-format off
    QTest::newRow("idle polling") << When::IdlePolling << QStringList{"--fast"};
    QTest::newRow("single sample") << When::SingleSample << QStringList{"--fast", "--spectrum-ms", "2000"};
    QTest::newRow("periodic sampling") << When::PeriodicSampling << QStringList{"--fast"};
    QTest::newRow("download") << When::Download << QStringList{"--fast", "--hangup-type-after", "5000"};
    QTest::newRow("upload") << When::Upload << QStringList{"--fast"};
    QTest::newRow("cal check") << When::CalCheck << QStringList{"--fast", "--stable", "--spectrum-ms", "10"};
    // Gone between the echo and the "Changing".
    QTest::newRow("baud change, before the switch") << When::BaudChangeAsked << QStringList{"--fast", "--slow-ms", "100"};
    QTest::newRow("baud change, after the switch") << When::BaudChangeSwitched << QStringList{"--fast"};
    // clang-format on
}

void FaultsEndToEnd::lineVanishes()
{
    QFETCH(When, when);
    QFETCH(QStringList, simulator);
    SimRig rig(simulator);
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    // Gone for good, and the operator chose not to wait for it: the loss is said at once.
    rig.trigger("Reconnect automatically");
    QVERIFY(!rig.session().reconnectsAutomatically());
    const QString capture = rig.path("capture.raw");
    if (when == When::SingleSample || when == When::PeriodicSampling)
        QVERIFY(rig.openDataFile(capture));
    const bool capturing =
        when == When::SingleSample || when == When::PeriodicSampling || when == When::CalCheck;
    switch (when) {
    case When::IdlePolling:
        // A poll's reply is too quick for a watcher: the line goes as the poll starts.
        QObject::connect(
            &rig.session(), &InstrumentSession::pollDue, &rig.sim.process(),
            [&] { rig.sim.kill(); }, Qt::SingleShotConnection);
        rig.session().setPollInterval(200);
        rig.click("Automatic status updates");
        break;
    case When::SingleSample:
        rig.when(
            [&] {
                return rig.status() == StatusCode::CommandInProgress &&
                       probe::receiveBuffer(rig.session()).contains("Acquire");
            },
            [&] { rig.sim.kill(); });
        rig.click("Sample Once");
        break;
    case When::PeriodicSampling:
        rig.when(
            [&] {
                return rig.status() == StatusCode::PeriodicSampling &&
                       QFileInfo(capture).size() > 1000;
            },
            [&] { rig.sim.kill(); });
        rig.startPeriodic();
        break;
    case When::Download:
        QVERIFY(rig.openFiles());
        rig.select("SPECTRA.BIN");
        rig.clickFiles("Get Files");
        // Exactly the bytes that came before the line went.
        QCOMPARE(fileBytes(rig.local("SPECTRA.BIN")), everyByteValue(102400).left(5000));
        break;
    case When::Upload: {
        const QString local = rig.local("long.txt");
        QVERIFY(writeFile(local, textLines(40)));
        FileTransferForm *window = rig.openFiles();
        QVERIFY(window);
        rig.when([&] { return window->ProgressLabel()->text().startsWith("long.txt: 1"); },
                 [&] { rig.sim.kill(); });
        rig.dialogs.pathAnswers.enqueue(local);
        rig.clickFiles("Send File...");
        QCOMPARE(rig.grid()->rowCount(), 0);
        break;
    }
    case When::CalCheck:
        // Gone while the first set of spectra streams into the file: the check must not wait
        // for a Stop that nobody needs to press.
        rig.when([&] { return QFileInfo(capture).size() > 2000; }, [&] { rig.sim.kill(); });
        rig.dialogs.questionAnswers << 1 << 1 << 1;
        rig.dialogs.pathAnswers << capture;
        rig.trigger("Collect Cal Check Data...");
        QVERIFY(!rig.c().calCheck.calCheck().isRunning());
        QVERIFY(!probe::dataFile(rig.session()).isOpen());
        break;
    case When::BaudChangeAsked:
    case When::BaudChangeSwitched:
        rig.when(
            [&] {
                return when == When::BaudChangeAsked ? rig.heard().contains("Baud 115200")
                                                     : rig.comm->settings().startsWith("115200");
            },
            [&] { rig.sim.kill(); });
        QVERIFY2(rig.setRate("115200"), "the rate dialog stayed open on a line that was gone");
        break;
    }
    QTRY_COMPARE_WITH_TIMEOUT(rig.status(), StatusCode::NotConnected, 20000);
    QVERIFY(when == When::Download || when == When::IdlePolling || rig.fired());
    // More receive runs and poll ticks bring no further message.
    QSignalSpy runs(rig.session().findChild<QTimer *>("Timer1"), &QTimer::timeout);
    QTRY_VERIFY(runs.size() >= 5);
    QCOMPARE(rig.dialogs.errors,
             QStringList{"The connection to the Orvantis on COM 1 (" + rig.sim.devicePath() +
                         ") was lost. Check the cable and the instrument's power, then use "
                         "Connect... to connect again."});
    verifyControlsFor(rig, StatusCode::NotConnected);
    QCOMPARE(rig.controls().StatusLabel->text(), QString("No Orvantis connected "));
    if (capturing)
        verifyCapturedFromTheLine(rig, capture);
}

void FaultsEndToEnd::wrongRateOrGarbageDoesNotConnect_data()
{
    QTest::addColumn<QStringList>("simulator");
    QTest::newRow("rate the search does not try") << QStringList{"--baud", "38400"};
    QTest::newRow("garbage for every answer") << QStringList{"--garbage"};
}

void FaultsEndToEnd::wrongRateOrGarbageDoesNotConnect()
{
    QFETCH(QStringList, simulator);
    SimRig rig(RigOptions(simulator).unconnected());
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QVERIFY(!rig.connect());
    QCOMPARE(rig.session().portSearch().labelText(), QString("No Orvantis found on any port."));
    verifyControlsFor(rig, StatusCode::NotConnected);
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void FaultsEndToEnd::noiseInPlaceOfEveryAnswer()
{
    // Stable, so each noise burst (up to 70 000 bytes) is in at once.
    SimRig rig(RigOptions({"--fast", "--stable"}));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const QString capture = rig.path("noise.raw");
    QVERIFY(rig.openDataFile(capture));
    rig.c().form.ShowTerminal();
    QVERIFY(rig.sim.sendSignal(SIGUSR2));
    QTRY_VERIFY(rig.sim.standardError().contains("noise in place of answers on"));
    // The Orvantis menu's dialogs, the file manager and the cal check while the link is
    // still counted as idle (the menu is greyed once status checks go unanswered): noise is
    // no clock and no rate, and nobody is told anything.
    QDate shownDate;
    const qsizetype before = rig.heard().size();
    showAndClose(rig, "Set Clock...", [&](QWidget *dialog) {
        auto *clock = qobject_cast<SetTimeForm *>(dialog);
        if (!clock || !clock->RefreshButton->isEnabled() || rig.status() != StatusCode::Idle ||
            !rig.heardSince(before).contains("time\r"))
            return false;
        shownDate = clock->DatePicker1->date();
        return true;
    });
    // The date it started with, today's.
    QCOMPARE(shownDate, QDate::currentDate());
    QString rate;
    showAndClose(rig, "Set Baud Rate...", [&](QWidget *dialog) {
        auto *baud = qobject_cast<SetBaudForm *>(dialog);
        rate = baud ? baud->StartupRateLabel->text() : QString();
        return baud && rate != "[code]";
    });
    QCOMPARE(rate, QString("Startup rate 0"));
    if (QTest::currentTestFailed())
        return;
    jumpWhenBusy(rig, 11);
    FileTransferForm *files = rig.openFiles();
    QVERIFY(files && files->isVisible());
    QCOMPARE(rig.grid()->rowCount(), 0);
    files->close();
    // Noise is no stable instrument: the check is refused after its first question.
    rig.dialogs.questionAnswers << 1;
    rig.trigger("Collect Cal Check Data...");
    QCOMPARE(rig.dialogs.questions.size(), 2);
    QVERIFY(rig.dialogs.questions.last().startsWith("Cannot continue, because the Orvantis"));
    QVERIFY(!rig.c().calCheck.calCheck().isRunning());
    rig.c().processing.showProcessing();
    ProcessingForm *processing = rig.c().processing.processingForm();
    QVERIFY(processing);
    QTRY_VERIFY(!processing->session().isBusy());
    QCOMPARE(processing->List1()->count(), 0);
    processing->close();
    jumpWhenBusy(rig, 61);
    rig.click("Sample Once");
    QCOMPARE(rig.status(), StatusCode::Idle);
    // Four status checks with noise for answers: no response.
    for (int i = 0; i < 4; ++i)
        rig.c().status.monitor().query().QueryStatus();
    QCOMPARE(rig.status(), StatusCode::NoResponse);
    QCOMPARE(rig.controls().StatusLabel->text(), QString("NO RESPONSE-CHECK CONNECTIONS "));
    // Recovered: the console talks to it again; the file holds every byte of noise.
    QVERIFY(rig.sim.sendSignal(SIGUSR2));
    QTRY_VERIFY(rig.sim.standardError().contains("noise in place of answers off"));
    QTRY_VERIFY_WITH_TIMEOUT(probe::silence(rig.session()) > 0.5, 10000);
    rig.c().status.monitor().query().QueryStatus();
    QCOMPARE(rig.status(), StatusCode::Idle);
    QCOMPARE(rig.controls().StatusLabel->text(), QString("Connected to 1021 "));
    rig.click("Stop Saving");
    verifyControlsFor(rig, StatusCode::Idle);
    QVERIFY(QFileInfo(capture).size() > LineNoise::kBurst);
    verifyCapturedFromTheLine(rig, capture);
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void FaultsEndToEnd::fullDiskStopsTheCapture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("limit");
    QTest::newRow("/dev/full") << QString("/dev/full") << 0;
    QTest::newRow("file size limit") << QString("capture.raw") << 1500;
}

void FaultsEndToEnd::fullDiskStopsTheCapture()
{
    QFETCH(QString, file);
    QFETCH(int, limit);
    SimRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const QString path = QDir(rig.path(".")).absoluteFilePath(file);
    QVERIFY(rig.openDataFile(path));
    std::unique_ptr<FileSizeLimit> sizeLimit;
    if (limit > 0) {
        sizeLimit = std::make_unique<FileSizeLimit>(rlim_t(limit));
        QVERIFY(sizeLimit->isSet());
    }
    rig.startPeriodic();
    QTRY_COMPARE_WITH_TIMEOUT(rig.dialogs.errors.size(), 1, 10000);
    sizeLimit.reset();
    const QString message = rig.dialogs.errors.first();
    const QString reason =
        limit > 0 ? "File too large (the file size limit is reached)" : "Disk full";
    QCOMPARE(message.section('\n', 0, 0), "Error 61; " + reason + ".");
    QVERIFY2(message.contains(path), qPrintable(message));
    QVERIFY(!probe::dataFile(rig.session()).isOpen());
    // Sampling goes on, with the window showing that nothing is saved any more.
    verifyControlsFor(rig, StatusCode::PeriodicSampling);
    if (limit > 0) {
        QCOMPARE(QFileInfo(path).size(), qint64(limit));
        verifyCapturedFromTheLine(rig, path);
    }
    rig.click("Stop");
    verifyControlsFor(rig, StatusCode::Idle);
    QVERIFY(rig.line().SendCommand("st\r", "st:", "\r", 2).startsWith("st:"));
    QCOMPARE(rig.dialogs.errors.size(), 1);
}

void FaultsEndToEnd::operatorInterruptsATransfer_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<Press>("press");
    for (const bool upload : {false, true}) {
        const char *what = upload ? "upload" : "download";
        QTest::addRow("%s, Stop", what) << upload << Press::Stop;
        QTest::addRow("%s, Close", what) << upload << Press::Close;
        QTest::addRow("%s, Disconnect", what) << upload << Press::Disconnect;
    }
}

void FaultsEndToEnd::operatorInterruptsATransfer()
{
    QFETCH(bool, upload);
    QFETCH(Press, press);
    // At the line rate, so the transfer is still going when the button is pressed.
    SimRig rig(RigOptions{QStringList()});
    const QString local = rig.local("long.txt");
    QVERIFY(writeFile(local, textLines(200)));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    FileTransferForm *window = rig.openFiles();
    QVERIFY(window);
    rig.when(
        [&] {
            return upload ? window->ProgressLabel()->text().startsWith("long.txt: 5")
                          : probe::byteCount(rig.session()) > 1500;
        },
        [&] {
            if (press == Press::Stop)
                rig.clickFiles("Stop");
            else if (press == Press::Close)
                window->close();
            else
                rig.click("Disconnect");
        });
    if (upload) {
        rig.dialogs.pathAnswers.enqueue(local);
        rig.clickFiles("Send File...");
    } else {
        rig.select("SPECTRA.BIN");
        rig.clickFiles("Get Files");
    }
    QVERIFY(rig.fired());
    const bool stopped = press != Press::Disconnect;
    QCOMPARE(rig.dialogs.errors,
             stopped && !upload ? QStringList{"Transfer cancelled."} : QStringList());
    verifyControlsFor(rig, stopped ? StatusCode::Idle : StatusCode::NotConnected);
    if (upload && stopped) {
        // The lines sent before the press, and no more; the instrument's capture ended.
        const QByteArray partial = fileBytes(rig.disk("long.txt"));
        QVERIFY(!partial.isEmpty() && partial.size() < textLines(200).size());
        QVERIFY2(textLines(200).startsWith(partial), partial.right(80).constData());
    } else if (!upload) {
        // Everything received is in the file, and nothing else.
        const QByteArray partial = fileBytes(rig.local("SPECTRA.BIN"));
        QCOMPARE(partial.size(), probe::byteCount(rig.session()));
        QVERIFY(partial.size() > 1500 && partial.size() < 102400);
        QVERIFY(partial == everyByteValue(102400).left(partial.size()));
    }
    QVERIFY(!probe::dataFile(rig.session()).isOpen());
    if (!stopped)
        return;
    QVERIFY(window->isVisible());
    rig.clickFiles("Refresh");
    QCOMPARE(rig.grid()->rowCount(), upload ? 4 : 3);
    // Not busy any more: Close closes.
    rig.clickFiles("Close");
    QTRY_VERIFY(!rig.c().files.window());
}

void FaultsEndToEnd::operatorEndsAPeriodicRun_data()
{
    // The acquire command's destination: 2 this computer, 1 the flash, 4 both.
    QTest::addColumn<Press>("press");
    QTest::addColumn<int>("destination");
    QTest::addColumn<int>("answer");
    const int none = -2;
    QTest::newRow("Stop") << Press::Stop << 2 << none;
    QTest::newRow("Exit") << Press::Close << 2 << none;
    QTest::newRow("Disconnect") << Press::Disconnect << 2 << none;
    QTest::newRow("flash, Exit, Yes") << Press::Close << 1 << 1;
    QTest::newRow("both, Disconnect, Yes") << Press::Disconnect << 4 << 1;
    QTest::newRow("flash, Disconnect, No") << Press::Disconnect << 1 << 0;
    QTest::newRow("both, Exit, No") << Press::Close << 4 << 0;
    QTest::newRow("flash, Disconnect, Cancel") << Press::Disconnect << 1 << -1;
    QTest::newRow("both, Exit, Cancel") << Press::Close << 4 << -1;
}

void FaultsEndToEnd::operatorEndsAPeriodicRun()
{
    QFETCH(Press, press);
    QFETCH(int, destination);
    QFETCH(int, answer);
    // The device's line was at 9600 when the console opened it: the three ETX must still
    // cross at the run's rate before the port closes.
    SimRig rig(RigOptions({"--fast", "--baud", "57600"}));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const QString capture = rig.path("capture.raw");
    QVERIFY(rig.openDataFile(capture));
    rig.stopPolling();
    rig.controls().FlashFilenameText->setText("DEPLOY12");
    rig.controls().StoreInFlashCheck->setChecked(destination != 2);
    rig.controls().StoreInComputerCheck->setChecked(destination != 1);
    rig.controls().SampleDelayText->setText("1");
    rig.click("Start Periodic");
    QCOMPARE(rig.status(), StatusCode::PeriodicSampling);
    QTRY_VERIFY(rig.sim.isSampling());
    const QString stored = rig.disk("DEPLOY1.RAW");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(destination == 1 ? stored : capture).size() > 1000, 10000);
    if (answer != -2)
        rig.dialogs.questionAnswers.enqueue(answer);
    const qsizetype heard = rig.heard().size();
    switch (press) {
    case Press::Stop:
        rig.click("Stop");
        verifyControlsFor(rig, StatusCode::Idle);
        // Back at its prompt: it answers.
        QVERIFY(rig.line().SendCommand("st\r", "st:", "\r", 2).startsWith("st:"));
        break;
    case Press::Close:
        rig.trigger("Exit");
        QCOMPARE(rig.c().form.isVisible(), answer == -1);
        QCOMPARE(rig.comm->isOpen(), answer == -1);
        break;
    case Press::Disconnect:
        // The menu item: the button is off while sampling.
        QVERIFY(!rig.controls().DisconnectButton->isEnabled());
        rig.trigger("Disconnect");
        QCOMPARE(rig.controls().StatusLabel->text(),
                 answer == 1 ? QString("No Orvantis connected (left sampling into its flash "
                                       "memory) ")
                 : answer == -1
                     ? QString("Periodic sampling (1 s) ")
                     : QString("No Orvantis connected (periodic sampling was stopped) "));
        break;
    }
    QCOMPARE(rig.dialogs.questions,
             answer == -2 ? QStringList()
                          : QStringList{"The Orvantis is storing a sample every 1 s in its flash "
                                        "memory as DEPLOY1. Leave it sampling?"});
    // The event log says which way the leaving went.
    QStringList left = rig.session().eventLog().recentLines().filter("Leaving: ");
    for (QString &line : left)
        line.remove(0, line.indexOf("Leaving: "));
    QCOMPARE(left, press == Press::Stop || answer == -1 ? QStringList()
                   : answer == 1
                       ? QStringList{"Leaving: the Orvantis goes on sampling every 1 s into its "
                                     "flash memory as DEPLOY1."}
                       : QStringList{"Leaving: the periodic run was stopped (three ETX)."});
    if (answer == 1 || answer == -1) {
        // Nothing sent: the instrument samples on into its flash, left or still watched.
        const qint64 storedAtLeaving = QFileInfo(stored).size();
        QTRY_VERIFY(QFileInfo(stored).size() > storedAtLeaving);
        QCOMPARE(rig.heardSince(heard), QByteArray());
        return;
    }
    // Each heard at the run's rate, and the instrument stops.
    QTRY_COMPARE(rig.heardSince(heard).left(3), QByteArray(3, '\x03'));
    if (press != Press::Stop)
        QCOMPARE(rig.heardSince(heard), QByteArray(3, '\x03'));
    QTRY_VERIFY(!rig.sim.isSampling());
    QCOMPARE(rig.dialogs.errors, QStringList());
    probe::dataFile(rig.session()).close();
    verifyCapturedFromTheLine(rig, capture);
}

QTEST_MAIN(FaultsEndToEnd)
#include "tst_faults_e2e.moc"
