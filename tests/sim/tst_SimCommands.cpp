#include "SimEngine.h"
#include "SimFileCommands.h"

#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

// The simulator's sampling, cal check and flash-disk commands, run on the engine's own
// clock: every time below is engine time, moved on explicitly.

namespace
{

const QByteArray kPrompt("Orvantis>");

struct Piece {
    qint64 ms;
    QByteArray bytes;
};

// What the engine sends until `untilMs`, piece by piece with the time each left.
QList<Piece> runTo(SimEngine &engine, qint64 untilMs)
{
    QList<Piece> out;
    const QByteArray already = engine.takeOutput();
    if (!already.isEmpty())
        out.append({engine.now(), already});
    for (qint64 due = engine.nextDueMs(); due >= 0 && due <= untilMs; due = engine.nextDueMs()) {
        engine.setNow(due);
        const QByteArray bytes = engine.takeOutput();
        if (!bytes.isEmpty())
            out.append({engine.now(), bytes});
    }
    engine.setNow(untilMs);
    const QByteArray rest = engine.takeOutput();
    if (!rest.isEmpty())
        out.append({engine.now(), rest});
    return out;
}

QByteArray joined(const QList<Piece> &pieces)
{
    QByteArray out;
    for (const Piece &p : pieces)
        out += p.bytes;
    return out;
}

// Engine time at which the byte at `offset` of the joined output left; -1 past the end.
qint64 timeOfByte(const QList<Piece> &pieces, qsizetype offset)
{
    for (const Piece &p : pieces) {
        if (offset < p.bytes.size())
            return p.ms;
        offset -= p.bytes.size();
    }
    return -1;
}

SimOptions quietDisk()
{
    SimOptions options;
    options.seedDisk = false;
    return options;
}

QByteArray fileOf(SimEngine &engine, const QByteArray &name)
{
    QByteArray bytes;
    return engine.disk().read(name, &bytes) ? bytes : QByteArray("<missing>");
}

double meanOfNumbers(const QByteArray &text)
{
    double sum = 0;
    int count = 0;
    for (const QByteArray &word : text.simplified().split(' ')) {
        bool ok = false;
        const int value = word.toInt(&ok);
        if (ok) {
            sum += value;
            ++count;
        }
    }
    return count ? sum / count : 0;
}

} // namespace

class TestSimCommands : public QObject
{
    Q_OBJECT
private slots:
    void acquireSendsAndStoresAsAsked_data();
    void acquireSendsAndStoresAsAsked();
    void periodicSamplesComeEveryPeriodUntilEtx();
    void calCheckCommandsCountUpOverTime();
    void darkSetDiffersFromLightSet();
    void listingRowsKeepTheirColumns_data();
    void listingRowsKeepTheirColumns();
    void listingShowsTheDiskAndItsFreeSpace();
    void typeSendsTheExactBytesAfterTheDelay_data();
    void typeSendsTheExactBytesAfterTheDelay();
    void captureWritesTheFileAtCtrlZ();
    void delRemovesAFile();
    void typeStreamFaults_data();
    void typeStreamFaults();
    void oddListingStillFramesAsAListing();
    void diskFolderHoldsTheFiles();
};

void TestSimCommands::acquireSendsAndStoresAsAsked_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QByteArray>("stored"); // empty: nothing stored
    QTest::addColumn<int>("spectra");
    QTest::newRow("send only") << QByteArray("Acquire auto,1,1,\"\",0,-1,2") << true << QByteArray()
                               << 1;
    QTest::newRow("store only") << QByteArray("Acquire auto,10,1,SAMPLE1,0,-1,1") << false
                                << QByteArray("SAMPLE1.RAW") << 10;
    QTest::newRow("both") << QByteArray("Acquire auto,25,1,RUN,0,-1,4") << true
                          << QByteArray("RUN.RAW") << 25;
    QTest::newRow("neither") << QByteArray("Acquire auto,1,1,\"\",0,-1") << false << QByteArray()
                             << 1;
    QTest::newRow("empty name") << QByteArray("Acquire auto,1,1,,0,-1,4") << true
                                << QByteArray("SAMPLE.RAW") << 1;
}

