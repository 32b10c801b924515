// The file manager against orvantis-sim over a real pseudo-terminal, through the windows'
// own buttons: the listing, byte-exact batches at each rate, downloads cut short that never
// cost the operator a good local file, an upload under the instrument's name rule and names
// it cannot hold, deletions asked for first, sorting, and a download folder that went away.
#include "support/PathUtilities.h"
#include "testkit/SimRig.h"
#include "ui/files/FileTransferForm.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace
{
QString cell(SimRig &rig, int row, int column)
{
    const QTableWidgetItem *item = rig.grid()->item(row, column);
    return item ? item->text() : QString();
}

// The byte count a download expects for `row`: its hidden size column.
qint64 sizeAt(SimRig &rig, int row)
{
    return cell(rig, row, 5).trimmed().toLongLong();
}

// The file manager's window and the rows the operator has selected, as "first-last".
QString selection(SimRig &rig)
{
    int first = -1, last = -1;
    return rig.c().files.window()->selectedRows(first, last)
               ? QStringLiteral("%1-%2").arg(first).arg(last)
               : QString();
}

// The file manager shows no operation under way.
void verifyIdle(SimRig &rig)
{
    FileTransferForm *window = rig.c().files.window();
    QVERIFY(!window->TransferBusy());
    QVERIFY(buttonCaptioned(window, "Close"));
    QCOMPARE(window->ProgressLabel()->text(), QString());
    QCOMPARE(rig.status(), StatusCode::Idle);
}

enum class Cut { Refused, TimedOut, Stopped, DiskFull };
} // namespace

Q_DECLARE_METATYPE(Cut)

class FilesEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void gridListsSortsAndAsksForAMissingFolder();
    void batchIsByteExact_data();
    void batchIsByteExact();
    void downloadCutShortKeepsTheLocalFile_data();
    void downloadCutShortKeepsTheLocalFile();
    void uploadShowsOnDiskAndInTheGrid();
    void deleteSendsNothingUntilYesThenTakesTheBlock();
    void nameTheInstrumentCannotHoldIsRefusedUnsent_data();
    void nameTheInstrumentCannotHoldIsRefusedUnsent();
};

void FilesEndToEnd::gridListsSortsAndAsksForAMissingFolder()
{
    SimRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    FileTransferForm *window = rig.openFiles();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Files in Orvantis Memory"));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(coveredControls(window), QStringList());
    QVERIFY2(rig.grid(), "no file list named DirGrid");
    const QFileInfoList files = QDir(rig.disk()).entryInfoList(QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 3);
    QCOMPARE(rig.grid()->rowCount(), 3);
    for (const QFileInfo &file : files) {
        const int row = rig.rowOf(file.fileName());
        QVERIFY2(row >= 0, qPrintable(file.fileName()));
        QCOMPARE(cell(rig, row, 1), file.lastModified().toString("MM-dd-yy HH:mm"));
        QCOMPARE(cell(rig, row, 2), QLocale(QLocale::English).toString(file.size()));
        QCOMPARE(cell(rig, row, 3), file.suffix());
        QCOMPARE(sizeAt(rig, row), file.size());
    }
    // Loaded sorted by date, oldest first, nothing selected.
    for (int row = 1; row < 3; ++row)
        QVERIFY(cell(rig, row - 1, 4).toDouble() <= cell(rig, row, 4).toDouble());
    QCOMPARE(selection(rig), QString());
    QVERIFY(!buttonCaptioned(window, "Get Files")->isEnabled());
    // A click on the size header sorts by size, then back; either drops the selection.
    rig.clickRow(0);
    const auto sizes = [&] {
        return QList<qint64>{sizeAt(rig, 0), sizeAt(rig, 1), sizeAt(rig, 2)};
    };
    QList<qint64> ascending = sizes();
    std::sort(ascending.begin(), ascending.end());
    const QList<qint64> descending(ascending.rbegin(), ascending.rend());
    QHeaderView *header = rig.grid()->horizontalHeader();
    const QPoint size(header->sectionViewportPosition(2) + header->sectionSize(2) / 2,
                      header->height() / 2);
    for (const QString mark : {"^", "v"}) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, size);
        QCOMPARE(rig.grid()->horizontalHeaderItem(2)->text().left(8), "Size   " + mark);
        QCOMPARE(sizes(), mark == "^" ? ascending : descending);
        QCOMPARE(selection(rig), QString());
        QVERIFY(!buttonCaptioned(window, "Get Files")->isEnabled());
    }
    // The download folder went away after the window showed it: another is asked for first.
    QVERIFY(QDir(rig.local()).removeRecursively());
    const QString other = rig.path("other");
    QVERIFY(QDir().mkpath(other));
    rig.dialogs.pathAnswers << other;
    rig.select("SPECTRA.BIN");
    rig.clickFiles("Get Files");
    QCOMPARE(rig.dialogs.chooserStarts, QStringList{rig.local()});
    QCOMPARE(rig.dialogs.errors, QStringList());
    QVERIFY(fileBytes(QDir(other).filePath("SPECTRA.BIN")) == everyByteValue(102400));
    QCOMPARE(window->SavePathLabel()->text(), PathForDisplay(other));
}

