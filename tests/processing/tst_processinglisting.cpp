#include "features/processing/ProcessingListing.h"
#include "features/processing/ProcessingSession.h"
#include "link/CommandTransaction.h"
#include "link/ProgramState.h"
#include "testkit/MemoryCommPort.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using Kind = ProcessingListing::Kind;
Q_DECLARE_METATYPE(ProcessingListing::Kind)

namespace
{
// A port whose listings land in ReceiveBuffer as the command is written, as if the receive
// loop had brought them at once.
struct Bench {
    ProgramState state;
    MemoryCommPort port;
    PlainLinkStatus status;
    CommandTransaction transaction{state, port, status};
    ProcessingSession session{state, transaction, port};
    QHash<QByteArray, QByteArray> replies;

    Bench()
    {
        port.open();
        port.setResponder(
            [this](const QByteArray &command) { state.ReceiveBuffer += replies.value(command); });
    }
};
} // namespace

class TestProcessingListing : public QObject
{
    Q_OBJECT
private slots:
    void classify_data();
    void classify();
    void processingPath_data();
    void processingPath();
    void refreshListsDirectoriesThenFiles();
    void listingWithoutItsLastLineEndsAfterSilence_data();
    void listingWithoutItsLastLineEndsAfterSilence();
    void linesArrivingSlowlyKeepTheReadingGoing();
    void processingOnAClosedPortEndsTheRun();
};

void TestProcessingListing::classify_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QByteArray>("drive");
    QTest::newRow("header") << QByteArray(" Directory of D:\\DATA") << Kind::Header
                            << QByteArray("D:\\DATA") << QByteArray("D:");
    QTest::newRow("root header") << QByteArray(" Directory of C:\\") << Kind::Header
                                 << QByteArray("C:\\") << QByteArray("C:");
    // Only "irectory of" is looked for, and the text after the first "of".
    QTest::newRow("capital free header") << QByteArray("directory of x:\\a") << Kind::Header
                                         << QByteArray("x:\\a") << QByteArray("x:");
    QTest::newRow("header without a drive")
        << QByteArray("Directory of DATA") << Kind::Header << QByteArray("DATA") << QByteArray();
    QTest::newRow("colon first") << QByteArray(":Directory of X") << Kind::Header << QByteArray("X")
                                 << QByteArray();
    QTest::newRow("header naming a file") << QByteArray("Directory of C:\\A.TLT") << Kind::Header
                                          << QByteArray("C:\\A.TLT") << QByteArray("C:");
    QTest::newRow("file") << QByteArray("RUN1.TLT        48,213  2024-03-15") << Kind::Entry
                          << QByteArray() << QByteArray();
    QTest::newRow("directory") << QByteArray("OLD           <DIR>") << Kind::Entry << QByteArray()
                               << QByteArray();
    QTest::newRow("parent") << QByteArray("..            <DIR>") << Kind::Entry << QByteArray()
                            << QByteArray();
    QTest::newRow("itself") << QByteArray(".             <DIR>") << Kind::Hidden << QByteArray()
                            << QByteArray();
    QTest::newRow("lower-case file")
        << QByteArray("run1.tlt  12") << Kind::Other << QByteArray() << QByteArray();
    QTest::newRow("echo") << QByteArray("OS \"DIR *.tlt\"") << Kind::Other << QByteArray()
                          << QByteArray();
    QTest::newRow("other file") << QByteArray("NOTES.TXT  310") << Kind::Other << QByteArray()
                                << QByteArray();
    QTest::newRow("totals") << QByteArray("   2 File(s)   12,345 bytes") << Kind::Other
                            << QByteArray() << QByteArray();
    QTest::newRow("end") << QByteArray("   0 Dir(s)  52,428,800 bytes free") << Kind::End
                         << QByteArray() << QByteArray();
    QTest::newRow("prompt") << QByteArray("Orvantis>") << Kind::Other << QByteArray()
                            << QByteArray();
    QTest::newRow("empty") << QByteArray() << Kind::Other << QByteArray() << QByteArray();
    QTest::newRow("garbage") << QByteArray("\xff\xfe<DI") << Kind::Other << QByteArray()
                             << QByteArray();
}

void TestProcessingListing::classify()
{
    QFETCH(QByteArray, line);
    QFETCH(Kind, kind);
    QFETCH(QByteArray, directory);
    QFETCH(QByteArray, drive);
    const ProcessingListing::Line read = ProcessingListing::classify(line);
    QCOMPARE(read.kind, kind);
    QCOMPARE(read.directory, directory);
    QCOMPARE(read.drive, drive);
}

void TestProcessingListing::processingPath_data()
{
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QByteArray>("path");
    // No separator goes between the directory and the name.
    QTest::newRow("sub-directory")
        << QByteArray(" D:\\DATA") << QByteArray("RUN1.TLT  1,234") << QByteArray("D:\\DATARUN1");
    QTest::newRow("root") << QByteArray(" C:\\ ") << QByteArray("A.TLT") << QByteArray("C:\\A");
    QTest::newRow("directory entry")
        << QByteArray(" C:\\") << QByteArray("OLD   <DIR>") << QByteArray();
    QTest::newRow("no directory yet") << QByteArray() << QByteArray("B.TLT") << QByteArray("B");
}

