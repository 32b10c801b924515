// Faults against orvantis-sim over real pseudo-terminals: a line that vanishes, a stalled
// file, a wrong rate, garbage and silence, a full disk, the operator's Stop, Close and
// Disconnect in the middle of things, and a damaged settings file. Each ends with the
// program responsive, its status code and buttons agreeing, and every byte it received in
// its file.
#include "LineNoise.h"
#include "testkit/SimConsole.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"
#include "ui/connection/SetBaudForm.h"
#include "ui/files/FileTransferForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace
{
void writeLines(const QString &path, int count)
{
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += "line " + QByteArray::number(i) + " of the uploaded file\n";
    writeFile(path, lines);
}

// Keeps the process's file size limit for one test and puts it back.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
    bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    bool m_set = false;
};

enum class When {
    IdlePolling,
    SingleSample,
    PeriodicSampling,
    Download,
    Upload,
    CalCheck,
    BaudChangeAsked,
    BaudChangeSwitched
};
enum class Press { Stop, Close, Disconnect };
} // namespace

Q_DECLARE_METATYPE(When)
Q_DECLARE_METATYPE(Press)

class FaultsEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lineVanishes_data();
    void lineVanishes();
    void partialDownloadNeverReplacesAGoodFile_data();
    void partialDownloadNeverReplacesAGoodFile();
    void wrongRateOrGarbageDoesNotConnect_data();
    void wrongRateOrGarbageDoesNotConnect();
    void silentInstrumentTimesOutEverywhere();
    void noiseInPlaceOfEveryAnswer();
    void fullDiskStopsTheCapture_data();
    void fullDiskStopsTheCapture();
    void operatorInterruptsADownload_data();
    void operatorInterruptsADownload();
    void operatorInterruptsAnUpload_data();
    void operatorInterruptsAnUpload();
    void operatorInterruptsPeriodicSampling_data();
    void operatorInterruptsPeriodicSampling();
    void damagedSettingsGiveTheBuiltValues_data();
    void damagedSettingsGiveTheBuiltValues();

private:
    // Starts the simulator (failing with the reason when there is no pty) and connects.
    bool start(const QStringList &arguments);
    ConsoleBinding &console() { return m_rig->c(); }
    const MainFormControls &controls() { return m_rig->c().form.controls(); }
    // The data file through "New File...".
    bool openDataFile(const QString &path);
    void startPeriodic();
    FileTransferForm *openFilesAndSelect(const QString &name);
    // The operator's Stop (the file manager's busy Close button), its close box, or the main
    // window's Disconnect while a transfer runs.
    void pressDuringTransfer(Press press, FileTransferForm *window);
    // Lets every wait for an answer run out at once: the program's clock jumps `seconds`
    // ahead the next time a command is under way.
    void jumpWhenBusy(double seconds);
    // Shows a dialog through `action` and closes it once `settled` holds for it.
    void showAndClose(QAction *action, std::function<bool(QWidget *)> settled);
    // The main window's controls as status `code` leaves them, and the file manager idle.
    void verifyControlsFor(StatusCode code);
    // The captured file holds a stretch of the line's traffic, nothing added or lost inside.
    void verifyCapturedFromTheLine(const QString &path);

    QTemporaryDir m_dir;
    QString m_case;
    QString m_record;
    std::unique_ptr<SimConsole> m_rig;
};

void FaultsEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void FaultsEndToEnd::init()
{
    static int run = 0;
    m_case = m_dir.filePath(QStringLiteral("case%1").arg(++run));
    QVERIFY(QDir().mkpath(m_case));
    m_record = QDir(m_case).filePath("line.bin");
}

void FaultsEndToEnd::cleanup()
{
    m_rig.reset();
}

bool FaultsEndToEnd::start(const QStringList &arguments)
{
    m_rig = std::make_unique<SimConsole>(
        arguments + QStringList{"--record", m_record, "--disk", QDir(m_case).filePath("disk")});
    if (!m_rig->startedAndConnected())
        return false;
    // Polling only where a case asks for it: its queries would share the line.
    controls().StatusCheck->setChecked(false);
    console().session.setDefaultDataFolder(m_case);
    return true;
}

bool FaultsEndToEnd::openDataFile(const QString &path)
{
    m_rig->dialogs.pathAnswers.enqueue(path);
    QTest::mouseClick(controls().NewFileButton, Qt::LeftButton);
    return console().session.dataFile().isOpen();
}

