#include "SimEngine.h"
#include "SimFileCommands.h"
#include "testkit/SimEngineChecks.h"
#include "testkit/SimOutputTimeline.h"

#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

// The simulator's flash disk and its commands, run on the engine's own clock.

using namespace sim_checks;

class TestSimFileCommands : public QObject
{
    Q_OBJECT
private slots:
    void listingRowsKeepTheirColumns_data();
    void listingRowsKeepTheirColumns();
    void listingShowsTheDiskAndItsFreeSpace();
    void typeSendsTheExactBytesAfterTheDelay_data();
    void typeSendsTheExactBytesAfterTheDelay();
    void captureWritesTheFileAtCtrlZ();
    void captureRefusesANameTheDiskCannotHold_data();
    void captureRefusesANameTheDiskCannotHold();
    void delRemovesAFile();
    void typeStreamFaults_data();
    void typeStreamFaults();
    void oddListingStillFramesAsAListing();
    void diskFolderHoldsTheFiles();
};

void TestSimFileCommands::listingRowsKeepTheirColumns_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QDateTime>("modified");
    QTest::addColumn<QByteArray>("row");
    QTest::newRow("example") << QByteArray("DATA0001.RAW") << qint64(1234567)
                             << QDateTime(QDate(2009, 12, 4), QTime(14, 35))
                             << QByteArray("DATA0001.RAW      1,234,567 12-04-09 14:35");
    QTest::newRow("short, empty") << QByteArray("A.TXT") << qint64(0)
                                  << QDateTime(QDate(2024, 1, 2), QTime(3, 4))
                                  << QByteArray("A.TXT                     0 01-02-24 03:04");
    QTest::newRow("no separator yet")
        << QByteArray("NOTES") << qint64(999) << QDateTime(QDate(1999, 7, 30), QTime(23, 59))
        << QByteArray("NOTES                   999 07-30-99 23:59");
    QTest::newRow("first separator")
        << QByteArray("B.DAT") << qint64(1000) << QDateTime(QDate(2024, 5, 14), QTime(0, 0))
        << QByteArray("B.DAT                 1,000 05-14-24 00:00");
    QTest::newRow("widest size") << QByteArray("HUGE.BIN") << qint64(1234567890)
                                 << QDateTime(QDate(2024, 5, 14), QTime(9, 5))
                                 << QByteArray("HUGE.BIN      1,234,567,890 05-14-24 09:05");
}

void TestSimFileCommands::listingRowsKeepTheirColumns()
{
    QFETCH(QByteArray, name);
    QFETCH(qint64, size);
    QFETCH(QDateTime, modified);
    QFETCH(QByteArray, row);
    QCOMPARE(SimFileCommands::listingRow({name, size, modified}), row);
    // As the console reads it: name 1-12, size 13-27 (digits from 15), date from 29.
    QCOMPARE(row.mid(0, 12).trimmed(), name);
    QCOMPARE(row.mid(14, 13).trimmed().replace(",", ""), QByteArray::number(size));
    QCOMPARE(row.at(27), ' ');
    QCOMPARE(row.mid(28), modified.toString("MM-dd-yy HH:mm").toLatin1());
}

void TestSimFileCommands::listingShowsTheDiskAndItsFreeSpace()
{
    SimEngine engine; // the demonstration files
    engine.feed("Dir /V\r");
    const QByteArray out = engine.takeOutput();
    QVERIFY(out.startsWith("Dir /V\r\nDirectory of A:\r\n"));
    QVERIFY(out.endsWith(kPrompt));
    QCOMPARE(out.indexOf('>'), out.size() - 1);

    const QList<QByteArray> lines = out.split('\n');
    QList<QByteArray> rows;
    QByteArray freeLine;
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.contains("free"))
            freeLine = line;
        else if (line.size() >= 41 && !line.contains("Directory"))
            rows.append(line);
    }
    QCOMPARE(rows.size(), 3);
    QByteArray names;
    for (const QByteArray &row : rows)
        names += row.left(12).trimmed() + ' ';
    QCOMPARE(names, QByteArray("README.TXT SETUP.INI SPECTRA.BIN "));
    QCOMPARE(rows.last().mid(12, 15), QByteArray("        102,400"));
    QVERIFY(freeLine.contains(SimFileCommands::withSeparators(engine.disk().freeBytes())));
    QVERIFY(engine.disk().usedBytes() > 102400);
    QCOMPARE(engine.disk().freeBytes(), engine.disk().capacity() - engine.disk().usedBytes());

    // Every byte value is in the binary file.
    QByteArray binary = fileOf(engine, "spectra.bin");
    std::sort(binary.begin(), binary.end());
    QCOMPARE(std::unique(binary.begin(), binary.end()) - binary.begin(), 256);
}

