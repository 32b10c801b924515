// The file manager against orvantis-sim over a real pseudo-terminal: the listing, a
// byte-exact download (into a folder chosen first when the set one is gone), an upload under
// the instrument's name rule, deletions asked for first, and sorting, all through the
// windows' own buttons.
#include "support/PathUtilities.h"
#include "testkit/SimConsole.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"
#include "ui/files/FileTransferForm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
constexpr int kSpectraSize = 102400;

QString withSeparators(qint64 value)
{
    QString digits = QString::number(value);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

QString cell(FileTransferForm *window, int row, int column)
{
    const QTableWidgetItem *item = window->DirGrid()->item(row, column);
    return item ? item->text() : QString();
}

// The byte count a download expects for `row`: its hidden size column.
qint32 sizeAt(FileTransferForm *window, int row)
{
    return cell(window, row, 5).trimmed().toInt();
}

// Clicks the middle of a visible column's header.
void clickHeader(FileTransferForm *window, int column)
{
    QHeaderView *header = window->DirGrid()->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}
} // namespace

class FilesEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void gridListsTheDiskWithSizesAndDates();
    void downloadIsByteExact();
    void uploadThenDeleteShowOnDiskAndInTheGrid();
    void deleteSendsNothingUntilYesThenTakesTheBlock();
    void missingDownloadFolderIsAskedForFirst();
    void sizeHeaderSortsBothWays();
    void threeFileBatchAtEachRate_data();
    void threeFileBatchAtEachRate();

private:
    // Starts the instrument on a disk folder, connects, opens the file manager.
    FileTransferForm *openOn(const QStringList &extra);

    QTemporaryDir m_dir;
    QString m_disk;
    QString m_local;
    QString m_heard;
    std::unique_ptr<SimConsole> m_rig;
};

void FilesEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void FilesEndToEnd::init()
{
    static int run = 0;
    ++run;
    m_disk = m_dir.filePath(QStringLiteral("disk%1").arg(run));
    m_local = m_dir.filePath(QStringLiteral("local%1").arg(run));
    m_heard = m_dir.filePath(QStringLiteral("heard%1.bin").arg(run));
    QVERIFY(QDir().mkpath(m_local));
}

void FilesEndToEnd::cleanup()
{
    m_rig.reset();
}

FileTransferForm *FilesEndToEnd::openOn(const QStringList &extra)
{
    m_rig = std::make_unique<SimConsole>(QStringList{"--disk", m_disk, "--record-input", m_heard} +
                                         extra);
    if (!m_rig->startedAndConnected())
        return nullptr;
    m_rig->c().session.setDefaultDataFolder(m_local);
    FileTransferForm *window = m_rig->openFiles();
    if (!window || window->fileCount() == 0) {
        QTest::qFail("the file manager shows no files", __FILE__, __LINE__);
        return nullptr;
    }
    return window;
}

void FilesEndToEnd::gridListsTheDiskWithSizesAndDates()
{
    FileTransferForm *window = openOn({"--fast"});
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QString("Files in Orvantis Memory"));
    QVERIFY(window->isVisible() && window->DirGrid()->isEnabled());

    const QFileInfoList files = QDir(m_disk).entryInfoList(QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 3);
    QCOMPARE(window->fileCount(), int(files.size()));
    for (const QFileInfo &file : files) {
        const int row = m_rig->rowOf(file.fileName());
        QVERIFY2(row >= 0, qPrintable(file.fileName()));
        QCOMPARE(cell(window, row, 2), withSeparators(file.size()));
        QCOMPARE(sizeAt(window, row), qint32(file.size()));
        QCOMPARE(cell(window, row, 1),
                 file.lastModified().toString(QStringLiteral("MM-dd-yy HH:mm")));
        QCOMPARE(cell(window, row, 3), file.suffix());
    }
    // Loaded sorted by date, oldest first, nothing selected.
    for (int row = 1; row < window->fileCount(); ++row)
        QVERIFY(cell(window, row - 1, 4).toDouble() <= cell(window, row, 4).toDouble());
    QVERIFY(!window->GetFilesButton()->isEnabled());
    QCOMPARE(m_rig->c().session.Status(), StatusCode::Idle);
}

