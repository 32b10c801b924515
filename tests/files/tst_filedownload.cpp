#include "features/files/FileDownload.h"
#include "testkit/MemoryInstrumentLink.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
const QByteArray kAbort("\x03\x03\x03");
const QByteArray kPrompt("Orvantis>");

// Every byte value, then a run of text, so a file exercises the whole byte range.
QByteArray binaryContent(int size)
{
    QByteArray bytes;
    bytes.reserve(size);
    for (int i = 0; i < size; ++i)
        bytes.append(char(i < 256 ? i : (i * 7 + 3) % 256));
    return bytes;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

class FileDownloadTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void percentTextRoundsToWholePercent_data();
    void percentTextRoundsToWholePercent();
    void fileArrivesByteForByte_data();
    void fileArrivesByteForByte();
    void batchFetchesTopToBottomInEitherDirection_data();
    void batchFetchesTopToBottomInEitherDirection();
    void existingFileIsReplacedAndSampleFileClosed();
    void silenceTimesOutKeepingThePartialFile();
    void stopDuringSecondFileEndsTheBatch();
    void noReplyToTypeEndsTheBatch();
    void unusableSizeIsRefusedBeforeAnythingIsSent_data();
    void unusableSizeIsRefusedBeforeAnythingIsSent();
    void localFileThatCannotBeCreatedIsNotRequested();
    void noSelectionOrNoFolderSendsNothing_data();
    void noSelectionOrNoFolderSendsNothing();
    void missingFolderIsChosenFirst();

private:
    void respond(const QByteArray &bytes);
    void streamTick();
    bool getFiles(int currentRow, int endRow);
    QString localPath(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<MemoryInstrumentLink> m_link;
    std::unique_ptr<FileDownload> m_download;
    std::unique_ptr<QTemporaryDir> m_dir;
    QList<FileDownload::Row> m_rows;
    // The instrument's side of the line: its memory, the file under way and fault switches
    // (stop streaming after stallAfter bytes, then let 11 s pass; press Stop once
    // cancelAfter bytes of the file cancelIn have arrived).
    struct Instrument {
        QHash<QString, QByteArray> files;
        QStringList silentFor;
        QString current;
        QByteArray streaming;
        qsizetype streamPos = 0;
        int chunk = 100;
        int stallAfter = -1;
        bool clockJumped = false;
        QString cancelIn;
        int cancelAfter = -1;
    } m_sim;
    QTimer m_stream;
    bool m_timerEnabled = true;
    QList<bool> m_timerStates;
};

void FileDownloadTest::init()
{
    m_link = std::make_unique<MemoryInstrumentLink>();
    m_download = std::make_unique<FileDownload>(m_link->state, m_link->port, m_link->transaction,
                                                m_link->capture, m_link->dialogs);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_link->state.DefaultDataFolder = QDir::toNativeSeparators(m_dir->path());
    m_rows = {FileDownload::Row{QStringLiteral("Name"), QString()}};
    m_sim = Instrument();
    m_timerEnabled = true;
    m_timerStates.clear();
    m_download->setStatusTimerAccess([this] { return m_timerEnabled; },
                                     [this](bool on) {
                                         m_timerEnabled = on;
                                         m_timerStates << on;
                                     });
    m_link->port.setResponder([this](const QByteArray &bytes) { respond(bytes); });
    m_stream.setInterval(3);
    m_stream.disconnect();
    connect(&m_stream, &QTimer::timeout, this, &FileDownloadTest::streamTick);
    m_stream.start();
}

void FileDownloadTest::cleanup()
{
    m_stream.stop();
    m_download.reset();
    m_link.reset();
    m_dir.reset();
}

// The instrument: echoes "type" and then streams the file; three ETX stop it.
void FileDownloadTest::respond(const QByteArray &bytes)
{
    if (bytes == kAbort) {
        m_sim.streaming.clear();
        m_sim.streamPos = 0;
        m_link->port.feed("\r\n" + kPrompt);
        return;
    }
    if (!bytes.startsWith("type "))
        return;
    const QString name = QString::fromLatin1(bytes.mid(5).split(' ').value(0));
    if (m_sim.silentFor.contains(name))
        return;
    m_link->port.feed(bytes + '\n');
    m_sim.current = name;
    m_sim.streaming = m_sim.files.value(name) + kPrompt;
    m_sim.streamPos = 0;
}

// Bytes flow only once the program has opened its file, as a real line gives it time to.
void FileDownloadTest::streamTick()
{
    if (m_sim.streaming.isEmpty() || (m_sim.streamPos == 0 && !m_link->state.dataFile.isOpen()))
        return;
    qsizetype end = qMin(m_sim.streamPos + m_sim.chunk, m_sim.streaming.size());
    if (m_sim.stallAfter >= 0)
        end = qMin<qsizetype>(end, m_sim.stallAfter);
    if (end > m_sim.streamPos) {
        m_link->port.feed(m_sim.streaming.mid(m_sim.streamPos, end - m_sim.streamPos));
        m_sim.streamPos = end;
    } else if (m_sim.stallAfter >= 0 && !m_sim.clockJumped &&
               m_link->capture.byteCount() >= m_sim.stallAfter) {
        m_sim.clockJumped = true;
        m_link->state.clock.setTimeOfDay(m_link->state.clock.timeOfDay() + 11.0);
    }
    if (m_sim.current == m_sim.cancelIn && m_link->capture.byteCount() >= m_sim.cancelAfter)
        m_link->state.TransferCancelled = true;
}

bool FileDownloadTest::getFiles(int currentRow, int endRow)
{
    return m_download->GetFiles(currentRow, endRow, [this](int row) { return m_rows.value(row); });
}

void FileDownloadTest::percentTextRoundsToWholePercent_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing yet") << 0 << 1000 << "0%";
    QTest::newRow("0.456") << 456 << 1000 << "46%";
    QTest::newRow("half up") << 5 << 1000 << "1%";
    QTest::newRow("below half") << 4 << 1000 << "0%";
    QTest::newRow("all") << 1000 << 1000 << "100%";
    QTest::newRow("no total") << 3 << 0 << "0%";
}

