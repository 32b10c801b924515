// File transfers' rules that the simulator cannot play, on the in-memory line: an instrument
// that refuses the capture or stops showing "Capture>", a file that came with its echo,
// listing lines that cannot be fetched; and where a download's bytes are staged beside the
// file they may replace.
#include "features/files/FileDirectory.h"
#include "features/files/FileDownload.h"
#include "features/files/FileUpload.h"
#include "features/files/StagedDownload.h"
#include "testkit/MemoryCommPort.h"
#include "testkit/SessionProbe.h"
#include "testkit/SessionRig.h"
#include "testkit/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class FileRules : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void uploadGoesOnlyThroughTheCapturePrompt_data();
    void uploadGoesOnlyThroughTheCapturePrompt();
    void fileThatCameWithItsEchoIsWhole();
    void fileThatCannotBeFetchedIsNotAskedFor();
    void stagingNameNeverTakesAnotherFile();
    void failedRenameKeepsTheStagedBytes();

private:
    QString local(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
    MemoryCommPort m_port;
};

void FileRules::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_port.clearWritten();
}

void FileRules::uploadGoesOnlyThroughTheCapturePrompt_data()
{
    const QByteArray ctrlZ("\x1a");
    QTest::addColumn<QByteArray>("captureAnswer");
    QTest::addColumn<int>("promptedLines");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("saying");
    // What the upload reports: refused (whether in words or in silence) or cut short.
    QTest::addColumn<FileOutcome::Result>("result");
    const auto refused = FileOutcome::Result::Refused;
    QTest::newRow("name refused") << QByteArray("Bad file name: ab.txt\r\nOrvantis>") << 3
                                  << QByteArray("capture ab.txt\r")
                                  << "it answered \"Bad file name: ab.txt\"" << refused;
    QTest::newRow("no answer") << QByteArray() << 3 << QByteArray("capture ab.txt\r")
                               << "it gave no answer" << refused;
    QTest::newRow("prompt lost after line 2")
        << QByteArray("Capture>") << 1 << "capture ab.txt\rone\rtwo\r" + ctrlZ + ctrlZ
        << "after line 2, so no further line was sent" << FileOutcome::Result::CutShort;
    // Too late for the upload, but the instrument is in its capture mode: it is left at once,
    // before the next command (here a status query) could be stored as a line.
    QTest::newRow("prompt after the wait")
        << QByteArray("\x01late") << 3 << "capture ab.txt\r" + ctrlZ + "st\r"
        << "it gave no answer" << refused;
}

void FileRules::uploadGoesOnlyThroughTheCapturePrompt()
{
    QFETCH(QByteArray, captureAnswer);
    QFETCH(int, promptedLines);
    QFETCH(QByteArray, written);
    QFETCH(QString, saying);
    QFETCH(FileOutcome::Result, result);
    const QString path = local("ab.txt");
    QVERIFY(writeFile(path, "one\r\ntwo\r\nDel SPECTRA.BIN\r\n"));
    SessionRig link(m_port);
    QVERIFY(link.open());
    int lines = 0;
    m_port.setResponder([&](const QByteArray &bytes) {
        if (bytes.startsWith("capture ") && captureAnswer == "\x01late")
            return;
        if (bytes.startsWith("capture "))
            m_port.feed(bytes + '\n' + captureAnswer);
        else if (bytes == "\x1a")
            m_port.feed("\r\nOrvantis>");
        else
            m_port.feed(bytes + '\n' + (++lines <= promptedLines ? "Capture>" : ""));
    });
    FileDirectory directory(link.session);
    FileUpload upload(link.session, directory, link.dialogs);
    const FileOutcome outcome = upload.UploadFile(path);
    if (captureAnswer == "\x01late") {
        // It arrives just as the next command is about to go.
        m_port.feed("capture ab.txt\r\nCapture>");
        link.line().SendCommand("st\r", "st:", "\r", 0);
    }
    QCOMPARE(m_port.written(), written);
    QCOMPARE(outcome.result, result);
    QVERIFY2(outcome.message.startsWith("The file ab.txt was not sent") &&
                 outcome.message.contains(saying),
             qPrintable(outcome.message));
    m_port.close();
}

// A window busy when the echo came reads the echo and the file's first bytes in one go:
// those bytes are the file's too.
void FileRules::fileThatCameWithItsEchoIsWhole()
{
    const QByteArray content = everyByteValue(3000);
    SessionRig link(m_port);
    QVERIFY(link.open());
    m_port.setResponder([&](const QByteArray &bytes) {
        if (bytes.startsWith("type "))
            m_port.feed(bytes + '\n' + content + "\r\nOrvantis>");
    });
    FileDirectory directory(link.session);
    FileDownload download(link.session, directory, link.dialogs);
    QVERIFY(download.DownloadFile(local("ECHO.BIN"), int(content.size())).done());
    QVERIFY(fileBytes(local("ECHO.BIN")) == content);
    QCOMPARE(link.dialogs.errors, QStringList());
    m_port.close();
}

