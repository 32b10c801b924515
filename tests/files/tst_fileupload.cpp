#include "features/files/FileUpload.h"
#include "support/PathUtilities.h"
#include "testkit/MemoryInstrumentLink.h"
#include "testkit/TestSettings.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
const QByteArray kCtrlZ("\x1a");

// Also records where each file chooser started.
class RecordingOperator : public ScriptedOperator
{
public:
    QString openFileName(const QString &title, const QString &startPath) override
    {
        chooserStarts << title + QStringLiteral(" @ ") + startPath;
        return ScriptedOperator::openFileName(title, startPath);
    }
    QStringList chooserStarts;
};
} // namespace

class FileUploadTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void instrumentNameIsFirstTwelveWithoutSpaces_data();
    void instrumentNameIsFirstTwelveWithoutSpaces();
    void linesGoThroughTheCapturePrompt_data();
    void linesGoThroughTheCapturePrompt();
    void progressShowsTheFileNameAndPercent();
    void stopEndsTheLinesButStillLeavesCaptureMode();
    void missingFileSendsNothing();
    void chooserStartsInTheFolderOfTheLastFileSent();

private:
    void respond(const QByteArray &bytes);
    QString writeFile(const QString &name, const QByteArray &contents);

    QTemporaryDir m_settingsDir;
    std::unique_ptr<MemoryInstrumentLink> m_link;
    std::unique_ptr<RecordingOperator> m_operator;
    std::unique_ptr<FileUpload> m_upload;
    std::unique_ptr<QTemporaryDir> m_dir;
    // The instrument's side: its capture mode and the lines it stored.
    bool m_capturing = false;
    QByteArrayList m_stored;
    int m_cancelAtLine = -1;
    bool m_timerEnabled = true;
    QList<bool> m_timerStates;
};

void FileUploadTest::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    useTemporarySettings(m_settingsDir.path());
}

void FileUploadTest::init()
{
    m_link = std::make_unique<MemoryInstrumentLink>();
    m_operator = std::make_unique<RecordingOperator>();
    m_upload = std::make_unique<FileUpload>(m_link->state, m_link->transaction, *m_operator);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_capturing = false;
    m_stored.clear();
    m_cancelAtLine = -1;
    m_timerEnabled = true;
    m_timerStates.clear();
    m_upload->setStatusTimerAccess([this] { return m_timerEnabled; },
                                   [this](bool on) {
                                       m_timerEnabled = on;
                                       m_timerStates << on;
                                   });
    m_link->port.setResponder([this](const QByteArray &bytes) { respond(bytes); });
}

void FileUploadTest::cleanup()
{
    m_upload.reset();
    m_operator.reset();
    m_link.reset();
    m_dir.reset();
}

// The instrument: "capture" opens its capture mode, each line is echoed with the
// "Capture>" prompt, Ctrl-Z goes back to the command prompt.
void FileUploadTest::respond(const QByteArray &bytes)
{
    if (bytes == kCtrlZ) {
        m_capturing = false;
        m_link->port.feed("\r\nOrvantis>");
    } else if (!m_capturing && bytes.startsWith("capture ")) {
        m_capturing = true;
        m_link->port.feed(bytes + "\nCapture>");
    } else if (m_capturing) {
        m_stored << bytes.chopped(1);
        m_link->port.feed(bytes + "\nCapture>");
        if (m_stored.size() == m_cancelAtLine)
            m_link->state.TransferCancelled = true;
    }
}

QString FileUploadTest::writeFile(const QString &name, const QByteArray &contents)
{
    const QString path = QDir::toNativeSeparators(m_dir->filePath(name));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
    return path;
}

void FileUploadTest::instrumentNameIsFirstTwelveWithoutSpaces_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("instrumentName");
    QTest::newRow("short") << "DATA.TXT"
                           << "DATA.TXT";
    QTest::newRow("spaces inside the twelve") << "my notes file.txt"
                                              << "mynotesfil";
    QTest::newRow("long") << "abcdefghijklmnop.txt"
                          << "abcdefghijkl";
    QTest::newRow("spaces beyond the twelve count") << "a b c.txt"
                                                    << "abc.txt";
}

void FileUploadTest::instrumentNameIsFirstTwelveWithoutSpaces()
{
    QFETCH(QString, fileName);
    QFETCH(QString, instrumentName);
    const QString path = QDir::toNativeSeparators(QStringLiteral("/some folder/") + fileName);
    QCOMPARE(FileUpload::InstrumentName(path), instrumentName);
}

void FileUploadTest::linesGoThroughTheCapturePrompt_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::newRow("CR LF") << QByteArray("A\r\nB\r\nC\r\n") << QByteArrayList{"A", "B", "C"};
    QTest::newRow("CR, last line unended")
        << QByteArray("A\rB\rC") << QByteArrayList{"A", "B", "C"};
    QTest::newRow("LF") << QByteArray("A\nB\nC\n") << QByteArrayList{"A", "B", "C"};
    QTest::newRow("empty line kept")
        << QByteArray("A\r\n\r\nB \t\xe9\r\n") << QByteArrayList{"A", "", "B \t\xe9"};
    QTest::newRow("empty file") << QByteArray() << QByteArrayList();
}