void FilesEndToEnd::batchIsByteExact_data()
{
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<QByteArray>>("contents");
    // Three files that each hold every byte value, in different orders and lengths.
    QList<QByteArray> everyValue;
    for (int f = 0; f < 3; ++f) {
        QByteArray bytes;
        for (int i = 0; i < 256 * (f + 1) + f * 44; ++i)
            bytes.append(char((i * (2 * f + 1) + f) & 0xff));
        everyValue << bytes;
    }
    const QStringList all{"ALL1.BIN", "ALL2.BIN", "ALL3.BIN"};
    for (const char *rate : {"9600", "57600", "115200"})
        QTest::newRow(rate) << QString(rate) << all << everyValue;
    // The first file's bytes could be the start of "File not found: FIRST.TXT".
    QTest::newRow("an empty file among them")
        << "115200" << QStringList{"FIRST.TXT", "EMPTY.TXT", "LAST.BIN"}
        << QList<QByteArray>{"File list\r\n", QByteArray(), everyByteValue(700)};
}

void FilesEndToEnd::batchIsByteExact()
{
    QFETCH(QString, rate);
    QFETCH(QStringList, names);
    QFETCH(QList<QByteArray>, contents);
    // At the line rate.
    SimRig rig(RigOptions({"--baud", rate}));
    QVERIFY(QDir().mkpath(rig.disk()));
    for (int f = 0; f < 3; ++f)
        QVERIFY(writeFile(rig.disk(names.at(f)), contents.at(f), 30 - 10 * f));
    // An older, longer local copy of the second is replaced.
    QVERIFY(writeFile(rig.local(names.at(1)), QByteArray(200000, 'o')));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QCOMPARE(rig.comm->settings(), rate + ",n,8,1");
    QVERIFY(rig.openFiles());
    QCOMPARE(rig.rowOf(names.at(1)), 1);
    // Selected from the last row up.
    rig.clickRow(2);
    rig.clickRow(0, Qt::ShiftModifier);
    QCOMPARE(selection(rig), QString("0-2"));
    rig.clickFiles("Get Files");
    QCOMPARE(rig.dialogs.errors, QStringList());
    for (int f = 0; f < 3; ++f)
        QVERIFY2(fileBytes(rig.local(names.at(f))) == contents.at(f), qPrintable(names.at(f)));
    QCOMPARE(QDir(rig.local()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    verifyIdle(rig);
    QCOMPARE(selection(rig), QString());
    QVERIFY(!probe::dataFile(rig.session()).isOpen());
}

void FilesEndToEnd::downloadCutShortKeepsTheLocalFile_data()
{
    QTest::addColumn<Cut>("cut");
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("listedSize");
    QTest::addColumn<bool>("olderCopy");
    // How many of the file's bytes came, and the first line of what the operator is told.
    QTest::addColumn<int>("arrived");
    QTest::addColumn<QString>("told");
    const QString refused("There was an error getting the file %1. The Orvantis answered: \"%2\"");
    const QStringList stall{"--fast", "--stall-type-after", "3000"};
    const QString timedOut("Transfer of \"SPECTRA.BIN\" timed out.");
    const QString cancelled("Transfer cancelled.");
    // clang-format off
    // The instrument's words are its own: only the shape of its answer tells a refusal.
    QTest::newRow("refused in plain words") << Cut::Refused << QStringList{"--fast", "--refusal-wording", "plain"} << "DATA.BIN" << 2000 << true << 0 << refused.arg("DATA.BIN", "File not found: DATA.BIN");
    QTest::newRow("refused as an error number") << Cut::Refused << QStringList{"--fast", "--refusal-wording", "numbered"} << "DATA.BIN" << 2000 << true << 0 << refused.arg("DATA.BIN", "Error 2: no such file");
    QTest::newRow("refused tersely") << Cut::Refused << QStringList{"--fast", "--refusal-wording", "terse"} << "DATA.BIN" << 2000 << false << 0 << refused.arg("DATA.BIN", "?DATA.BIN");
    QTest::newRow("refused, listed shorter than the answer") << Cut::Refused << QStringList{"--fast"} << "AB.TXT" << 3 << false << 0 << refused.arg("AB.TXT", "File not found: AB.TXT");
    QTest::newRow("Stop before the first byte") << Cut::Stopped << QStringList{"--fast", "--stall-type-after", "0"} << "DATA.BIN" << 2000 << true << 0 << cancelled;
    QTest::newRow("timed out, no older copy") << Cut::TimedOut << stall << "SPECTRA.BIN" << 0 << false << 3000 << timedOut;
    QTest::newRow("timed out beside an older copy") << Cut::TimedOut << stall << "SPECTRA.BIN" << 0 << true << 3000 << timedOut;
    QTest::newRow("stopped, no older copy") << Cut::Stopped << stall << "SPECTRA.BIN" << 0 << false << 3000 << cancelled;
    QTest::newRow("stopped beside an older copy") << Cut::Stopped << stall << "SPECTRA.BIN" << 0 << true << 3000 << cancelled;
    QTest::newRow("disk full, no older copy") << Cut::DiskFull << stall << "SPECTRA.BIN" << 0 << false << 1000 << "Error 61; File too large (the file size limit is reached).";
    QTest::newRow("disk full beside an older copy") << Cut::DiskFull << stall << "SPECTRA.BIN" << 0 << true << 1000 << "Error 61; File too large (the file size limit is reached).";
    // clang-format on
}

void FilesEndToEnd::downloadCutShortKeepsTheLocalFile()
{
    QFETCH(Cut, cut);
    QFETCH(QStringList, simulator);
    QFETCH(QString, name);
    QFETCH(int, listedSize);
    QFETCH(bool, olderCopy);
    QFETCH(int, arrived);
    QFETCH(QString, told);
    SimRig rig(simulator);
    // A file of the simulator's own (listedSize 0) or one listed at `listedSize` that is
    // gone by the time it is asked for.
    QVERIFY(QDir().mkpath(rig.disk()));
    const QByteArray whole = listedSize ? everyByteValue(listedSize) : everyByteValue(102400);
    QVERIFY(writeFile(rig.disk(name), whole));
    const QByteArray older("an older, good copy\n");
    if (olderCopy)
        QVERIFY(writeFile(rig.local(name), older));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QVERIFY(rig.openFiles());
    const int row = rig.rowOf(name);
    rig.clickRow(row);
    if (cut == Cut::Refused)
        QVERIFY(QFile::remove(rig.disk(name))); // the listing is stale now
    std::unique_ptr<FileSizeLimit> sizeLimit;
    if (cut == Cut::DiskFull) {
        sizeLimit = std::make_unique<FileSizeLimit>(rlim_t(1000));
        QVERIFY(sizeLimit->isSet());
    }
    // Once the stall shows: the clock jumps past the ten silent seconds, or Stop.
    rig.when(
        [&] {
            return arrived == 0 ? probe::capturing(rig.session())
                                : probe::byteCount(rig.session()) == 3000 &&
                                      probe::silence(rig.session()) > 0.5f;
        },
        [&] {
            Clock &clock = probe::clock(rig.session());
            if (cut == Cut::TimedOut)
                clock.setTimeOfDay(clock.timeOfDay() + 11.0);
            else if (cut != Cut::Refused)
                rig.clickFiles("Stop");
        });
    rig.clickFiles("Get Files");
    sizeLimit.reset();
    QTRY_COMPARE(rig.dialogs.errors.size(), 1);
    const QString message = rig.dialogs.errors.first();
    QCOMPARE(message.section('\n', 0, 0), told);
    // Nothing came: the local file as it was (or still none), nothing beside it. Some bytes
    // came: under the name where there was none, beside the older copy otherwise, and where
    // the disk refused them when it was full, and the message says where.
    const bool beside = arrived > 0 && (olderCopy || cut == Cut::DiskFull);
    QStringList expected;
    if (olderCopy || (arrived > 0 && !beside))
        expected << name;
    if (beside)
        expected << name + ".part";
    QCOMPARE(QDir(rig.local()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    if (olderCopy)
        QCOMPARE(fileBytes(rig.local(name)), older);
    if (arrived > 0)
        QCOMPARE(fileBytes(rig.local(beside ? name + ".part" : name)), whole.left(arrived));
    QCOMPARE(message.contains(QDir::toNativeSeparators(rig.local(name + ".part"))), beside);
    if (cut != Cut::DiskFull)
        QCOMPARE(message.contains('\n'), beside);
    verifyIdle(rig);
    QVERIFY(!probe::dataFile(rig.session()).isOpen());
    if (arrived == 0)
        return;
    // The batch ended with the file still selected, so it can be fetched again; the three
    // ETX (or the stall's own end) left the instrument at its prompt.
    QCOMPARE(selection(rig), QStringLiteral("%1-%1").arg(row));
    QVERIFY(buttonCaptioned(rig.c().files.window(), "Get Files")->isEnabled());
    if (cut != Cut::DiskFull) {
        rig.clickFiles("Refresh");
        QCOMPARE(rig.grid()->rowCount(), 1);
    }
}

void FilesEndToEnd::uploadShowsOnDiskAndInTheGrid()
{
    SimRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QVERIFY(rig.openFiles());
    const QString local = rig.local("my notes file.txt");
    QVERIFY(writeFile(local, "first line\nsecond, with a comma\r\nthird\n"));
    rig.dialogs.pathAnswers.enqueue(local);
    rig.clickFiles("Send File...");
    // The next chooser opens where this file was.
    rig.clickFiles("Send File...");
    QCOMPARE(rig.dialogs.chooserStarts.size(), 2);
    QCOMPARE(rig.dialogs.chooserStarts.last(), AddBackslash(rig.local()));
    // The first 12 characters of its name, spaces removed.
    const QString stored = rig.disk("mynotesfil");
    QCOMPARE(fileBytes(stored), QByteArray("first line\r\nsecond, with a comma\r\nthird\r\n"));
    QCOMPARE(rig.grid()->rowCount(), 4);
    const int row = rig.rowOf("mynotesfil");
    QVERIFY(row >= 0);
    QCOMPARE(sizeAt(rig, row), QFileInfo(stored).size());
    verifyIdle(rig);
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void FilesEndToEnd::deleteSendsNothingUntilYesThenTakesTheBlock()
{
    SimRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    FileTransferForm *window = rig.openFiles();
    QVERIFY(window);
    const QString first = cell(rig, 0, 0).trimmed();
    const QString second = cell(rig, 1, 0).trimmed();
    rig.clickRow(1);
    QTRY_VERIFY(rig.heard().endsWith("Dir /V\r"));
    const qsizetype before = rig.heard().size();
    // "No", the default, to one file and to a block: the block stays selected, nothing sent.
    rig.clickFiles("Delete Files");
    rig.clickRow(0, Qt::ShiftModifier);
    rig.clickFiles("Delete Files");
    QCOMPARE(rig.dialogs.yesNoQuestions,
             (QStringList{"Orvantis Console: Delete " + second + " from Orvantis memory?",
                          "Orvantis Console: Delete 2 files from Orvantis memory?"}));
    QCOMPARE(selection(rig), QString("0-1"));
    QVERIFY2(window->cursor().shape() != Qt::WaitCursor, "the hourglass stayed after No");
    QCOMPARE(rig.heardSince(before), QByteArray());
    rig.dialogs.yesNoAnswers << true;
    rig.clickFiles("Delete Files");
    QTRY_COMPARE(rig.heardSince(before),
                 "Del " + first.toLatin1() + "\rDel " + second.toLatin1() + "\rDir /V\r");
    QVERIFY(!QFileInfo::exists(rig.disk(first)) && !QFileInfo::exists(rig.disk(second)));
    QCOMPARE(rig.grid()->rowCount(), 1);
    // Both buttons are offered again, with nothing selected: Delete then says what to do.
    QCOMPARE(selection(rig), QString());
    QVERIFY(buttonCaptioned(window, "Get Files")->isEnabled());
    const qsizetype afterDelete = rig.heard().size();
    rig.clickFiles("Delete Files");
    QCOMPARE(
        rig.dialogs.errors,
        QStringList{"To delete files from the Orvantis, first select them in the directory list."});
    QCOMPARE(rig.dialogs.yesNoQuestions.size(), 3);
    rig.clickFiles("Refresh");
    QTRY_COMPARE(rig.heardSince(afterDelete), QByteArray("Dir /V\r"));
}

void FilesEndToEnd::nameTheInstrumentCannotHoldIsRefusedUnsent_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("problem");
    // clang-format off
    QTest::newRow("accented letter") << QString::fromUtf8("Ärger.txt") << QString::fromUtf8("\"Ä\"");
    QTest::newRow("question mark") << "why?.txt" << "\"?\"";
    QTest::newRow("nothing left but blanks") << "            x.txt" << "empty";
    // clang-format on
}

void FilesEndToEnd::nameTheInstrumentCannotHoldIsRefusedUnsent()
{
    QFETCH(QString, file);
    QFETCH(QString, problem);
    SimRig rig;
    QVERIFY(QDir().mkpath(rig.disk()));
    QVERIFY(writeFile(rig.disk("KEEP.BIN"), "keep"));
    // Run as commands, its lines would delete the instrument's file.
    QVERIFY(writeFile(rig.local(file), "Del KEEP.BIN\r\nDel KEEP.BIN\r\n"));
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    QVERIFY(rig.openFiles());
    QTRY_VERIFY(rig.heard().endsWith("Dir /V\r"));
    const QByteArray heard = rig.heard();
    rig.dialogs.pathAnswers.enqueue(rig.local(file));
    rig.clickFiles("Send File...");
    QCOMPARE(rig.dialogs.errors.size(), 1);
    const QString error = rig.dialogs.errors.first();
    QVERIFY2(error.startsWith("The file " + file + " was not sent: ") && error.contains(problem) &&
                 error.contains("Rename the file"),
             qPrintable(error));
    // Nothing reached the instrument, not even a refresh: the next it hears is a status query.
    QVERIFY(!rig.line().SendCommand("st\r", "st:", "\r", 2).isEmpty());
    QTRY_COMPARE(rig.heard(), heard + "st\r");
    QCOMPARE(fileBytes(rig.disk("KEEP.BIN")), QByteArray("keep"));
}

QTEST_MAIN(FilesEndToEnd)
#include "tst_files_e2e.moc"