void FileRules::fileThatCannotBeFetchedIsNotAskedFor()
{
    // A listing line that is no file (a folder), a size past what a count can hold, and a
    // local name taken by a folder.
    const QList<QPair<QString, QString>> rows{
        {"LOG", "DIR"}, {"BIG.RAW", "3000000000"}, {"BLOCKED.RAW", "12"}};
    const QStringList said{
        "The file LOG was not fetched: the size the directory list gives for it (\"DIR\") is not "
        "a count of bytes, so the end of the file cannot be told. If this line of the list is "
        "not a file, leave it out of the selection. The files after it were not fetched either: "
        "select them again to fetch them.",
        "The file BIG.RAW was not fetched: ",
        "The file " + QDir::toNativeSeparators(local("BLOCKED.RAW")) + " could not be created"};
    QVERIFY(QDir(m_dir->path()).mkpath("BLOCKED.RAW"));
    SessionRig link(m_port);
    QVERIFY(link.open());
    probe::setDownloadFolder(link.session, m_dir->path());
    QByteArray listing = "Dir /V\r\nDirectory of A:\r\n";
    for (const auto &[name, size] : rows)
        listing += listingLine(name.toLatin1(), size.toLatin1()) + "\r\n";
    m_port.setResponder([&](const QByteArray &) { m_port.feed(listing + "1000 bytes free\r\n>"); });
    FileDirectory directory(link.session);
    directory.refresh();
    QCOMPARE(directory.fileCount(), int(rows.size()));
    m_port.clearWritten();
    FileDownload download(link.session, directory, link.dialogs);
    for (int row = 0; row < rows.size(); ++row) {
        const QList<FileOutcome> outcomes = download.GetFiles({directory.entryAt(row)});
        QCOMPARE(outcomes.size(), 1);
        QCOMPARE(int(outcomes.first().result), int(FileOutcome::Result::Failed));
        QCOMPARE(m_port.written(), QByteArray());
        const QString message = outcomes.first().message;
        QVERIFY2(row == 0 ? message == said.first()
                          : message.startsWith(said.at(row)) && !message.contains("Refresh"),
                 qPrintable(message));
    }
    QVERIFY(!QFileInfo::exists(local("BIG.RAW")));
    m_port.close();
}

// NAME.part belongs to an earlier download cut short: the next one stages as NAME.1.part,
// and so on; when every name is taken, nothing is staged (and nothing overwritten).
void FileRules::stagingNameNeverTakesAnotherFile()
{
    const QString target = local("RUN.RAW");
    QVERIFY(writeFile(target + ".part", "earlier"));
    {
        StagedDownload staged(target);
        QVERIFY(staged.reserve());
        QCOMPARE(staged.stagingPath(), target + ".1.part");
        QVERIFY(!staged.targetExisted());
    }
    // Discarded with the object: the earlier one stays.
    QVERIFY(!QFileInfo::exists(target + ".1.part"));
    QCOMPARE(fileBytes(target + ".part"), QByteArray("earlier"));
    for (int i = 1; i < 100; ++i)
        QVERIFY(writeFile(QStringLiteral("%1.%2.part").arg(target).arg(i), "earlier"));
    StagedDownload full(target);
    QVERIFY(!full.reserve());
    QCOMPARE(full.stagingPath(), QString());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 100);
    QCOMPARE(fileBytes(target + ".99.part"), QByteArray("earlier"));
}

void FileRules::failedRenameKeepsTheStagedBytes()
{
    const QString target = local("DATA.BIN");
    StagedDownload staged(target);
    QVERIFY(staged.reserve());
    const QString staging = staged.stagingPath();
    QVERIFY(writeFile(staging, "the bytes that came"));
    // Meanwhile a folder took the target's name, with something in it: nothing replaces it.
    QVERIFY(QDir(m_dir->path()).mkpath("DATA.BIN/inside"));
    QVERIFY(!staged.putInPlace());
    QVERIFY(!staged.errorString().isEmpty());
    staged.discard();
    QCOMPARE(fileBytes(staging), QByteArray("the bytes that came"));
    QVERIFY(QFileInfo(target).isDir());
}

QTEST_GUILESS_MAIN(FileRules)
#include "tst_files.moc"