void TestSimCommands::acquireSendsAndStoresAsAsked()
{
    QFETCH(QByteArray, command);
    QFETCH(bool, sent);
    QFETCH(QByteArray, stored);
    QFETCH(int, spectra);
    SimEngine engine(quietDisk());
    engine.feed(command + '\r');
    const QList<Piece> pieces = runTo(engine, 60000);
    const QByteArray out = joined(pieces);

    const QByteArray echo = command + "\r\n";
    QVERIFY(out.startsWith(echo));
    QVERIFY(out.endsWith(kPrompt));
    // The sample must not end a reply framed up to ">" early.
    QCOMPARE(out.indexOf('>'), out.size() - 1);
    // The prompt comes once the spectra are taken.
    QCOMPARE(timeOfByte(pieces, out.size() - 1), qint64(spectra) * engine.options().spectrumMs);

    const QByteArray sample = out.mid(echo.size(), out.size() - echo.size() - kPrompt.size());
    QCOMPARE(sample.startsWith("sample,1,05-14-24 09:30:"), sent);
    if (sent)
        QCOMPARE(sample.count("\r\n"), 1 + 512 / 16);
    else
        QVERIFY(sample.isEmpty());

    const QList<SimDiskEntry> files = engine.disk().entries();
    QCOMPARE(files.size(), stored.isEmpty() ? 0 : 1);
    if (!stored.isEmpty()) {
        QCOMPARE(files.first().name, stored);
        QVERIFY(fileOf(engine, stored).startsWith("sample,1,"));
        if (sent)
            QCOMPARE(fileOf(engine, stored), sample);
    }

    // A bad count is refused, with the prompt as ever.
    const QByteArray refused =
        (engine.feed("Acquire auto,abc,1,\"\",0,-1,2\r"), engine.takeOutput());
    QVERIFY(refused.contains("Bad argument"));
    QVERIFY(refused.endsWith(kPrompt));
}

void TestSimCommands::periodicSamplesComeEveryPeriodUntilEtx()
{
    SimEngine engine(quietDisk());
    const QByteArray command("start 10 Acquire auto,1,1,STORE,0,-1,4");
    engine.feed(command + '\r');
    QList<Piece> pieces = runTo(engine, 35000);
    QByteArray out = joined(pieces);
    QVERIFY(out.startsWith(command + "\r\n"));

    // Samples at 0, 10, 20 and 30 s, each one sample followed by the prompt.
    QCOMPARE(out.count("sample,"), 4);
    QCOMPARE(out.count(kPrompt), 4);
    for (int n = 1; n <= 4; ++n) {
        const qsizetype at = out.indexOf("sample," + QByteArray::number(n) + ',');
        QVERIFY(at > 0);
        QCOMPARE(timeOfByte(pieces, at), (n - 1) * 10000 + engine.options().spectrumMs);
        const qsizetype prompt = out.indexOf(kPrompt, at);
        QCOMPARE(out.indexOf('>', at), prompt + kPrompt.size() - 1);
        QCOMPARE(out.indexOf("sample,", at + 1) < 0 ? out.size() : out.indexOf("sample,", at + 1),
                 prompt + kPrompt.size());
    }
    QCOMPARE(fileOf(engine, "STORE.RAW").count("sample,"), 4);
    // Commands are not taken while sampling.
    engine.feed("st\r");
    QVERIFY(!joined(runTo(engine, 36000)).contains("st:"));

    // Three ETX: one prompt, and the sampling is over.
    engine.feed("\x03\x03\x03");
    QCOMPARE(engine.takeOutput(), "\r\n" + kPrompt);
    QVERIFY(!engine.isBusy());
    QVERIFY(joined(runTo(engine, 100000)).isEmpty());

    // A period shorter than the spectra take: the next begins when the last one ends.
    engine.feed("start 0.01 Acquire auto,5,1,\"\",0,-1,2\r");
    pieces = runTo(engine, 100000 + 350);
    out = joined(pieces);
    QCOMPARE(out.count("sample,"), 3);
    QCOMPARE(timeOfByte(pieces, out.indexOf("sample,7,")), 100000 + 300);
}