void FaultsEndToEnd::startPeriodic()
{
    controls().StoreInComputerCheck->setChecked(true);
    controls().SampleDelayText->setText("1");
    QTest::mouseClick(controls().StartSamplingButton, Qt::LeftButton);
}

FileTransferForm *FaultsEndToEnd::openFilesAndSelect(const QString &name)
{
    FileTransferForm *window = m_rig->openFiles();
    if (!window || m_rig->rowOf(name) < 0)
        return nullptr;
    m_rig->clickRow(m_rig->rowOf(name));
    return window;
}

void FaultsEndToEnd::jumpWhenBusy(double seconds)
{
    Clock &clock = console().session.clock();
    m_rig->when([this] { return console().session.Status() == StatusCode::CommandInProgress; },
                [&clock, seconds] { clock.setTimeOfDay(clock.timeOfDay() + seconds); });
}

void FaultsEndToEnd::showAndClose(QAction *action, std::function<bool(QWidget *)> settled)
{
    // Asked again until it has gone: a dialog in the middle of a read may not close at once.
    QTimer closer;
    int asked = 0;
    bool forced = false;
    connect(&closer, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !settled(dialog))
            return;
        if (++asked > 1000) {
            forced = true;
            dialog->done(QDialog::Rejected);
        } else {
            dialog->close();
        }
    });
    closer.start(10);
    action->trigger();
    QVERIFY(asked > 0);
    QVERIFY2(!forced, "the dialog did not close");
}

void FaultsEndToEnd::pressDuringTransfer(Press press, FileTransferForm *window)
{
    switch (press) {
    case Press::Stop:
        QTest::mouseClick(window->CloseButton(), Qt::LeftButton);
        break;
    case Press::Close:
        window->close();
        break;
    case Press::Disconnect:
        QTest::mouseClick(controls().DisconnectButton, Qt::LeftButton);
        break;
    }
}

void FaultsEndToEnd::verifyControlsFor(StatusCode code)
{
    const MainFormControls &c = controls();
    QCOMPARE(console().session.Status(), code);
    const bool connected = code != StatusCode::NotConnected;
    QCOMPARE(m_rig->comm->isOpen(), connected);
    const bool ready = code == StatusCode::Idle || code == StatusCode::NoResponse;
    QCOMPARE(c.ConnectButton->isEnabled(), !connected);
    QCOMPARE(c.DisconnectButton->isEnabled(), ready);
    QCOMPARE(c.SampleOnceButton->isEnabled(), ready);
    QCOMPARE(c.StartSamplingButton->isEnabled(), ready);
    QCOMPARE(c.StopSamplingButton->isEnabled(), connected);
    const bool fileOpen = console().session.dataFile().isOpen();
    QCOMPARE(c.NewFileButton->isEnabled(), !fileOpen);
    QCOMPARE(c.StopSavingButton->isEnabled(), fileOpen);
    if (!fileOpen)
        QCOMPARE(c.SavingLabel->text(), QString("No file open"));
    if (FileTransferForm *window = console().files.window()) {
        QVERIFY(!window->TransferBusy());
        QCOMPARE(window->CloseButton()->text(), QString("Close"));
        QCOMPARE(window->ProgressLabel()->text(), QString());
    }
}

void FaultsEndToEnd::verifyCapturedFromTheLine(const QString &path)
{
    const QByteArray captured = fileBytes(path);
    QVERIFY2(!captured.isEmpty(), qPrintable(path));
    // The simulator's record of the line may lag behind what the console has filed.
    QTRY_VERIFY2(fileBytes(m_record).contains(captured), "the file is not what came down the line");
}

void FaultsEndToEnd::lineVanishes_data()
{
    QTest::addColumn<When>("when");
    QTest::newRow("idle polling") << When::IdlePolling;
    QTest::newRow("single sample") << When::SingleSample;
    QTest::newRow("periodic sampling") << When::PeriodicSampling;
    QTest::newRow("download") << When::Download;
    QTest::newRow("upload") << When::Upload;
    QTest::newRow("cal check") << When::CalCheck;
    QTest::newRow("baud change, before the switch") << When::BaudChangeAsked;
    QTest::newRow("baud change, after the switch") << When::BaudChangeSwitched;
}

