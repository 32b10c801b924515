// File transfers against orvantis-sim over a real pseudo-terminal, where a careless transfer
// would cost the operator a file or run something on the instrument: downloads that bring
// nothing, an empty instrument file in a batch, names the instrument cannot hold, and the
// data file while a transfer owns the line. Instruments the simulator cannot play are
// played on the in-memory line.
#include "features/files/FileDirectory.h"
#include "features/files/FileDownload.h"
#include "features/files/FileUpload.h"
#include "features/sampling/DataFileController.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/ModalDriver.h"
#include "testkit/SessionRig.h"
#include "testkit/SimConsole.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"
#include "ui/files/FileTransferForm.h"
#include "ui/widgets/QtOperatorDialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
// Written `minutesAgo` minutes ago, which orders the file manager's grid (oldest first).
void writeDated(const QString &path, const QByteArray &bytes, int minutesAgo = 0)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
    QVERIFY(file.flush());
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutesAgo),
                             QFileDevice::FileModificationTime));
}
} // namespace

class TransfersEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void downloadThatBringsNothingKeepsTheLocalFile_data();
    void downloadThatBringsNothingKeepsTheLocalFile();
    void emptyInstrumentFileDownloadsAndTheBatchGoesOn();
    void nameTheInstrumentCannotHoldIsRefusedUnsent_data();
    void nameTheInstrumentCannotHoldIsRefusedUnsent();
    void transferHoldsTheDataFile_data();
    void transferHoldsTheDataFile();
    // What the simulator cannot play, as it takes every name the console lets through: an
    // instrument that refuses the capture or stops showing "Capture>", on the in-memory line.
    void uploadGoesOnlyThroughTheCapturePrompt_data();
    void uploadGoesOnlyThroughTheCapturePrompt();
    void fileThatCannotBeFetchedIsNotAskedFor();
    void fileThatCameWithItsEchoIsWhole();
    void realDialogsShowTheCriticalIconAndTakeExistingFiles();

private:
    // Starts the instrument on m_disk (recording what it hears), connects with polling off,
    // opens the file manager.
    FileTransferForm *openOn(const QStringList &extra);
    QString disk(const QString &name) const { return QDir(m_disk).filePath(name); }
    QString local(const QString &name) const { return QDir(m_local).filePath(name); }
    ConsoleBinding &console() { return m_rig->c(); }

    QTemporaryDir m_dir;
    QString m_disk;
    QString m_local;
    QString m_heard;
    std::unique_ptr<SimConsole> m_rig;
};

void TransfersEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void TransfersEndToEnd::init()
{
    static int run = 0;
    ++run;
    m_disk = m_dir.filePath(QStringLiteral("disk%1").arg(run));
    m_local = m_dir.filePath(QStringLiteral("local%1").arg(run));
    m_heard = m_dir.filePath(QStringLiteral("heard%1.bin").arg(run));
    QVERIFY(QDir().mkpath(m_disk));
    QVERIFY(QDir().mkpath(m_local));
}

void TransfersEndToEnd::cleanup()
{
    m_rig.reset();
}

FileTransferForm *TransfersEndToEnd::openOn(const QStringList &extra)
{
    m_rig = std::make_unique<SimConsole>(QStringList{"--disk", m_disk, "--record-input", m_heard} +
                                         extra);
    if (!m_rig->ok() || !m_rig->connect()) {
        QTest::qFail(m_rig->ok() ? "the search did not find the simulator"
                                 : qPrintable(m_rig->error()),
                     __FILE__, __LINE__);
        return nullptr;
    }
    console().form.controls().StatusCheck->setChecked(false);
    console().session.setDefaultDataFolder(m_local);
    return m_rig->openFiles();
}