void TestSimFileCommands::typeSendsTheExactBytesAfterTheDelay_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<bool>("fast");
    QTest::newRow("115200") << 115200 << false;
    QTest::newRow("9600") << 9600 << false;
    QTest::newRow("fast") << 9600 << true;
}

void TestSimFileCommands::typeSendsTheExactBytesAfterTheDelay()
{
    QFETCH(int, baud);
    QFETCH(bool, fast);
    SimOptions options;
    options.baudRate = baud;
    options.fastTransfers = fast;
    SimEngine engine(options);
    const QByteArray file = fileOf(engine, "SPECTRA.BIN");
    const QByteArray echo("type SPECTRA.BIN 0 0 300\r\n");

    engine.feed("type SPECTRA.BIN 0 0 300\r");
    QCOMPARE(engine.takeOutput(), echo);
    engine.advance(299);
    QVERIFY(engine.takeOutput().isEmpty());
    const SimOutputTimeline pieces = SimOutputTimeline::run(engine, 300 + 200000);
    const QByteArray out = pieces.text();
    QCOMPARE(out.size(), file.size() + kPrompt.size());
    QVERIFY(out.left(file.size()) == file);
    QVERIFY(out.endsWith(kPrompt));
    QCOMPARE(pieces.firstMs(), 300);

    // At the line rate: rate / 10 bytes a second.
    const qint64 took = pieces.timeOfByte(file.size() - 1) - 300;
    const qint64 lineMs = qint64(file.size()) * 10000 / baud;
    if (fast)
        QCOMPARE(took, 0);
    else
        QVERIFY2(took >= lineMs * 95 / 100 && took <= lineMs * 105 / 100,
                 qPrintable(QString::number(took)));

    // Part of a file, and a file that is not there.
    engine.feed("type spectra.bin 256 10 0\r");
    QCOMPARE(SimOutputTimeline::run(engine, engine.now() + 1000).text(),
             "type spectra.bin 256 10 0\r\n" + file.mid(256, 10) + kPrompt);
    engine.feed("type NOSUCH.BIN 0 0 300\r");
    QCOMPARE(engine.takeOutput(),
             "type NOSUCH.BIN 0 0 300\r\nFile not found: NOSUCH.BIN\r\n" + kPrompt);
}

void TestSimFileCommands::captureWritesTheFileAtCtrlZ()
{
    SimEngine engine(quietDisk());
    engine.setNow(3600000);
    engine.feed("capture mynotesfile\r");
    QCOMPARE(engine.takeOutput(), QByteArray("capture mynotesfile\r\nCapture>"));
    QByteArray out;
    for (const QByteArray line : {"A", "B", "", "C,>x"}) {
        engine.feed(line + '\r');
        out = engine.takeOutput();
        QCOMPARE(out, line + "\r\nCapture>");
    }
    QVERIFY(!engine.disk().contains("mynotesfile"));
    // The console's two Ctrl-Z: the first ends the capture, the second meets the prompt.
    engine.feed("\x1a");
    QCOMPARE(engine.takeOutput(), "\r\n" + kPrompt);
    engine.feed("\x1a");
    QCOMPARE(engine.takeOutput(), "\r\n" + kPrompt);
    QCOMPARE(fileOf(engine, "MYNOTESFILE"), QByteArray("A\r\nB\r\n\r\nC,>x\r\n"));
    QCOMPARE(engine.disk().entries().first().modified, engine.options().clockStart.addSecs(3600));

    // Capturing again replaces the file; an empty capture leaves an empty file.
    engine.feed("capture MYNOTESFILE\r\x1a");
    QCOMPARE(fileOf(engine, "mynotesfile"), QByteArray());
    QCOMPARE(engine.disk().entries().size(), 1);

    // ETX abandons a capture: no file, and commands are taken again.
    engine.takeOutput();
    engine.feed("capture LOST\rhalf\r\x03");
    engine.feed("\x1a");
    QVERIFY(!engine.disk().contains("LOST"));
    engine.feed("st\r");
    QVERIFY(engine.takeOutput().contains("st:"));
}

void TestSimFileCommands::captureRefusesANameTheDiskCannotHold_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("13 characters") << QByteArray("ABCDEFGH.TEXT");
    QTest::newRow("not ASCII") << QByteArray("CAF\xc9.TXT");
    for (char c : QByteArray("?:*<>|\","))
        QTest::addRow("%c", c) << "A" + QByteArray(1, c) + "B.TXT";
}