void FaultsEndToEnd::lineVanishes()
{
    QFETCH(When, when);
    QStringList arguments{"--fast"};
    if (when == When::SingleSample)
        arguments += QStringList{"--spectrum-ms", "2000"};
    if (when == When::Download)
        arguments += QStringList{"--hangup-type-after", "5000"};
    if (when == When::BaudChangeAsked) // gone between the echo and the "Changing"
        arguments += QStringList{"--slow-ms", "100"};
    if (when == When::CalCheck)
        arguments += QStringList{"--stable", "--spectrum-ms", "10"};
    if (!start(arguments))
        return;
    // The line is gone for good, and the operator chose not to wait for it: the loss is
    // said at once (the reconnection has tests of its own).
    controls().ReconnectMenuItem->setChecked(false);
    SimConsole &rig = *m_rig;
    const InstrumentSession &session = console().session;
    const QString capture = QDir(m_case).filePath("capture.raw");
    if (when == When::SingleSample || when == When::PeriodicSampling)
        QVERIFY(openDataFile(capture));
    const bool capturing =
        when == When::SingleSample || when == When::PeriodicSampling || when == When::CalCheck;

    QElapsedTimer elapsed;
    elapsed.start();
    switch (when) {
    case When::IdlePolling:
        // A poll's reply comes within milliseconds, too briefly for a watcher to catch the
        // poll under way: the line goes as the poll starts.
        QObject::connect(
            &console().session, &InstrumentSession::pollDue, &rig.sim.process(),
            [&] { rig.sim.kill(); }, Qt::SingleShotConnection);
        console().session.setPollInterval(200);
        controls().StatusCheck->setChecked(true);
        break;
    case When::SingleSample:
        rig.when(
            [&] {
                return console().session.Status() == StatusCode::CommandInProgress &&
                       session.ReceiveBuffer().contains("Acquire");
            },
            [&] { rig.sim.kill(); });
        QTest::mouseClick(controls().SampleOnceButton, Qt::LeftButton);
        QVERIFY2(elapsed.elapsed() < 10000, "the sample waited on a line that was gone");
        break;
    case When::PeriodicSampling:
        rig.when(
            [&] {
                return console().session.Status() == StatusCode::PeriodicSampling &&
                       QFileInfo(capture).size() > 1000;
            },
            [&] { rig.sim.kill(); });
        startPeriodic();
        break;
    case When::Download: {
        FileTransferForm *window = openFilesAndSelect("SPECTRA.BIN");
        QVERIFY(window);
        QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);
        QVERIFY2(elapsed.elapsed() < 9000, "the download waited for the silence time-out");
        // Exactly the bytes that came before the line went.
        QCOMPARE(fileBytes(QDir(m_case).filePath("SPECTRA.BIN")),
                 everyByteValue(102400).left(5000));
        break;
    }
    case When::Upload: {
        const QString local = QDir(m_case).filePath("long.txt");
        writeLines(local, 40);
        FileTransferForm *window = m_rig->openFiles();
        QVERIFY(window);
        rig.when([&] { return window->ProgressLabel()->text().startsWith("long.txt: 1"); },
                 [&] { rig.sim.kill(); });
        rig.dialogs.pathAnswers.enqueue(local);
        QTest::mouseClick(window->SendFileButton(), Qt::LeftButton);
        QCOMPARE(window->fileCount(), 0);
        break;
    }
    case When::CalCheck:
        // Gone while the first set of spectra streams into the file: the check must not wait
        // for a Stop that nobody needs to press.
        rig.when([&] { return QFileInfo(capture).size() > 2000; }, [&] { rig.sim.kill(); });
        rig.dialogs.questionAnswers << 1 << 1 << 1;
        rig.dialogs.pathAnswers << capture;
        controls().CalCheckMenuItem->trigger();
        QVERIFY2(elapsed.elapsed() < 10000, "the cal check waited on a line that was gone");
        QVERIFY(!console().calCheck.calCheck().isRunning());
        QVERIFY(!console().session.dataFile().isOpen());
        break;
    case When::BaudChangeAsked:
    case When::BaudChangeSwitched: {
        rig.when(
            [&] {
                return when == When::BaudChangeAsked ? fileBytes(m_record).contains("Baud 115200")
                                                     : rig.comm->settings().startsWith("115200");
            },
            [&] { rig.sim.kill(); });
        bool closedItself = false;
        // The dialog asks for the start-up rate when it comes up; "Set Rate" is pressed once
        // that answer is in.
        std::function<void()> setRate = [&] {
            auto *dialog = qobject_cast<SetBaudForm *>(QApplication::activeModalWidget());
            if (!dialog || dialog->StartupRateLabel->text() == "[code]") {
                QTimer::singleShot(10, setRate);
                return;
            }
            dialog->BaudCombo->setCurrentText("115200");
            QTest::mouseClick(dialog->SetBaudButton, Qt::LeftButton);
            closedItself = !dialog->isVisible();
            dialog->close();
        };
        QTimer::singleShot(10, setRate);
        controls().SetBaudMenuItem->trigger();
        QVERIFY2(closedItself, "the rate dialog stayed open on a line that was gone");
        break;
    }
    }

    QTRY_COMPARE_WITH_TIMEOUT(console().session.Status(), StatusCode::NotConnected, 20000);
    QVERIFY(when == When::Download || when == When::IdlePolling || rig.fired());
    // More receive runs and poll ticks bring no further message.
    QSignalSpy runs(console().session.findChild<QTimer *>("Timer1"), &QTimer::timeout);
    QTRY_VERIFY(runs.size() >= 5);
    QCOMPARE(rig.dialogs.errors.size(), 1);
    QCOMPARE(rig.dialogs.errors.first(),
             "The connection to the Orvantis on COM 1 (" + rig.sim.devicePath() +
                 ") was lost. Check the cable and the instrument's power, then use Connect... "
                 "to connect again.");
    verifyControlsFor(StatusCode::NotConnected);
    QCOMPARE(controls().StatusLabel->text(), QString("No Orvantis connected "));
    if (capturing)
        verifyCapturedFromTheLine(capture);
}