void TransfersEndToEnd::downloadThatBringsNothingKeepsTheLocalFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("listedSize");
    QTest::addColumn<bool>("localCopy");
    QTest::addColumn<QString>("wording");
    QTest::addColumn<QString>("message");
    const QString refused("There was an error getting the file %1. The Orvantis answered: \"%2\"");
    // The instrument's words are its own: only the shape of its answer tells a refusal.
    QTest::newRow("gone, in plain words") << "DATA.BIN" << 2000 << true << "plain"
                                          << refused.arg("DATA.BIN", "File not found: DATA.BIN");
    QTest::newRow("gone, as an error number") << "DATA.BIN" << 2000 << true << "numbered"
                                              << refused.arg("DATA.BIN", "Error 2: no such file");
    QTest::newRow("gone, tersely")
        << "DATA.BIN" << 2000 << false << "terse" << refused.arg("DATA.BIN", "?DATA.BIN");
    QTest::newRow("gone, listed shorter than the answer")
        << "AB.TXT" << 3 << false << "plain" << refused.arg("AB.TXT", "File not found: AB.TXT");
    QTest::newRow("Stop before the first byte")
        << "DATA.BIN" << 2000 << true << QString() << "Transfer cancelled.";
}

void TransfersEndToEnd::downloadThatBringsNothingKeepsTheLocalFile()
{
    QFETCH(QString, name);
    QFETCH(int, listedSize);
    QFETCH(bool, localCopy);
    QFETCH(QString, wording);
    QFETCH(QString, message);
    const bool stall = wording.isEmpty();
    writeDated(disk(name), everyByteValue(listedSize));
    const QByteArray good("the good local copy\n");
    if (localCopy)
        writeDated(local(name), good);
    FileTransferForm *window = openOn(stall ? QStringList{"--fast", "--stall-type-after", "0"}
                                            : QStringList{"--fast", "--refusal-wording", wording});
    QVERIFY(window);
    m_rig->clickRow(m_rig->rowOf(name));
    if (stall) {
        m_rig->when([this] { return console().session.CaptureActive(); },
                    [window] { QTest::mouseClick(window->CloseButton(), Qt::LeftButton); });
    } else {
        QVERIFY(QFile::remove(disk(name))); // the listing is stale now
    }

    QElapsedTimer elapsed;
    elapsed.start();
    QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);

    QVERIFY2(elapsed.elapsed() < 8000, "the download waited for the silence time-out");
    QCOMPARE(m_rig->dialogs.errors, QStringList{message});
    // The local file as it was (or still none), and nothing left beside it.
    QCOMPARE(QDir(m_local).entryList(QDir::Files | QDir::Hidden),
             localCopy ? QStringList{name} : QStringList());
    if (localCopy)
        QCOMPARE(fileBytes(local(name)), good);
    QVERIFY(!console().session.dataFile().isOpen());
    QCOMPARE(window->CloseButton()->text(), QString("Close"));
}

void TransfersEndToEnd::emptyInstrumentFileDownloadsAndTheBatchGoesOn()
{
    // Its first bytes could be the start of "File not found: FIRST.TXT".
    writeDated(disk("FIRST.TXT"), "File list\r\n", 30);
    writeDated(disk("EMPTY.TXT"), QByteArray(), 20);
    writeDated(disk("LAST.BIN"), everyByteValue(700), 10);
    writeDated(local("EMPTY.TXT"), "an older local copy");
    FileTransferForm *window = openOn({"--fast"});
    QVERIFY(window);
    QCOMPARE(window->fileNameAt(1), QString("EMPTY.TXT"));
    window->selectRows(0, 2);

    QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);

    QVERIFY2(m_rig->dialogs.errors.isEmpty(), qPrintable(m_rig->dialogs.errors.join('\n')));
    for (const QString name : {"FIRST.TXT", "EMPTY.TXT", "LAST.BIN"})
        QVERIFY2(fileBytes(local(name)) == fileBytes(disk(name)), qPrintable(name));
    QVERIFY(window->DirGrid()->selectedRanges().isEmpty());
}