void TestSimFileCommands::captureRefusesANameTheDiskCannotHold()
{
    QFETCH(QByteArray, name);
    const QByteArray complaint = name.isEmpty() ? "Bad file name" : "Bad file name: " + name;
    SimEngine engine(quietDisk());
    // No capture mode: the line meant for the file is a command.
    engine.feed("capture " + name + "\rlpower,0\r");
    QCOMPARE(engine.takeOutput(),
             "capture " + name + "\r\n" + complaint + "\r\n" + kPrompt + "lpower,0\r\n" + kPrompt);
    QVERIFY(!engine.status().lightOn());
    QVERIFY(engine.disk().entries().isEmpty());
}

void TestSimFileCommands::delRemovesAFile()
{
    SimEngine engine;
    engine.feed("Del README.TXT\r");
    QCOMPARE(engine.takeOutput(), "Del README.TXT\r\n" + kPrompt);
    QVERIFY(!engine.disk().contains("README.TXT"));
    engine.feed("Dir /V\r");
    const QByteArray listing = engine.takeOutput();
    QVERIFY(!listing.contains("README"));
    QVERIFY(listing.contains("SETUP.INI"));
    engine.feed("Del README.TXT\r");
    QCOMPARE(engine.takeOutput(), "Del README.TXT\r\nFile not found: README.TXT\r\n" + kPrompt);
}

void TestSimFileCommands::typeStreamFaults_data()
{
    QTest::addColumn<bool>("hangUp");
    QTest::addColumn<qint64>("after");
    QTest::newRow("stall") << false << qint64(1000);
    QTest::newRow("stall at once") << false << qint64(0);
    QTest::newRow("hang up") << true << qint64(500);
}

void TestSimFileCommands::typeStreamFaults()
{
    QFETCH(bool, hangUp);
    QFETCH(qint64, after);
    SimOptions options;
    (hangUp ? options.hangupTypeAfter : options.stallTypeAfter) = after;
    SimEngine engine(options);
    const QByteArray file = fileOf(engine, "SPECTRA.BIN");
    engine.feed("type SPECTRA.BIN 0 0 300\r");
    const QByteArray out = SimOutputTimeline::run(engine, 600000).text();
    QCOMPARE(out, "type SPECTRA.BIN 0 0 300\r\n" + file.left(after));
    QVERIFY(engine.isBusy());
    QCOMPARE(engine.hangUpRequested(), hangUp);

    // A short file ends before the cut and is whole.
    engine.feed("\x03\x03\x03");
    engine.takeOutput();
    if (after > 0) {
        engine.feed("type README.TXT 0 0 0\r");
        QVERIFY(SimOutputTimeline::run(engine, 700000)
                    .text()
                    .endsWith(fileOf(engine, "README.TXT") + kPrompt));
    }
}

void TestSimFileCommands::oddListingStillFramesAsAListing()
{
    SimEngine engine;
    engine.feed("Dir /V\r");
    const QByteArray plain = engine.takeOutput();
    engine.options().oddListing = true;
    engine.feed("Dir /V\r");
    const QByteArray odd = engine.takeOutput();
    QVERIFY(odd.size() > plain.size());
    QVERIFY(odd.contains("Volume"));
    QVERIFY(odd.contains('\t'));
    // Still one listing: its header, every file row, the free line, the only ">" last.
    QVERIFY(odd.startsWith("Dir /V\r\nDirectory of A:\r\n"));
    QCOMPARE(odd.indexOf('>'), odd.size() - 1);
    QCOMPARE(odd.count("free"), 1);
    for (const SimDiskEntry &entry : engine.disk().entries())
        QVERIFY(odd.contains(SimFileCommands::listingRow(entry) + "\r\n"));
}

void TestSimFileCommands::diskFolderHoldsTheFiles()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    SimOptions options;
    options.diskFolder = folder.filePath("flash");
    {
        SimEngine engine(options);
        QVERIFY(engine.disk().isUsable());
        QCOMPARE(engine.disk().entries().size(), 3); // an empty folder gets the demo files
        engine.feed("capture KEEP.TXT\rkept\r\x1a");
        engine.feed("Del SETUP.INI\r");
    }
    QFile dropped(folder.filePath("flash/DROPPED.DAT"));
    QVERIFY(dropped.open(QIODevice::WriteOnly));
    dropped.write("12345");
    dropped.close();

    SimEngine engine(options);
    QCOMPARE(fileOf(engine, "keep.txt"), QByteArray("kept\r\n"));
    QVERIFY(!engine.disk().contains("SETUP.INI"));
    QVERIFY(engine.disk().contains("README.TXT"));
    engine.feed("type DROPPED.DAT 0 0 0\r");
    QVERIFY(SimOutputTimeline::run(engine, 1000).text().endsWith("12345" + kPrompt));
}

QTEST_GUILESS_MAIN(TestSimFileCommands)
#include "tst_SimFileCommands.moc"