enum class CutShort { TimedOut, Stopped, DiskFull };
Q_DECLARE_METATYPE(CutShort)

void FaultsEndToEnd::partialDownloadNeverReplacesAGoodFile_data()
{
    QTest::addColumn<CutShort>("cut");
    QTest::addColumn<bool>("olderCopy");
    QTest::newRow("timed out, no older copy") << CutShort::TimedOut << false;
    QTest::newRow("timed out beside an older copy") << CutShort::TimedOut << true;
    QTest::newRow("stopped, no older copy") << CutShort::Stopped << false;
    QTest::newRow("stopped beside an older copy") << CutShort::Stopped << true;
    QTest::newRow("disk full, no older copy") << CutShort::DiskFull << false;
    QTest::newRow("disk full beside an older copy") << CutShort::DiskFull << true;
}

void FaultsEndToEnd::partialDownloadNeverReplacesAGoodFile()
{
    QFETCH(CutShort, cut);
    QFETCH(bool, olderCopy);
    if (!start({"--fast", "--stall-type-after", "3000"}))
        return;
    SimConsole &rig = *m_rig;
    const QString local = QDir(m_case).filePath("SPECTRA.BIN");
    const QString part = local + ".part";
    const QByteArray older("an older, good copy\n");
    if (olderCopy)
        writeFile(local, older);
    FileTransferForm *window = openFilesAndSelect("SPECTRA.BIN");
    QVERIFY(window);
    const int row = rig.rowOf("SPECTRA.BIN");
    std::unique_ptr<FileSizeLimit> sizeLimit;
    if (cut == CutShort::DiskFull) {
        sizeLimit = std::make_unique<FileSizeLimit>(rlim_t(1000));
        QVERIFY(sizeLimit->isSet());
    }
    Clock &clock = console().session.clock();
    // Once the stall shows: the clock jumps past the ten silent seconds, or Stop.
    rig.when(
        [&] {
            return console().session.byteCount() == 3000 &&
                   console().session.TimeSinceLastByte() > 0.5f;
        },
        [&] {
            if (cut == CutShort::TimedOut)
                clock.setTimeOfDay(clock.timeOfDay() + 11.0);
            else
                QTest::mouseClick(window->CloseButton(), Qt::LeftButton);
        });

    QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);
    sizeLimit.reset();

    // The partial bytes: under the name where there was none, beside the older copy
    // otherwise, and at the file the disk refused when it was full.
    const bool beside = olderCopy || cut == CutShort::DiskFull;
    const qsizetype arrived = cut == CutShort::DiskFull ? 1000 : 3000;
    QCOMPARE(fileBytes(beside ? part : local), everyByteValue(102400).left(arrived));
    QCOMPARE(QFileInfo::exists(local), olderCopy || !beside);
    if (olderCopy)
        QCOMPARE(fileBytes(local), older);
    QTRY_COMPARE(rig.dialogs.errors.size(), 1);
    const QString message = rig.dialogs.errors.first();
    const QString first = cut == CutShort::TimedOut  ? "Transfer of \"SPECTRA.BIN\" timed out."
                          : cut == CutShort::Stopped ? "Transfer cancelled."
                                                     : "Error 61; ";
    QVERIFY2(message.startsWith(first), qPrintable(message));
    QCOMPARE(message.contains(QDir::toNativeSeparators(part)), beside);
    if (cut != CutShort::DiskFull)
        QCOMPARE(message.contains('\n'), beside);
    verifyControlsFor(StatusCode::Idle);
    // The batch ended with the file still selected, so it can be fetched again.
    int selectedFirst = -1;
    int selectedLast = -1;
    QVERIFY(window->selectedRows(selectedFirst, selectedLast));
    QCOMPARE(selectedFirst, row);
    QVERIFY(window->GetFilesButton()->isEnabled());
    // The three ETX (or the stall's own end) left the instrument at its prompt.
    if (cut != CutShort::DiskFull) {
        QTest::mouseClick(window->RefreshButton(), Qt::LeftButton);
        QCOMPARE(window->fileCount(), 3);
    }
}