void FilesEndToEnd::downloadIsByteExact()
{
    FileTransferForm *window = openOn({"--fast"});
    QVERIFY(window);
    const int row = m_rig->rowOf("SPECTRA.BIN");
    QVERIFY(row >= 0);
    QCOMPARE(cell(window, row, 2), QString("102,400"));
    m_rig->clickRow(row);
    QVERIFY(window->GetFilesButton()->isEnabled());
    // An older, longer local copy is replaced.
    QVERIFY(writeFile(QDir(m_local).filePath("SPECTRA.BIN"), QByteArray(200000, 'o')));
    // No status poll may cut into the file's bytes.
    bool polling = true;
    m_rig->when([&] { return m_rig->session().lineOwner() == LineOperation::Download; },
                [&] { polling = !m_rig->session().pollingHeld(); });

    QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);

    QVERIFY(m_rig->fired() && !polling);
    QVERIFY2(m_rig->dialogs.errors.isEmpty(), qPrintable(m_rig->dialogs.errors.join('\n')));
    const QByteArray expected = fileBytes(QDir(m_disk).filePath("SPECTRA.BIN"));
    QCOMPARE(expected.size(), kSpectraSize);
    const QByteArray got = fileBytes(QDir(m_local).filePath("SPECTRA.BIN"));
    QCOMPARE(got.size(), kSpectraSize);
    QVERIFY(got == expected);
    QCOMPARE(window->ProgressLabel()->text(), QString());
    QCOMPARE(window->CloseButton()->text(), QString("Close"));
    QVERIFY(window->DirGrid()->selectedRanges().isEmpty());
    QVERIFY(!m_rig->c().session.dataFile().isOpen());
    QCOMPARE(m_rig->c().session.Status(), StatusCode::Idle);
}

void FilesEndToEnd::uploadThenDeleteShowOnDiskAndInTheGrid()
{
    FileTransferForm *window = openOn({"--fast"});
    QVERIFY(window);
    const QString local = QDir(m_local).filePath("my notes file.txt");
    QVERIFY(writeFile(local, "first line\nsecond, with a comma\r\nthird\n"));
    const int before = window->fileCount();
    m_rig->dialogs.pathAnswers.enqueue(local);

    QTest::mouseClick(window->SendFileButton(), Qt::LeftButton);
    // The next chooser opens where this file was.
    QTest::mouseClick(window->SendFileButton(), Qt::LeftButton);
    QCOMPARE(m_rig->dialogs.chooserStarts.size(), 2);
    QCOMPARE(m_rig->dialogs.chooserStarts.last(), AddBackslash(m_local));

    // The first 12 characters of its name, spaces removed.
    const QString stored = QDir(m_disk).filePath("mynotesfil");
    QVERIFY(QFileInfo::exists(stored));
    QCOMPARE(fileBytes(stored), QByteArray("first line\r\nsecond, with a comma\r\nthird\r\n"));
    QCOMPARE(window->fileCount(), before + 1);
    const int row = m_rig->rowOf("mynotesfil");
    QVERIFY(row >= 0);
    QCOMPARE(sizeAt(window, row), qint32(QFileInfo(stored).size()));
    QCOMPARE(window->CloseButton()->text(), QString("Close"));
    QCOMPARE(m_rig->c().session.Status(), StatusCode::Idle);

    m_rig->clickRow(row);
    m_rig->dialogs.yesNoAnswers.enqueue(true);
    QTest::mouseClick(window->DeleteButton(), Qt::LeftButton);

    QCOMPARE(m_rig->dialogs.yesNoQuestions.size(), 1);
    QVERIFY2(
        m_rig->dialogs.yesNoQuestions.first().endsWith("Delete mynotesfil from Orvantis memory?"),
        qPrintable(m_rig->dialogs.yesNoQuestions.first()));
    QVERIFY(!QFileInfo::exists(stored));
    QCOMPARE(m_rig->rowOf("mynotesfil"), -1);
    QCOMPARE(window->fileCount(), before);
    QVERIFY(!window->TransferBusy());
    QCOMPARE(window->CloseButton()->text(), QString("Close"));
    QVERIFY(m_rig->dialogs.errors.isEmpty());
}

void FilesEndToEnd::deleteSendsNothingUntilYesThenTakesTheBlock()
{
    FileTransferForm *window = openOn({"--fast"});
    QVERIFY(window);
    m_rig->stopPolling();
    QCOMPARE(window->fileCount(), 3);
    const QString first = window->fileNameAt(0);
    const QString second = window->fileNameAt(1);
    window->selectRows(1, 0);
    const qsizetype before = fileBytes(m_heard).size();

    // "No", the default: the block stays selected and nothing is sent.
    QTest::mouseClick(window->DeleteButton(), Qt::LeftButton);
    QCOMPARE(m_rig->dialogs.yesNoQuestions,
             QStringList{"Orvantis Console: Delete 2 files from Orvantis memory?"});
    int top = -1, bottom = -1;
    QVERIFY(window->selectedRows(top, bottom));
    QCOMPARE(QList<int>({top, bottom}), QList<int>({0, 1}));
    QVERIFY2(window->cursor().shape() != Qt::WaitCursor, "the hourglass stayed after No");

    m_rig->dialogs.yesNoAnswers << true;
    QTest::mouseClick(window->DeleteButton(), Qt::LeftButton);
    QTRY_COMPARE(fileBytes(m_heard).mid(before),
                 "Del " + first.toLatin1() + "\rDel " + second.toLatin1() + "\rDir /V\r");
    QVERIFY(!QFileInfo::exists(QDir(m_disk).filePath(first)));
    QVERIFY(!QFileInfo::exists(QDir(m_disk).filePath(second)));
    QCOMPARE(window->fileCount(), 1);
    // Both buttons are offered again, with nothing selected: Delete then says what to do.
    QVERIFY(!window->selectedRows(top, bottom));
    QVERIFY(window->GetFilesButton()->isEnabled() && window->DeleteButton()->isEnabled());
    const qsizetype afterDelete = fileBytes(m_heard).size();
    QTest::mouseClick(window->DeleteButton(), Qt::LeftButton);
    QCOMPARE(
        m_rig->dialogs.errors,
        QStringList{"To delete files from the Orvantis, first select them in the directory list."});
    QCOMPARE(m_rig->dialogs.yesNoQuestions.size(), 2);
    QTest::mouseClick(window->RefreshButton(), Qt::LeftButton);
    QTRY_COMPARE(fileBytes(m_heard).mid(afterDelete), QByteArray("Dir /V\r"));
}