void FileDownloadTest::percentTextRoundsToWholePercent()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(QString, text);
    QCOMPARE(FileTransferOperation::percentText(done, total), text);
}

void FileDownloadTest::fileArrivesByteForByte_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("chunk");
    QTest::newRow("one byte") << 1 << 100;
    QTest::newRow("every byte value") << 256 << 100;
    QTest::newRow("byte at a time") << 300 << 1;
    QTest::newRow("large chunks") << 5000 << 977;
}

void FileDownloadTest::fileArrivesByteForByte()
{
    QFETCH(int, size);
    QFETCH(int, chunk);
    m_sim.chunk = chunk;
    m_sim.files["DATA0001.BIN"] = binaryContent(size);
    m_rows << FileDownload::Row{"DATA0001.BIN", QString::number(size)};
    QSignalSpy progress(m_download.get(), &FileTransferOperation::ProgressLabelChanged);

    QVERIFY(getFiles(1, 1));
    QCOMPARE(m_link->port.written(), QByteArray("type DATA0001.BIN 0 0 300\r"));
    QCOMPARE(readFile(localPath("DATA0001.BIN")), binaryContent(size));
    QCOMPARE(m_link->dialogs.errors, QStringList());
    QVERIFY(!m_link->state.dataFile.isOpen());
    QVERIFY(!m_link->capture.CaptureActive());
    // What follows the file (the prompt) is no longer filed.
    QTRY_VERIFY(m_link->state.ReceiveBuffer.endsWith(kPrompt));

    // ProgressLabel climbs while the file streams in, then is emptied.
    QVERIFY(progress.isEmpty() || progress.last().at(0).toString().isEmpty());
    const QRegularExpression shape(QStringLiteral("^DATA0001\\.BIN: (\\d+)%$"));
    int previous = -1;
    for (int i = 0; i < progress.size() - 1; ++i) {
        const auto match = shape.match(progress.at(i).at(0).toString());
        QVERIFY2(match.hasMatch(), qPrintable(progress.at(i).at(0).toString()));
        QVERIFY(match.captured(1).toInt() > previous && match.captured(1).toInt() <= 100);
        previous = match.captured(1).toInt();
    }
    if (size >= 1000)
        QVERIFY(progress.size() >= 3);
}