void FaultsEndToEnd::wrongRateOrGarbageDoesNotConnect_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("rate the search does not try") << QStringList{"--baud", "38400"};
    QTest::newRow("garbage for every answer") << QStringList{"--garbage"};
}

void FaultsEndToEnd::wrongRateOrGarbageDoesNotConnect()
{
    QFETCH(QStringList, arguments);
    m_rig = std::make_unique<SimConsole>(arguments);
    QVERIFY2(m_rig->ok(), qPrintable(m_rig->error()));
    QElapsedTimer elapsed;
    elapsed.start();

    QVERIFY(!m_rig->connect());

    QVERIFY(elapsed.elapsed() < 20000);
    QCOMPARE(console().session.portSearch().labelText(), QString("No Orvantis found on any port."));
    verifyControlsFor(StatusCode::NotConnected);
    QVERIFY(m_rig->dialogs.errors.isEmpty());
}

void FaultsEndToEnd::silentInstrumentTimesOutEverywhere()
{
    m_rig = std::make_unique<SimConsole>(QStringList{"--silent"});
    QVERIFY2(m_rig->ok(), qPrintable(m_rig->error()));
    SimConsole &rig = *m_rig;
    console().startUp(false);
    controls().StatusCheck->setChecked(false);
    QVERIFY(console().session.openSelectedPort("COM  1", "9600"));
    verifyControlsFor(StatusCode::Idle);

    // Three unanswered status queries: "no response".
    for (int i = 0; i < 3; ++i)
        console().status.monitor().query().QueryStatus();
    QCOMPARE(console().session.Status(), StatusCode::NoResponse);

    // A sample waits its full minute, no longer.
    QElapsedTimer elapsed;
    elapsed.start();
    jumpWhenBusy(61);
    QTest::mouseClick(controls().SampleOnceButton, Qt::LeftButton);
    QVERIFY(rig.fired());
    QVERIFY(elapsed.elapsed() < 10000);
    QCOMPARE(console().session.Status(), StatusCode::NoResponse);

    // The listing's ten seconds run out: an empty list and no file buttons.
    jumpWhenBusy(11);
    FileTransferForm *window = rig.openFiles();
    QVERIFY(rig.fired());
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->fileCount(), 0);
    QVERIFY(!window->GetFilesButton()->isEnabled());
    QVERIFY(window->DirGrid()->isEnabled());
    QVERIFY(rig.dialogs.errors.isEmpty());
    QVERIFY(controls().SampleOnceButton->isEnabled());
}