void TestSimCommands::calCheckCommandsCountUpOverTime()
{
    SimEngine engine(quietDisk());
    engine.feed("auto\r");
    QVERIFY(joined(runTo(engine, 100)).endsWith(kPrompt));

    const QByteArray acquire("acquire fixed 100 1 \"\" 0 -1 2");
    QCOMPARE(acquire.size(), 29);
    qint64 began = engine.now();
    engine.feed(acquire + '\r');
    QList<Piece> pieces = runTo(engine, 30000);
    QByteArray out = joined(pieces);

    // Framed from "ms" to "data": no comma and no "ata" in between, and that frame is out at
    // once, well before the first spectrum.
    const qsizetype ms = out.toLower().indexOf("ms");
    const qsizetype data = out.indexOf("data", ms);
    QVERIFY(ms > acquire.size() && data > ms);
    QVERIFY(!out.mid(ms, data - ms).contains(','));
    QVERIFY(!out.mid(ms, data - ms).toLower().contains("ata"));
    const qsizetype firstComma = out.indexOf(',');
    QVERIFY(firstComma > data);
    QCOMPARE(timeOfByte(pieces, data), began);
    QVERIFY(timeOfByte(pieces, firstComma) - began >= 400);

    // Exactly 100 commas, one per spectrum, arriving over time.
    QCOMPARE(out.count(','), 100);
    const qsizetype lastComma = out.lastIndexOf(',');
    QCOMPARE(out.mid(firstComma, lastComma - firstComma + 1), QByteArray(100, ','));
    QVERIFY(timeOfByte(pieces, lastComma) - timeOfByte(pieces, firstComma) >= 99 * 15);
    // Then the data, found from "ata", and the prompt.
    const qsizetype spectral = out.indexOf("ata", lastComma);
    QVERIFY(spectral > lastComma);
    QVERIFY(out.endsWith(kPrompt));
    QCOMPARE(out.indexOf('>'), out.size() - 1);
    QCOMPARE(out.mid(spectral).count("\r\n"), 1 + 512 / 16);
    QVERIFY(!out.mid(lastComma + 1).contains(','));

    began = engine.now();
    engine.feed("lref,0,0,10\r");
    pieces = runTo(engine, 60000);
    out = joined(pieces);
    QVERIFY(out.startsWith("lref,0,0,10\r\n"));
    QCOMPARE(out.count('.'), 88);
    QCOMPARE(out.indexOf('.'), qsizetype(13));
    QCOMPARE(out.mid(13, 88), QByteArray(88, '.'));
    QVERIFY(out.endsWith(kPrompt));
    QVERIFY(timeOfByte(pieces, 13) - began < 1000); // within the first reply's time-out
    QVERIFY(timeOfByte(pieces, 13 + 87) - timeOfByte(pieces, 13) >= 87 * 15);
}

void TestSimCommands::darkSetDiffersFromLightSet()
{
    SimEngine engine(quietDisk());
    const QByteArray acquire("acquire fixed 100 1 \"\" 0 -1 2\r");
    engine.feed(acquire);
    QByteArray light = joined(runTo(engine, 20000));
    engine.feed("lpower,0\r" + acquire);
    QByteArray dark = joined(runTo(engine, 40000));
    QVERIFY(dark.startsWith("lpower,0\r\n" + kPrompt + "acquire fixed"));
    QCOMPARE(dark.count(kPrompt), 2);
    QCOMPARE(dark.count(','), 101); // the switch's own comma, then one per spectrum
    light = light.mid(light.indexOf("Spectral data") + 13).chopped(kPrompt.size());
    dark = dark.mid(dark.indexOf("Spectral data") + 13).chopped(kPrompt.size());
    const double lightMean = meanOfNumbers(light);
    const double darkMean = meanOfNumbers(dark);
    QVERIFY2(darkMean > 500 && darkMean < 1500, qPrintable(QString::number(darkMean)));
    QVERIFY2(lightMean > 5 * darkMean, qPrintable(QString::number(lightMean)));
}