void FileUploadTest::linesGoThroughTheCapturePrompt()
{
    QFETCH(QByteArray, contents);
    QFETCH(QByteArrayList, lines);
    const QString path = writeFile("notes.txt", contents);
    bool enabledWhileCapturing = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this,
            [&] { enabledWhileCapturing |= m_capturing && m_timerEnabled; });
    watch.start(5);

    QVERIFY(!m_upload->UploadFile(path));
    watch.stop();
    QByteArray expected = "capture notes.txt\r";
    for (const QByteArray &line : lines)
        expected += line + '\r';
    expected += kCtrlZ + kCtrlZ;
    QCOMPARE(m_link->port.written(), expected);
    QCOMPARE(m_stored, lines);
    QVERIFY(!m_capturing);
    QVERIFY(!enabledWhileCapturing);
    QVERIFY(m_timerEnabled);
    QCOMPARE(m_operator->errors, QStringList());
}

void FileUploadTest::progressShowsTheFileNameAndPercent()
{
    const QString path = writeFile("my notes file.txt", "AB\r\nCD\r\n");
    QSignalSpy progress(m_upload.get(), &FileTransferOperation::ProgressLabelChanged);

    m_upload->UploadFile(path);
    QVERIFY(m_link->port.written().startsWith("capture mynotesfil\r"));
    QStringList texts;
    for (const QList<QVariant> &signal : progress)
        texts << signal.at(0).toString();
    // Line ends are not counted, so the last line stops short of 100%.
    QCOMPARE(texts, (QStringList{"my notes file.txt: 25%", "my notes file.txt: 50%", ""}));
}

void FileUploadTest::stopEndsTheLinesButStillLeavesCaptureMode()
{
    QByteArray contents;
    for (int i = 1; i <= 20; ++i)
        contents += "line " + QByteArray::number(i) + "\r\n";
    const QString path = writeFile("long.txt", contents);
    m_cancelAtLine = 3;

    m_upload->UploadFile(path);
    QCOMPARE(m_link->port.written(),
             "capture long.txt\rline 1\rline 2\rline 3\r" + kCtrlZ + kCtrlZ);
    QVERIFY(!m_capturing);
    QVERIFY(!m_link->state.TransferCancelled);
    QCOMPARE(m_operator->errors, QStringList());
}

void FileUploadTest::missingFileSendsNothing()
{
    QVERIFY(!m_upload->UploadFile(m_dir->filePath("absent.txt")));
    QCOMPARE(m_link->port.written(), QByteArray());
    QVERIFY(m_timerStates.isEmpty());
}

void FileUploadTest::chooserStartsInTheFolderOfTheLastFileSent()
{
    FileUpload::setLastUploadFolder(QString());
    QSignalSpy refresh(m_upload.get(), &FileTransferOperation::refreshRequested);
    QSignalSpy busy(m_upload.get(), &FileTransferOperation::transferBusyChanged);
    const QString title = QStringLiteral("Select file to send to Orvantis");
    const QString programFolder =
        AddBackslash(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));

    // Cancelled: nothing is sent, nothing refreshed.
    QVERIFY(!m_upload->SendFile());
    QCOMPARE(m_operator->chooserStarts, QStringList{title + " @ " + programFolder});
    QCOMPARE(m_link->port.written(), QByteArray());
    QCOMPARE(refresh.size(), 0);
    QCOMPARE(busy.size(), 0);

    m_operator->pathAnswers.enqueue(writeFile("one.txt", "X\r\n"));
    QVERIFY(m_upload->SendFile());
    QCOMPARE(m_link->port.written(), "capture one.txt\rX\r" + kCtrlZ + kCtrlZ);
    QCOMPARE(refresh.size(), 1);
    QCOMPARE(busy.size(), 2);
    QVERIFY(busy.at(0).at(0).toBool());
    QVERIFY(!busy.at(1).at(0).toBool());
    QVERIFY(m_timerEnabled);

    const QString folder = AddBackslash(QDir::toNativeSeparators(m_dir->path()));
    QCOMPARE(FileUpload::LastUploadFolder(), folder);
    QVERIFY(!m_upload->SendFile());
    QCOMPARE(m_operator->chooserStarts.last(), title + " @ " + folder);

    // A remembered folder that has gone is not offered.
    FileUpload::setLastUploadFolder(folder + "gone");
    QCOMPARE(FileUpload::LastUploadFolder(), programFolder);
}

QTEST_GUILESS_MAIN(FileUploadTest)
#include "tst_fileupload.moc"