void FaultsEndToEnd::noiseInPlaceOfEveryAnswer()
{
    // Answers the console can wait for at full speed, so each noise burst (up to 70 000
    // bytes) is in at once.
    if (!start({"--fast", "--stable"}))
        return;
    SimConsole &rig = *m_rig;
    const QString capture = QDir(m_case).filePath("noise.raw");
    QVERIFY(openDataFile(capture));
    console().form.ShowTerminal();
    QVERIFY(rig.sim.sendSignal(SIGUSR2));
    QTRY_VERIFY(rig.sim.standardError().contains("noise in place of answers on"));
    auto linkAnswering = [&] {
        const StatusCode code = console().session.Status();
        return code == StatusCode::Idle || code == StatusCode::NoResponse;
    };
    QElapsedTimer elapsed;
    elapsed.start();

    // The Orvantis menu's dialogs, the file manager and the cal check while the link is
    // still counted as idle (the menu is greyed once status checks go unanswered).
    const auto clockShown = [](QWidget *dialog) {
        return dialog->windowTitle() == "Orvantis Real-Time Clock";
    };
    showAndClose(controls().SetClockMenuItem, clockShown);
    const auto rateRead = [](QWidget *dialog) {
        auto *baud = qobject_cast<SetBaudForm *>(dialog);
        return baud && baud->StartupRateLabel->text() != "[code]";
    };
    showAndClose(controls().SetBaudMenuItem, rateRead);
    if (QTest::currentTestFailed())
        return;

    jumpWhenBusy(11);
    FileTransferForm *files = rig.openFiles();
    QVERIFY(files && files->isVisible());
    QVERIFY(!files->TransferBusy());
    files->close();

    // Noise is no stable instrument: the check is refused after its first question.
    rig.dialogs.questionAnswers << 1;
    controls().CalCheckMenuItem->trigger();
    QCOMPARE(rig.dialogs.questions.size(), 2);
    QVERIFY(rig.dialogs.questions.last().startsWith("Cannot continue, because the Orvantis"));
    QVERIFY(!console().calCheck.calCheck().isRunning());

    console().processing.showProcessing();
    QVERIFY(console().processing.processingForm());
    console().processing.processingForm()->close();

    jumpWhenBusy(61);
    QTest::mouseClick(controls().SampleOnceButton, Qt::LeftButton);
    QVERIFY(linkAnswering());

    for (int i = 0; i < 4; ++i)
        console().status.monitor().query().QueryStatus();
    QVERIFY(linkAnswering());
    QVERIFY2(elapsed.elapsed() < 60000, "a wait did not end on noise");

    // The instrument recovers: the console talks to it again, and the file holds every
    // byte of noise that came down the line.
    QVERIFY(rig.sim.sendSignal(SIGUSR2));
    QTRY_VERIFY(rig.sim.standardError().contains("noise in place of answers off"));
    QTRY_VERIFY_WITH_TIMEOUT(console().session.TimeSinceLastByte() > 0.5, 10000);
    console().status.monitor().query().QueryStatus();
    QCOMPARE(console().session.Status(), StatusCode::Idle);
    QCOMPARE(controls().StatusLabel->text(), QString("Connected to 1021 "));
    QTest::mouseClick(controls().StopSavingButton, Qt::LeftButton);
    verifyControlsFor(StatusCode::Idle);
    QVERIFY(QFileInfo(capture).size() > LineNoise::kBurst);
    verifyCapturedFromTheLine(capture);
    for (const QString &error : rig.dialogs.errors)
        QVERIFY2(!error.contains("was lost"), qPrintable(error));
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
    if (!start({"--fast"}))
        return;
    SimConsole &rig = *m_rig;
    const QString path = QDir(m_case).absoluteFilePath(file);
    QVERIFY(openDataFile(path));
    std::unique_ptr<FileSizeLimit> sizeLimit;
    if (limit > 0) {
        sizeLimit = std::make_unique<FileSizeLimit>(rlim_t(limit));
        QVERIFY(sizeLimit->isSet());
    }

    startPeriodic();
    QTRY_COMPARE_WITH_TIMEOUT(rig.dialogs.errors.size(), 1, 10000);
    sizeLimit.reset();

    const QString message = rig.dialogs.errors.first();
    const QString reason =
        limit > 0 ? "File too large (the file size limit is reached)" : "Disk full";
    QCOMPARE(message.section('\n', 0, 0), "Error 61; " + reason + ".");
    QVERIFY2(message.contains(path), qPrintable(message));
    QVERIFY(!console().session.dataFile().isOpen());
    // Sampling goes on, with the window showing that nothing is saved any more.
    verifyControlsFor(StatusCode::PeriodicSampling);
    if (limit > 0) {
        QCOMPARE(QFileInfo(path).size(), qint64(limit));
        verifyCapturedFromTheLine(path);
    }

    QTest::mouseClick(controls().StopSamplingButton, Qt::LeftButton);
    verifyControlsFor(StatusCode::Idle);
    QVERIFY(!console().session.line().SendCommand("st\r", "st:", "\r", 2).isEmpty());
    QCOMPARE(rig.dialogs.errors.size(), 1);
}