void TestSimCommands::listingRowsKeepTheirColumns_data()
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

void TestSimCommands::listingRowsKeepTheirColumns()
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

void TestSimCommands::listingShowsTheDiskAndItsFreeSpace()
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

void TestSimCommands::typeSendsTheExactBytesAfterTheDelay_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<bool>("fast");
    QTest::newRow("115200") << 115200 << false;
    QTest::newRow("9600") << 9600 << false;
    QTest::newRow("fast") << 9600 << true;
}

void TestSimCommands::typeSendsTheExactBytesAfterTheDelay()
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
    const QList<Piece> pieces = runTo(engine, 300 + 200000);
    const QByteArray out = joined(pieces);
    QCOMPARE(out.size(), file.size() + kPrompt.size());
    QVERIFY(out.left(file.size()) == file);
    QVERIFY(out.endsWith(kPrompt));
    QCOMPARE(pieces.first().ms, 300);

    // At the line rate: rate / 10 bytes a second.
    const qint64 took = timeOfByte(pieces, file.size() - 1) - 300;
    const qint64 lineMs = qint64(file.size()) * 10000 / baud;
    if (fast)
        QCOMPARE(took, 0);
    else
        QVERIFY2(took >= lineMs * 95 / 100 && took <= lineMs * 105 / 100,
                 qPrintable(QString::number(took)));

    // Part of a file, and a file that is not there.
    engine.feed("type spectra.bin 256 10 0\r");
    QCOMPARE(joined(runTo(engine, engine.now() + 1000)),
             "type spectra.bin 256 10 0\r\n" + file.mid(256, 10) + kPrompt);
    engine.feed("type NOSUCH.BIN 0 0 300\r");
    QCOMPARE(engine.takeOutput(),
             "type NOSUCH.BIN 0 0 300\r\nFile not found: NOSUCH.BIN\r\n" + kPrompt);
}

void TestSimCommands::captureWritesTheFileAtCtrlZ()
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

    // Names the disk cannot hold.
    engine.feed("capture name_far_too_long\r");
    QVERIFY(engine.takeOutput().contains("Bad file name"));
    QVERIFY(!engine.isBusy());
}

void TestSimCommands::delRemovesAFile()
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

void TestSimCommands::typeStreamFaults_data()
{
    QTest::addColumn<bool>("hangUp");
    QTest::addColumn<qint64>("after");
    QTest::newRow("stall") << false << qint64(1000);
    QTest::newRow("stall at once") << false << qint64(0);
    QTest::newRow("hang up") << true << qint64(500);
}

void TestSimCommands::typeStreamFaults()
{
    QFETCH(bool, hangUp);
    QFETCH(qint64, after);
    SimOptions options;
    (hangUp ? options.hangupTypeAfter : options.stallTypeAfter) = after;
    SimEngine engine(options);
    const QByteArray file = fileOf(engine, "SPECTRA.BIN");
    engine.feed("type SPECTRA.BIN 0 0 300\r");
    const QByteArray out = joined(runTo(engine, 600000));
    QCOMPARE(out, "type SPECTRA.BIN 0 0 300\r\n" + file.left(after));
    QVERIFY(engine.isBusy());
    QCOMPARE(engine.hangUpRequested(), hangUp);

    // A short file ends before the cut and is whole.
    engine.feed("\x03\x03\x03");
    engine.takeOutput();
    if (after > 0) {
        engine.feed("type README.TXT 0 0 0\r");
        QVERIFY(joined(runTo(engine, 700000)).endsWith(fileOf(engine, "README.TXT") + kPrompt));
    }
}

void TestSimCommands::oddListingStillFramesAsAListing()
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

void TestSimCommands::diskFolderHoldsTheFiles()
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
    QVERIFY(joined(runTo(engine, 1000)).endsWith("12345" + kPrompt));
}

QTEST_GUILESS_MAIN(TestSimCommands)
#include "tst_SimCommands.moc"