void TransfersEndToEnd::nameTheInstrumentCannotHoldIsRefusedUnsent_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("problem");
    QTest::newRow("accented letter")
        << QString::fromUtf8("Ärger.txt") << QString::fromUtf8("\"Ä\"");
    QTest::newRow("question mark") << "why?.txt"
                                   << "\"?\"";
    QTest::newRow("nothing left but blanks") << "            x.txt"
                                             << "empty";
}

void TransfersEndToEnd::nameTheInstrumentCannotHoldIsRefusedUnsent()
{
    QFETCH(QString, file);
    QFETCH(QString, problem);
    writeDated(disk("KEEP.BIN"), "keep");
    // Run as commands, its lines would delete the instrument's file.
    writeDated(local(file), "Del KEEP.BIN\r\nDel KEEP.BIN\r\n");
    FileTransferForm *window = openOn({"--fast"});
    QVERIFY(window);
    const QByteArray heard = fileBytes(m_heard);
    QVERIFY(heard.endsWith("Dir /V\r"));
    m_rig->dialogs.pathAnswers.enqueue(local(file));

    QTest::mouseClick(window->SendFileButton(), Qt::LeftButton);

    QCOMPARE(m_rig->dialogs.errors.size(), 1);
    const QString error = m_rig->dialogs.errors.first();
    QVERIFY2(error.startsWith("The file " + file + " was not sent: ") && error.contains(problem) &&
                 error.contains("Rename the file"),
             qPrintable(error));
    // Nothing reached the instrument, not even a refresh: the next it hears is a status query.
    QVERIFY(!console().session.line().SendCommand("st\r", "st:", "\r", 2).isEmpty());
    QTRY_VERIFY(fileBytes(m_heard).size() > heard.size());
    QCOMPARE(fileBytes(m_heard), heard + "st\r");
    QCOMPARE(fileBytes(disk("KEEP.BIN")), QByteArray("keep"));
}

void TransfersEndToEnd::transferHoldsTheDataFile_data()
{
    QTest::addColumn<bool>("upload");
    QTest::newRow("download") << false;
    QTest::newRow("upload") << true;
}

void TransfersEndToEnd::transferHoldsTheDataFile()
{
    QFETCH(bool, upload);
    const QByteArray big = everyByteValue(30000);
    writeDated(disk("BIG.BIN"), big);
    QByteArray lines;
    for (int i = 0; i < 100; ++i)
        lines += "line " + QByteArray::number(i) + " of the file\r\n";
    writeDated(local("lines.txt"), lines);
    // At the line rate, so the transfer is still running when the operator acts.
    FileTransferForm *window = openOn({"--baud", "115200"});
    QVERIFY(window);
    const MainFormControls &c = console().form.controls();
    m_rig->dialogs.pathAnswers.enqueue(local("samples.raw"));
    QTest::mouseClick(c.NewFileButton, Qt::LeftButton);
    QVERIFY(console().session.dataFile().isOpen());

    QList<bool> enabled;
    int opened = 0;
    m_rig->when(
        [&] {
            return upload ? window->ProgressLabel()->text().startsWith("lines.txt: 2")
                          : console().session.byteCount() > 2000;
        },
        [&] {
            enabled << c.NewFileButton->isEnabled() << c.StopSavingButton->isEnabled()
                    << c.OrvantisMenu->menuAction()->isEnabled();
            m_rig->dialogs.pathAnswers.enqueue(local("other.raw"));
            opened = console().sampling.OpenNewFile();
        });
    if (upload) {
        m_rig->dialogs.pathAnswers.enqueue(local("lines.txt"));
        QTest::mouseClick(window->SendFileButton(), Qt::LeftButton);
    } else {
        m_rig->clickRow(m_rig->rowOf("BIG.BIN"));
        QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);
    }

    QCOMPARE(enabled, (QList<bool>{false, false, false}));
    QCOMPARE(opened, -1);
    QCOMPARE(m_rig->dialogs.errors, QStringList{DataFileController::transferRunningMessage()});
    QCOMPARE(m_rig->dialogs.pathAnswers.size(), 1); // no file chooser came up
    // Nothing split off: the transfer is whole.
    if (upload)
        QCOMPARE(fileBytes(disk("lines.txt")), lines);
    else
        QVERIFY(fileBytes(local("BIG.BIN")) == big);
    // Afterwards the controls follow the data file again; the upload left it open.
    QCOMPARE(console().session.dataFile().isOpen(), upload);
    QCOMPARE(c.NewFileButton->isEnabled(), !upload);
    QCOMPARE(c.StopSavingButton->isEnabled(), upload);
    QVERIFY(c.CalCheckMenuItem->isEnabled());
}