void FaultsEndToEnd::operatorInterruptsADownload_data()
{
    QTest::addColumn<Press>("press");
    QTest::newRow("Stop") << Press::Stop;
    QTest::newRow("Close") << Press::Close;
    QTest::newRow("Disconnect") << Press::Disconnect;
}

void FaultsEndToEnd::operatorInterruptsADownload()
{
    QFETCH(Press, press);
    // At the line rate, so the file is still coming when the button is pressed.
    if (!start({}))
        return;
    SimConsole &rig = *m_rig;
    FileTransferForm *window = openFilesAndSelect("SPECTRA.BIN");
    QVERIFY(window);
    QElapsedTimer sincePress;
    rig.when([&] { return console().session.byteCount() > 1500; },
             [&] {
                 sincePress.start();
                 pressDuringTransfer(press, window);
             });

    QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);

    QVERIFY(rig.fired());
    QVERIFY2(sincePress.elapsed() < 10000, "the download went on after the press");
    // Everything received is in the file, and nothing else.
    const QByteArray partial = fileBytes(QDir(m_case).filePath("SPECTRA.BIN"));
    QCOMPARE(partial.size(), console().session.byteCount());
    QVERIFY(partial.size() > 1500 && partial.size() < 102400);
    QVERIFY(partial == everyByteValue(102400).left(partial.size()));
    QVERIFY(!console().session.dataFile().isOpen());

    if (press == Press::Disconnect) {
        QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
        verifyControlsFor(StatusCode::NotConnected);
        return;
    }
    QCOMPARE(rig.dialogs.errors, QStringList{"Transfer cancelled."});
    verifyControlsFor(StatusCode::Idle);
    QVERIFY(window->isVisible());
    QTest::mouseClick(window->RefreshButton(), Qt::LeftButton);
    QCOMPARE(window->fileCount(), 3);
    // Not busy any more: Close closes.
    QTest::mouseClick(window->CloseButton(), Qt::LeftButton);
    QTRY_VERIFY(!console().files.window());
}

void FaultsEndToEnd::operatorInterruptsAnUpload_data()
{
    operatorInterruptsADownload_data();
}

void FaultsEndToEnd::operatorInterruptsAnUpload()
{
    QFETCH(Press, press);
    if (!start({}))
        return;
    SimConsole &rig = *m_rig;
    const QString local = QDir(m_case).filePath("long.txt");
    writeLines(local, 200);
    FileTransferForm *window = rig.openFiles();
    QVERIFY(window);
    QElapsedTimer sincePress;
    rig.when([&] { return window->ProgressLabel()->text().startsWith("long.txt: 5"); },
             [&] {
                 sincePress.start();
                 pressDuringTransfer(press, window);
             });
    rig.dialogs.pathAnswers.enqueue(local);
    QTest::mouseClick(window->SendFileButton(), Qt::LeftButton);

    QVERIFY(rig.fired());
    QVERIFY2(sincePress.elapsed() < 5000, "the upload went on after the press");
    QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
    if (press == Press::Disconnect) {
        verifyControlsFor(StatusCode::NotConnected);
        return;
    }
    verifyControlsFor(StatusCode::Idle);
    // The instrument left its capture mode with the lines sent before the press.
    QCOMPARE(window->fileCount(), 4);
    const QStringList stored =
        QDir(QDir(m_case).filePath("disk")).entryList({"long.txt"}, QDir::Files);
    QCOMPARE(stored.size(), 1);
    const QByteArray partial = fileBytes(QDir(QDir(m_case).filePath("disk")).filePath(stored[0]));
    QByteArray whole = fileBytes(local);
    whole.replace("\n", "\r\n");
    QVERIFY(!partial.isEmpty() && partial.size() < whole.size());
    QVERIFY2(whole.startsWith(partial), partial.right(80).constData());
    QTest::mouseClick(window->CloseButton(), Qt::LeftButton);
    QTRY_VERIFY(!console().files.window());
}