void TestProcessingListing::processingPath()
{
    QFETCH(QByteArray, directory);
    QFETCH(QByteArray, entry);
    QFETCH(QByteArray, path);
    QCOMPARE(ProcessingListing::processingPath(directory, entry), path);
}

void TestProcessingListing::refreshListsDirectoriesThenFiles()
{
    Bench bench;
    bench.replies.insert(ProcessingSession::directoriesCommand(),
                         "OS \"DIR /AD\"\r\n Directory of D:\\DATA\r\n\r\n.   <DIR>\r\n"
                         "..  <DIR>\r\nOLD <DIR>\r\n  3 Dir(s)  1,000 bytes free\r\nOrvantis>");
    bench.replies.insert(ProcessingSession::filesCommand(),
                         "OS \"DIR *.tlt\"\r\n Directory of D:\\DATA\r\nA.TLT 1\r\nB.TLT 2\r\n"
                         "C.TLT 3\r\n  0 Dir(s)  1,000 bytes free\r\nOrvantis>");
    QSignalSpy counts(&bench.session, &ProcessingSession::fileCountChanged);
    QSignalSpy drives(&bench.session, &ProcessingSession::driveFound);
    QElapsedTimer elapsed;
    elapsed.start();
    bench.session.refresh();
    QVERIFY(elapsed.elapsed() < 1500);
    QCOMPARE(bench.port.written(), QByteArray("OS \"DIR /AD\"\rOS \"DIR *.tlt\"\r"));
    QCOMPARE(bench.session.entries(),
             QStringList({"..  <DIR>", "OLD <DIR>", "A.TLT 1", "B.TLT 2", "C.TLT 3"}));
    QCOMPARE(bench.session.fileCount(), 3);
    QCOMPARE(counts.constLast().at(0).toString(), QStringLiteral("File Count:3"));
    QCOMPARE(counts.constFirst().at(0).toString(), QString());
    QCOMPARE(bench.session.directoryLabel(), QStringLiteral(" D:\\DATA"));
    QCOMPARE(drives.constLast().at(0).toString(), QStringLiteral("D:"));
    QVERIFY(!bench.session.isBusy());
}

void TestProcessingListing::listingWithoutItsLastLineEndsAfterSilence_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("entries");
    QTest::newRow("nothing") << QByteArray() << 0;
    QTest::newRow("prompt left as a partial line")
        << QByteArray(" Directory of C:\\\r\nOLD <DIR>\r\nOrvantis>") << 1;
    QTest::newRow("cut off inside an entry") << QByteArray("OLD <DIR>\r\nNEW <DI") << 1;
}

// Each listing waits 2 s for its missing last line, then the refresh goes on.
void TestProcessingListing::listingWithoutItsLastLineEndsAfterSilence()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, entries);
    Bench bench;
    bench.replies.insert(ProcessingSession::directoriesCommand(), reply);
    QElapsedTimer elapsed;
    elapsed.start();
    bench.session.refresh();
    QVERIFY2(elapsed.elapsed() >= 3900, qPrintable(QString::number(elapsed.elapsed())));
    QVERIFY2(elapsed.elapsed() < 8000, qPrintable(QString::number(elapsed.elapsed())));
    QCOMPARE(bench.session.entries().size(), entries);
    QCOMPARE(bench.port.written(), QByteArray("OS \"DIR /AD\"\rOS \"DIR *.tlt\"\r"));
}

void TestProcessingListing::linesArrivingSlowlyKeepTheReadingGoing()
{
    Bench bench;
    bench.replies.insert(ProcessingSession::directoriesCommand(), "OLD <DIR>\r\n");
    // Each piece comes after 1.5 s of silence: more than half the limit, less than all of it.
    int piece = 0;
    QTimer feeder;
    feeder.setInterval(1500);
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        const QList<QByteArray> pieces = {"NEW <D", "IR>\r\n", "  bytes free\r\n"};
        if (piece < pieces.size())
            bench.state.ReceiveBuffer += pieces.at(piece++);
        else
            feeder.stop();
    });
    QObject::connect(&bench.session, &ProcessingSession::busyChanged, [&](bool busy) {
        if (busy)
            feeder.start();
    });
    bench.replies.insert(ProcessingSession::filesCommand(), "  bytes free\r\n");
    bench.session.refresh();
    QCOMPARE(bench.session.entries(), QStringList({"OLD <DIR>", "NEW <DIR>"}));
    QCOMPARE(piece, 3);
}

void TestProcessingListing::processingOnAClosedPortEndsTheRun()
{
    Bench bench;
    bench.replies.insert(ProcessingSession::directoriesCommand(),
                         " Directory of C:\\\r\nA.TLT 1\r\nB.TLT 2\r\n bytes free\r\n");
    bench.session.refresh();
    QCOMPARE(bench.session.entries().size(), 2);
    bench.port.close();
    QSignalSpy done(&bench.session, &ProcessingSession::rowProcessed);
    QElapsedTimer elapsed;
    elapsed.start();
    bench.session.process({0, 1});
    QVERIFY(elapsed.elapsed() < 1000);
    QCOMPARE(done.count(), 0);
    QVERIFY(!bench.session.isProcessing());
}

QTEST_GUILESS_MAIN(TestProcessingListing)
#include "tst_processinglisting.moc"