void TransfersEndToEnd::uploadGoesOnlyThroughTheCapturePrompt_data()
{
    const QByteArray ctrlZ("\x1a");
    QTest::addColumn<QByteArray>("captureAnswer");
    QTest::addColumn<int>("promptedLines");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("saying");
    QTest::newRow("name refused") << QByteArray("Bad file name: ab.txt\r\nOrvantis>") << 3
                                  << QByteArray("capture ab.txt\r")
                                  << "it answered \"Bad file name: ab.txt\"";
    QTest::newRow("no answer") << QByteArray() << 3 << QByteArray("capture ab.txt\r")
                               << "it gave no answer";
    QTest::newRow("prompt lost after line 2")
        << QByteArray("Capture>") << 1 << "capture ab.txt\rone\rtwo\r" + ctrlZ + ctrlZ
        << "after line 2, so no further line was sent";
    // Too late for the upload, but the instrument is in its capture mode: it is left at once,
    // before the next command (here a status query) could be stored as a line.
    QTest::newRow("prompt after the wait")
        << QByteArray("\x01late") << 3 << "capture ab.txt\r" + ctrlZ + "st\r"
        << "it gave no answer";
}

void TransfersEndToEnd::uploadGoesOnlyThroughTheCapturePrompt()
{
    QFETCH(QByteArray, captureAnswer);
    QFETCH(int, promptedLines);
    QFETCH(QByteArray, written);
    QFETCH(QString, saying);
    const QString path = local("ab.txt");
    writeDated(path, "one\r\ntwo\r\nDel SPECTRA.BIN\r\n");
    MemoryCommPort port;
    SessionRig link(port);
    QVERIFY(link.open());
    int lines = 0;
    port.setResponder([&](const QByteArray &bytes) {
        if (bytes.startsWith("capture ") && captureAnswer == "\x01late")
            return;
        if (bytes.startsWith("capture "))
            port.feed(bytes + '\n' + captureAnswer);
        else if (bytes == "\x1a")
            port.feed("\r\nOrvantis>");
        else
            port.feed(bytes + '\n' + (++lines <= promptedLines ? "Capture>" : ""));
    });
    FileDirectory directory(link.session);
    FileUpload upload(link.session, directory, link.dialogs);

    const FileOutcome outcome = upload.UploadFile(path);
    if (captureAnswer == "\x01late") {
        // It arrives just as the next command is about to go.
        port.feed("capture ab.txt\r\nCapture>");
        link.line().SendCommand("st\r", "st:", "\r", 0);
    }

    QCOMPARE(port.written(), written);
    QVERIFY(!outcome.done());
    QVERIFY2(outcome.message.startsWith("The file ab.txt was not sent") &&
                 outcome.message.contains(saying),
             qPrintable(outcome.message));
}

// A window busy when the echo came reads the echo and the file's first bytes in one go:
// those bytes are the file's too.
void TransfersEndToEnd::fileThatCameWithItsEchoIsWhole()
{
    const QByteArray content = everyByteValue(3000);
    MemoryCommPort port;
    SessionRig link(port);
    QVERIFY(link.open());
    port.setResponder([&](const QByteArray &bytes) {
        if (bytes.startsWith("type "))
            port.feed(bytes + '\n' + content + "\r\nOrvantis>");
    });
    FileDirectory directory(link.session);
    FileDownload download(link.session, directory, link.dialogs);
    QVERIFY(download.DownloadFile(local("ECHO.BIN"), int(content.size())).done());
    QVERIFY(fileBytes(local("ECHO.BIN")) == content);
    QCOMPARE(link.dialogs.errors, QStringList());
}