void FilesEndToEnd::missingDownloadFolderIsAskedForFirst()
{
    FileTransferForm *window = openOn({"--fast"});
    QVERIFY(window);
    // The download folder went away after the window showed it.
    QVERIFY(QDir(m_local).removeRecursively());
    const QString other = m_dir.filePath("other");
    QVERIFY(QDir().mkpath(other));
    m_rig->dialogs.pathAnswers << other;
    m_rig->clickRow(m_rig->rowOf("SPECTRA.BIN"));

    QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);

    QCOMPARE(m_rig->dialogs.chooserStarts, QStringList{m_local});
    QCOMPARE(m_rig->dialogs.errors, QStringList());
    QCOMPARE(fileBytes(QDir(other).filePath("SPECTRA.BIN")).size(), kSpectraSize);
    QCOMPARE(window->SavePathLabel()->text(), PathForDisplay(other));
}

void FilesEndToEnd::sizeHeaderSortsBothWays()
{
    FileTransferForm *window = openOn({"--fast"});
    QVERIFY(window);
    m_rig->clickRow(0);
    QVERIFY(window->GetFilesButton()->isEnabled());

    clickHeader(window, 2);
    QVERIFY(window->DirGrid()->horizontalHeaderItem(2)->text().startsWith("Size   ^"));
    for (int row = 1; row < window->fileCount(); ++row)
        QVERIFY(sizeAt(window, row - 1) <= sizeAt(window, row));
    QCOMPARE(window->fileNameAt(window->fileCount() - 1), QString("SPECTRA.BIN"));
    QVERIFY(!window->GetFilesButton()->isEnabled());

    clickHeader(window, 2);
    QVERIFY(window->DirGrid()->horizontalHeaderItem(2)->text().startsWith("Size   v"));
    for (int row = 1; row < window->fileCount(); ++row)
        QVERIFY(sizeAt(window, row - 1) >= sizeAt(window, row));
    QCOMPARE(window->fileNameAt(0), QString("SPECTRA.BIN"));
}

void FilesEndToEnd::threeFileBatchAtEachRate_data()
{
    QTest::addColumn<QString>("rate");
    QTest::newRow("9600") << "9600";
    QTest::newRow("57600") << "57600";
    QTest::newRow("115200") << "115200";
}

void FilesEndToEnd::threeFileBatchAtEachRate()
{
    QFETCH(QString, rate);
    // Three files that each hold every byte value, in different orders and lengths.
    QVERIFY(QDir().mkpath(m_disk));
    const QStringList names{"ALL1.BIN", "ALL2.BIN", "ALL3.BIN"};
    for (int f = 0; f < names.size(); ++f) {
        QByteArray bytes;
        for (int i = 0; i < 256 * (f + 1) + f * 44; ++i)
            bytes.append(char((i * (2 * f + 1) + f) & 0xff));
        QVERIFY(writeFile(QDir(m_disk).filePath(names.at(f)), bytes));
    }
    FileTransferForm *window = openOn({"--baud", rate});
    QVERIFY(window);
    QCOMPARE(m_rig->comm->settings(), rate + ",n,8,1");
    QCOMPARE(window->fileCount(), 3);
    // Selected from the last row up.
    window->selectRows(2, 0);
    QVERIFY(window->GetFilesButton()->isEnabled());

    QTest::mouseClick(window->GetFilesButton(), Qt::LeftButton);

    QVERIFY2(m_rig->dialogs.errors.isEmpty(), qPrintable(m_rig->dialogs.errors.join('\n')));
    for (const QString &name : names) {
        const QByteArray expected = fileBytes(QDir(m_disk).filePath(name));
        QVERIFY(!expected.isEmpty());
        QVERIFY2(fileBytes(QDir(m_local).filePath(name)) == expected, qPrintable(name));
    }
    QCOMPARE(window->CloseButton()->text(), QString("Close"));
    QCOMPARE(m_rig->c().session.Status(), StatusCode::Idle);
}

QTEST_MAIN(FilesEndToEnd)
#include "tst_files_e2e.moc"