void FaultsEndToEnd::operatorInterruptsPeriodicSampling_data()
{
    operatorInterruptsADownload_data();
}

void FaultsEndToEnd::operatorInterruptsPeriodicSampling()
{
    QFETCH(Press, press);
    if (!start({"--fast"}))
        return;
    SimConsole &rig = *m_rig;
    const QString capture = QDir(m_case).filePath("capture.raw");
    QVERIFY(openDataFile(capture));
    startPeriodic();
    QCOMPARE(console().session.Status(), StatusCode::PeriodicSampling);
    QVERIFY(!controls().DisconnectButton->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(capture).size() > 1000, 10000);

    switch (press) {
    case Press::Stop:
        QTest::mouseClick(controls().StopSamplingButton, Qt::LeftButton);
        verifyControlsFor(StatusCode::Idle);
        // Back at its prompt: it answers.
        QVERIFY(!console().session.line().SendCommand("st\r", "st:", "\r", 2).isEmpty());
        break;
    case Press::Close: {
        QSignalSpy closing(&console().form, &MainForm::closing);
        QVERIFY(console().form.close());
        QCOMPARE(closing.size(), 1);
        QVERIFY(!console().form.isVisible());
        break;
    }
    case Press::Disconnect:
        QVERIFY(controls().DisconnectMenuItem->isEnabled());
        controls().DisconnectMenuItem->trigger();
        verifyControlsFor(StatusCode::NotConnected);
        break;
    }
    QVERIFY2(rig.dialogs.errors.isEmpty(), qPrintable(rig.dialogs.errors.join('\n')));
    console().session.dataFile().close();
    verifyCapturedFromTheLine(capture);
}

void FaultsEndToEnd::damagedSettingsGiveTheBuiltValues_data()
{
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("garbage") << false;
    QTest::newRow("unreadable") << true;
}

void FaultsEndToEnd::damagedSettingsGiveTheBuiltValues()
{
    QFETCH(bool, unreadable);
    auto snapshot = [](ConsoleBinding &console) {
        QStringList values;
        for (const QLineEdit *edit : console.form.findChildren<QLineEdit *>())
            values << edit->objectName() + '=' + edit->text();
        for (const QCheckBox *box : console.form.findChildren<QCheckBox *>())
            values << box->objectName() + '=' + QString::number(box->checkState());
        values << QStringLiteral("size=%1x%2").arg(console.form.width()).arg(console.form.height());
        return values;
    };
    QtCommPort noPort{PortTable({})};
    ScriptedOperator dialogs;

    useTemporarySettings(QDir(m_case).filePath("clean"));
    QStringList built;
    {
        ConsoleBinding console(noPort, PortTable({}), dialogs);
        console.startUp(false);
        built = snapshot(console);
    }

    const QString folder = QDir(m_case).filePath("damaged");
    useTemporarySettings(folder);
    const QString store = QSettings().fileName();
    QVERIFY(store.startsWith(folder));
    QVERIFY(QDir().mkpath(QFileInfo(store).path()));
    if (unreadable) {
        // A folder where the file should be: nothing can read it, whoever runs the test.
        QVERIFY(QDir().mkpath(store));
    } else {
        QFile file(store);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Values of the wrong kind under the right keys, a broken line, then binary noise.
        file.write("[MainForm]\nSampleDelayText=@Rect(1 2 3 4)\nAverageSamplesText=@Size(7 7)\n"
                   "StatusCheck=@ByteArray(\\x1)\nStoreInComputerCheck=7\n[[[\nWidth==\n");
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 131 + 17) & 0xff);
        file.write(noise);
    }

    ConsoleBinding console(noPort, PortTable({}), dialogs);
    console.startUp(false);
    QCOMPARE(snapshot(console), built);
    QVERIFY(console.form.isVisible());
    QCOMPARE(console.session.Status(), StatusCode::NotConnected);
    QVERIFY(dialogs.errors.isEmpty());
    console.form.close();
    useTemporarySettings(m_dir.filePath("settings"));
}

QTEST_MAIN(FaultsEndToEnd)
#include "tst_faults_e2e.moc"