void TransfersEndToEnd::fileThatCannotBeFetchedIsNotAskedFor()
{
    // A listing line that is no file (a folder), a size past what a count can hold, and a
    // local name taken by a folder.
    const QList<QPair<QString, QString>> rows{
        {"LOG", "DIR"}, {"BIG.RAW", "3000000000"}, {"BLOCKED.RAW", "12"}};
    const QStringList starts{"The file LOG was not fetched: ", "The file BIG.RAW was not fetched: ",
                             "The file " + QDir::toNativeSeparators(local("BLOCKED.RAW")) +
                                 " could not be created"};
    QVERIFY(QDir(m_local).mkpath("BLOCKED.RAW"));
    MemoryCommPort port;
    SessionRig link(port);
    QVERIFY(link.open());
    link.session.setDefaultDataFolder(m_local);
    // The rows as the instrument lists them: name, size right-aligned to column 27, date.
    QByteArray listing = "Dir /V\r\nDirectory of A:\r\n";
    for (const auto &[name, size] : rows)
        listing +=
            (name.leftJustified(12) + size.rightJustified(15)).toLatin1() + " 12-04-09 14:35\r\n";
    port.setResponder([&](const QByteArray &) { port.feed(listing + "1000 bytes free\r\n>"); });
    FileDirectory directory(link.session);
    directory.refresh();
    QCOMPARE(directory.fileCount(), int(rows.size()));
    port.clearWritten();
    FileDownload download(link.session, directory, link.dialogs);
    QStringList messages;
    for (int row = 0; row < rows.size(); ++row) {
        const QList<FileOutcome> outcomes = download.GetFiles({directory.entryAt(row)});
        QCOMPARE(outcomes.size(), 1);
        QCOMPARE(outcomes.first().result, FileOutcome::Result::Failed);
        QCOMPARE(port.written(), QByteArray());
        messages << outcomes.first().message;
        QVERIFY2(messages.last().startsWith(starts.at(row)) && !messages.last().contains("Refresh"),
                 qPrintable(messages.last()));
    }
    QVERIFY(!QFileInfo::exists(local("BIG.RAW")));
    QCOMPARE(messages.first(),
             "The file LOG was not fetched: the size the directory list gives for it (\"DIR\") "
             "is not a count of bytes, so the end of the file cannot be told. If this line of the "
             "list is not a file, leave it out of the selection. The files after it were not "
             "fetched either: select them again to fetch them.");
}

void TransfersEndToEnd::realDialogsShowTheCriticalIconAndTakeExistingFiles()
{
    QtOperatorDialogs dialogs;
    const QString text = DataFileController::openErrorMessage("/gone/run.raw", "No such file");
    bool critical = false;
    whenModalShown([&](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        critical = box && box->icon() == QMessageBox::Critical && box->text() == text;
        window->close();
    });
    dialogs.showCriticalMessage("Orvantis Console", text);
    QVERIFY(critical);

    // The upload's chooser takes only a file that exists, and opens in the folder given.
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QString folder;
    whenModalShown([&](QWidget *window) {
        if (auto *chooser = qobject_cast<QFileDialog *>(window)) {
            mode = chooser->fileMode();
            folder = chooser->directory().absolutePath();
        }
        window->close();
    });
    QCOMPARE(dialogs.openFileName("Upload", m_local + "/"), QString());
    QCOMPARE(mode, QFileDialog::ExistingFile);
    QCOMPARE(folder, QDir(m_local).absolutePath());
}

QTEST_MAIN(TransfersEndToEnd)
#include "tst_transfers_e2e.moc"