void FileDownloadTest::batchFetchesTopToBottomInEitherDirection_data()
{
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<int>("endRow");
    QTest::newRow("top down") << 1 << 3;
    QTest::newRow("bottom up") << 3 << 1;
}

void FileDownloadTest::batchFetchesTopToBottomInEitherDirection()
{
    QFETCH(int, currentRow);
    QFETCH(int, endRow);
    for (const char *name : {"ONE.RAW", "TWO.RAW", "THREE.RAW"}) {
        m_sim.files[name] = binaryContent(400) + name;
        m_rows << FileDownload::Row{QStringLiteral("  %1 ").arg(name),
                                    QStringLiteral("  %1").arg(400 + qstrlen(name))};
    }
    QSignalSpy selected(m_download.get(), &FileTransferOperation::rowsSelected);
    QSignalSpy cleared(m_download.get(), &FileTransferOperation::selectionCleared);
    QSignalSpy busy(m_download.get(), &FileTransferOperation::transferBusyChanged);
    QSignalSpy buttons(m_download.get(), &FileTransferOperation::actionButtonsEnabledChanged);

    QVERIFY(getFiles(currentRow, endRow));
    QCOMPARE(m_link->port.written(), QByteArray("type ONE.RAW 0 0 300\rtype TWO.RAW 0 0 300\r"
                                                "type THREE.RAW 0 0 300\r"));
    for (const char *name : {"ONE.RAW", "TWO.RAW", "THREE.RAW"})
        QCOMPARE(readFile(localPath(name)), m_sim.files[name]);
    QCOMPARE(selected.size(), 3);
    QCOMPARE(selected.at(0), (QList<QVariant>{1, 3}));
    QCOMPARE(selected.at(2), (QList<QVariant>{3, 3}));
    QCOMPARE(cleared.size(), 1);
    QCOMPARE(busy.size(), 2);
    QCOMPARE(busy.at(0).at(0).toBool(), true);
    QCOMPARE(busy.at(1).at(0).toBool(), false);
    QCOMPARE(buttons.last().at(0).toBool(), true);
    QVERIFY(!m_link->state.TransferCancelled);
    // Status polling held off for the whole batch and given back afterwards.
    QCOMPARE(m_timerStates.first(), false);
    QCOMPARE(m_timerStates.count(true), 1);
    QVERIFY(m_timerEnabled);
}

void FileDownloadTest::existingFileIsReplacedAndSampleFileClosed()
{
    QFile old(localPath("B.RAW"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
    old.close();
    const QString samples = localPath("samples.raw");
    QVERIFY(m_link->state.dataFile.open(samples));
    m_sim.files["B.RAW"] = "new contents";
    m_rows << FileDownload::Row{"B.RAW", "12"};

    QVERIFY(getFiles(1, 1));
    QCOMPARE(readFile(localPath("B.RAW")), QByteArray("new contents"));
    // The sample file got nothing of the download, not even the command's echo.
    QCOMPARE(readFile(samples), QByteArray());
    QVERIFY(m_link->dialogs.questions.isEmpty());
}

void FileDownloadTest::silenceTimesOutKeepingThePartialFile()
{
    m_sim.files["SLOW.RAW"] = binaryContent(2000);
    m_rows << FileDownload::Row{"SLOW.RAW", "2000"} << FileDownload::Row{"NEXT.RAW", "10"};
    m_sim.stallAfter = 700;
    QSignalSpy cleared(m_download.get(), &FileTransferOperation::selectionCleared);

    QVERIFY(!getFiles(1, 2));
    QCOMPARE(m_link->dialogs.errors, QStringList{"Transfer of \"SLOW.RAW\" timed out."});
    QCOMPARE(m_link->port.written(), "type SLOW.RAW 0 0 300\r" + kAbort);
    QCOMPARE(readFile(localPath("SLOW.RAW")), binaryContent(700));
    QVERIFY(!QFile::exists(localPath("NEXT.RAW")));
    QVERIFY(!m_link->capture.CaptureActive());
    QVERIFY(!m_link->state.dataFile.isOpen());
    QCOMPARE(cleared.size(), 0);
}

void FileDownloadTest::stopDuringSecondFileEndsTheBatch()
{
    for (const char *name : {"F1.RAW", "F2.RAW", "F3.RAW"}) {
        m_sim.files[name] = binaryContent(3000);
        m_rows << FileDownload::Row{name, "3000"};
    }
    m_sim.chunk = 20;
    m_sim.cancelIn = "F2.RAW";
    m_sim.cancelAfter = 300;
    QSignalSpy selected(m_download.get(), &FileTransferOperation::rowsSelected);
    QSignalSpy cleared(m_download.get(), &FileTransferOperation::selectionCleared);
    QSignalSpy busy(m_download.get(), &FileTransferOperation::transferBusyChanged);

    QVERIFY(!getFiles(1, 3));
    QCOMPARE(m_link->dialogs.errors, QStringList{"Transfer cancelled."});
    QCOMPARE(m_link->port.written(), "type F1.RAW 0 0 300\rtype F2.RAW 0 0 300\r" + kAbort);
    QCOMPARE(readFile(localPath("F1.RAW")), binaryContent(3000));
    const QByteArray partial = readFile(localPath("F2.RAW"));
    QVERIFY(partial.size() >= 300 && partial.size() < 3000);
    QCOMPARE(partial, binaryContent(3000).left(partial.size()));
    QVERIFY(!QFile::exists(localPath("F3.RAW")));
    // The selection still covers the files not fetched.
    QCOMPARE(selected.last(), (QList<QVariant>{2, 3}));
    QCOMPARE(cleared.size(), 0);
    QCOMPARE(busy.last().at(0).toBool(), false);
    QVERIFY(!m_link->state.TransferCancelled);
    QVERIFY(!m_link->capture.CaptureActive());
}

void FileDownloadTest::noReplyToTypeEndsTheBatch()
{
    m_sim.silentFor << "GONE.RAW";
    m_rows << FileDownload::Row{"GONE.RAW", "10"} << FileDownload::Row{"NEXT.RAW", "10"};

    QVERIFY(!getFiles(1, 2));
    QCOMPARE(m_link->dialogs.errors, QStringList{"There was an error getting the file GONE.RAW."});
    QCOMPARE(m_link->port.written(), QByteArray("type GONE.RAW 0 0 300\r"));
    QVERIFY(!QFile::exists(localPath("GONE.RAW")));
}

void FileDownloadTest::unusableSizeIsRefusedBeforeAnythingIsSent_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("message");
    QTest::newRow("text") << " <DIR>" << FileDownload::badSizeMessage("Z.RAW", "<DIR>");
    QTest::newRow("too large") << "3000000000"
                               << FileDownload::badSizeMessage("Z.RAW", "3000000000");
}

void FileDownloadTest::unusableSizeIsRefusedBeforeAnythingIsSent()
{
    QFETCH(QString, size);
    QFETCH(QString, message);
    m_rows << FileDownload::Row{"Z.RAW", size} << FileDownload::Row{"OK.RAW", "3"};
    m_sim.files["OK.RAW"] = "abc";
    QSignalSpy busy(m_download.get(), &FileTransferOperation::transferBusyChanged);

    QVERIFY(!getFiles(1, 2));
    QCOMPARE(m_link->dialogs.errors, QStringList{message});
    QCOMPARE(m_link->port.written(), QByteArray());
    QVERIFY(!QFile::exists(localPath("Z.RAW")));
    QCOMPARE(busy.last().at(0).toBool(), false);
    QVERIFY(!m_link->capture.CaptureActive());
}

void FileDownloadTest::localFileThatCannotBeCreatedIsNotRequested()
{
    // A folder of the file's name stands where the file should go.
    QVERIFY(QDir(m_dir->path()).mkdir("BLOCKED.RAW"));
    m_sim.files["BLOCKED.RAW"] = binaryContent(500);
    m_sim.files["LATER.RAW"] = "x";
    m_rows << FileDownload::Row{"BLOCKED.RAW", "500"} << FileDownload::Row{"LATER.RAW", "1"};
    QSignalSpy busy(m_download.get(), &FileTransferOperation::transferBusyChanged);

    QVERIFY(!getFiles(1, 2));
    QCOMPARE(m_link->port.written(), QByteArray());
    QCOMPARE(m_link->dialogs.errors.size(), 1);
    QVERIFY2(m_link->dialogs.errors.at(0).startsWith(
                 "The file " + QDir::toNativeSeparators(localPath("BLOCKED.RAW")) +
                 " could not be created ("),
             qPrintable(m_link->dialogs.errors.at(0)));
    QVERIFY(m_link->dialogs.errors.at(0).endsWith("). The transfer was stopped."));
    QCOMPARE(busy.last().at(0).toBool(), false);
    QVERIFY(!m_link->capture.CaptureActive());
    QVERIFY(!m_link->state.dataFile.isOpen());
}

void FileDownloadTest::noSelectionOrNoFolderSendsNothing_data()
{
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("header row") << 0 << true
                                << QStringList{"To get files, first select them from the "
                                               "directory list."};
    QTest::newRow("folder gone, chooser cancelled") << 1 << false << QStringList();
}

void FileDownloadTest::noSelectionOrNoFolderSendsNothing()
{
    QFETCH(int, currentRow);
    QFETCH(bool, folderExists);
    QFETCH(QStringList, errors);
    if (!folderExists)
        m_link->state.DefaultDataFolder = localPath("missing");
    m_rows << FileDownload::Row{"A.RAW", "3"};
    QSignalSpy busy(m_download.get(), &FileTransferOperation::transferBusyChanged);

    QVERIFY(!getFiles(currentRow, 1));
    QCOMPARE(m_link->dialogs.errors, errors);
    QCOMPARE(m_link->port.written(), QByteArray());
    QCOMPARE(busy.size(), 0);
    QVERIFY(m_timerEnabled);
}

void FileDownloadTest::missingFolderIsChosenFirst()
{
    m_link->state.DefaultDataFolder = localPath("missing");
    const QString chosen = QDir::toNativeSeparators(localPath("chosen"));
    QVERIFY(QDir().mkpath(chosen));
    m_link->dialogs.pathAnswers.enqueue(chosen);
    m_sim.files["A.RAW"] = "abc";
    m_rows << FileDownload::Row{"A.RAW", "3"};
    QSignalSpy folder(m_download.get(), &FileDownload::downloadFolderChanged);

    QVERIFY(getFiles(1, 1));
    QCOMPARE(m_link->state.DefaultDataFolder, chosen);
    QCOMPARE(folder.size(), 1);
    QCOMPARE(readFile(QDir(chosen).filePath("A.RAW")), QByteArray("abc"));
}

QTEST_GUILESS_MAIN(FileDownloadTest)
#include "tst_filedownload.moc"
