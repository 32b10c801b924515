#include "SimEngine.h"
#include "SimInstrumentDisk.h"
#include "SimProcessingCommands.h"
#include "features/processing/ProcessingListing.h"

#include <QtTest>

#include <memory>

namespace
{

QByteArray ask(SimEngine &engine, const QByteArray &line)
{
    engine.feed(line);
    return engine.takeOutput();
}

// The entries of a listing as the console keeps them, and its header's directory.
struct Read {
    QByteArray directory;
    QList<QByteArray> entries;
    bool ended = false;
};

Read readListing(const QByteArray &output)
{
    Read read;
    for (const QByteArray &raw : output.split('\n')) {
        const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
        const ProcessingListing::Line kind = ProcessingListing::classify(line);
        if (kind.kind == ProcessingListing::Kind::Header)
            read.directory = kind.directory;
        else if (kind.kind == ProcessingListing::Kind::Entry)
            read.entries << line.left(line.indexOf(' '));
        else if (kind.kind == ProcessingListing::Kind::End)
            read.ended = true;
    }
    return read;
}

} // namespace

class TestSimProcessing : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void operatingSystemNeedsTheMount();
    void listingsReadAsTheConsoleReadsThem_data();
    void listingsReadAsTheConsoleReadsThem();
    void driveAndDirectoryChanges_data();
    void driveAndDirectoryChanges();
    void processingReportsEachPassAloneThenComplete();
    void processingFindsTheFile_data();
    void processingFindsTheFile();
    void etxAbortsProcessing();
    void burstReportsComeBackToBack_data();
    void burstReportsComeBackToBack();

private:
    std::unique_ptr<SimEngine> m_engine;
    std::shared_ptr<SimInstrumentDisk> m_disk;
};

void TestSimProcessing::init()
{
    m_engine = std::make_unique<SimEngine>();
    m_disk = std::make_shared<SimInstrumentDisk>(SimInstrumentDisk::sample());
    m_disk->processingStepMs = 500;
    m_disk->processingSteps = 2;
    SimProcessingCommands::install(*m_engine, m_disk);
}

void TestSimProcessing::operatingSystemNeedsTheMount()
{
    QVERIFY(ask(*m_engine, "OS \"DIR /AD\"\r").contains("Disk not mounted"));
    const QByteArray mounted = ask(*m_engine, "OS \"mount BIHD\"\r\n");
    QVERIFY(mounted.startsWith("OS \"mount BIHD\"\r\n"));
    QVERIFY(mounted.contains("BIHD mounted\r\n"));
    QVERIFY(mounted.endsWith(SimEngine::prompt()));
    QVERIFY(readListing(ask(*m_engine, "OS \"DIR /AD\"\r")).ended);
}

void TestSimProcessing::listingsReadAsTheConsoleReadsThem_data()
{
    QTest::addColumn<QByteArray>("cd");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QList<QByteArray>>("entries");
    QTest::newRow("root directories") << QByteArray() << QByteArray("OS \"DIR /AD\"\r")
                                      << QByteArray("C:\\") << QList<QByteArray>{"DATA"};
    QTest::newRow("root files") << QByteArray() << QByteArray("OS \"DIR *.tlt\"\r")
                                << QByteArray("C:\\") << QList<QByteArray>{};
    // "." is hidden by the console, ".." is not.
    QTest::newRow("sub-directories") << QByteArray("DATA") << QByteArray("OS \"DIR /AD\"\r")
                                     << QByteArray("C:\\DATA") << QList<QByteArray>{"..", "OLD"};
    QTest::newRow("processing files only")
        << QByteArray("DATA") << QByteArray("OS \"DIR *.tlt\"\r") << QByteArray("C:\\DATA")
        << QList<QByteArray>{"CAL.TLT", "RUN1.TLT", "RUN2.TLT"};
}

void TestSimProcessing::listingsReadAsTheConsoleReadsThem()
{
    QFETCH(QByteArray, cd);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, directory);
    QFETCH(QList<QByteArray>, entries);
    ask(*m_engine, "OS \"mount BIHD\"\r\n");
    if (!cd.isEmpty())
        ask(*m_engine, "OS \"CD " + cd + "\"\r\n");
    const QByteArray output = ask(*m_engine, command);
    const Read read = readListing(output);
    QCOMPARE(read.directory, directory);
    QCOMPARE(read.entries, entries);
    QVERIFY(read.ended);
    QVERIFY(output.endsWith("bytes free\r\n" + SimEngine::prompt()));
    // The echo of the file listing must not read as an entry.
    QVERIFY(!output.contains("NOTES"));
}

void TestSimProcessing::driveAndDirectoryChanges_data()
{
    QTest::addColumn<QList<QByteArray>>("commands");
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QByteArray>("complaint");
    // The console sends a drive without the closing quotation mark.
    QTest::newRow("drive") << QList<QByteArray>{"OS \"D:\r\n"} << QByteArray("D:\\")
                           << QByteArray();
    QTest::newRow("drive keeps its directory")
        << QList<QByteArray>{"OS \"CD DATA\"\r\n", "OS \"D:\r\n", "OS \"C:\r\n"}
        << QByteArray("C:\\DATA") << QByteArray();
    QTest::newRow("empty drive") << QList<QByteArray>{"OS \"F:\r\n"} << QByteArray("C:\\")
                                 << QByteArray("Invalid drive");
    QTest::newRow("down two") << QList<QByteArray>{"OS \"CD data\\old\"\r\n"}
                              << QByteArray("C:\\DATA\\OLD") << QByteArray();
    QTest::newRow("up") << QList<QByteArray>{"OS \"CD DATA\\OLD\"\r\n", "OS \"CD ..\"\r\n"}
                        << QByteArray("C:\\DATA") << QByteArray();
    QTest::newRow("up from root") << QList<QByteArray>{"OS \"CD ..\"\r\n"} << QByteArray("C:\\")
                                  << QByteArray();
    QTest::newRow("root") << QList<QByteArray>{"OS \"CD DATA\\OLD\"\r\n", "OS \"CD \\\"\r\n"}
                          << QByteArray("C:\\") << QByteArray();
    QTest::newRow("missing") << QList<QByteArray>{"OS \"CD NOPE\"\r\n"} << QByteArray("C:\\")
                             << QByteArray("Invalid directory");
    QTest::newRow("unknown") << QList<QByteArray>{"OS \"FORMAT C:\"\r\n"} << QByteArray("C:\\")
                             << QByteArray("Bad command or file name");
}

void TestSimProcessing::driveAndDirectoryChanges()
{
    QFETCH(QList<QByteArray>, commands);
    QFETCH(QByteArray, directory);
    QFETCH(QByteArray, complaint);
    ask(*m_engine, "OS \"mount BIHD\"\r\n");
    QByteArray said;
    for (const QByteArray &command : commands)
        said += ask(*m_engine, command);
    QCOMPARE(said.contains("Invalid") || said.contains("Bad"), !complaint.isEmpty());
    if (!complaint.isEmpty())
        QVERIFY(said.contains(complaint));
    QCOMPARE(readListing(ask(*m_engine, "OS \"DIR /AD\"\r")).directory, directory);
}

void TestSimProcessing::processingReportsEachPassAloneThenComplete()
{
    ask(*m_engine, "OS \"mount BIHD\"\r\n");
    const QByteArray first = ask(*m_engine, "DIRIDovavud \"C:\\DATA\\RUN1\"\r\n");
    QVERIFY(first.contains("Processing C:\\DATA\\RUN1.TLT\r\n"));
    QVERIFY(!first.contains(SimEngine::prompt()));
    // The console keeps only the first line of what arrives together, so every report must
    // come on its own.
    QStringList reports;
    for (int i = 0; i < 3; ++i) {
        m_engine->advance(499);
        QCOMPARE(m_engine->takeOutput(), QByteArray());
        m_engine->advance(1);
        reports << QString::fromLatin1(m_engine->takeOutput());
    }
    QCOMPARE(reports, QStringList({"Pass 1 of 2\r\n", "Pass 2 of 2\r\n",
                                   "Processing complete\r\n" + SimEngine::prompt()}));
}

void TestSimProcessing::processingFindsTheFile_data()
{
    QTest::addColumn<QByteArray>("cd");
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("file");
    // The console runs the directory text straight into the name.
    QTest::newRow("run together") << QByteArray("DATA") << QByteArray("C:\\DATARUN1")
                                  << QByteArray("C:\\DATA\\RUN1.TLT");
    QTest::newRow("separated") << QByteArray() << QByteArray("C:\\DATA\\OLD\\RUN0")
                               << QByteArray("C:\\DATA\\OLD\\RUN0.TLT");
    QTest::newRow("deeper run together")
        << QByteArray("DATA\\OLD") << QByteArray("C:\\DATA\\OLDRUN0")
        << QByteArray("C:\\DATA\\OLD\\RUN0.TLT");
    QTest::newRow("relative") << QByteArray("DATA") << QByteArray("run2")
                              << QByteArray("C:\\DATA\\RUN2.TLT");
    QTest::newRow("other drive") << QByteArray() << QByteArray("D:\\ARCHIVEA1")
                                 << QByteArray("D:\\ARCHIVE\\A1.TLT");
    QTest::newRow("not a processing file")
        << QByteArray("DATA") << QByteArray("C:\\DATANOTES") << QByteArray();
    QTest::newRow("missing") << QByteArray("DATA") << QByteArray("C:\\DATARUN9") << QByteArray();
}

void TestSimProcessing::processingFindsTheFile()
{
    QFETCH(QByteArray, cd);
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, file);
    ask(*m_engine, "OS \"mount BIHD\"\r\n");
    if (!cd.isEmpty())
        ask(*m_engine, "OS \"CD " + cd + "\"\r\n");
    QByteArray said = ask(*m_engine, "DIRIDovavud \"" + path + "\"\r\n");
    m_engine->advance(10000);
    said += m_engine->takeOutput();
    if (file.isEmpty()) {
        QVERIFY(said.contains("Cannot open " + path + ".TLT\r\n"));
        QVERIFY(said.endsWith("Processing aborted\r\n" + SimEngine::prompt()));
    } else {
        QVERIFY(said.contains("Processing " + file + "\r\n"));
        QVERIFY(said.endsWith("Processing complete\r\n" + SimEngine::prompt()));
    }
}

void TestSimProcessing::etxAbortsProcessing()
{
    ask(*m_engine, "OS \"mount BIHD\"\r\n");
    ask(*m_engine, "DIRIDovavud \"C:\\DATA\\RUN1\"\r\n");
    m_engine->advance(600);
    QCOMPARE(m_engine->takeOutput(), QByteArray("Pass 1 of 2\r\n"));
    QCOMPARE(ask(*m_engine, QByteArray(1, SimEngine::kEtx)),
             "Processing aborted\r\n\r\n" + SimEngine::prompt());
    m_engine->advance(10000);
    QCOMPARE(m_engine->takeOutput(), QByteArray());
    // Back at the prompt: commands are answered again, and ETX has nothing left to abort.
    QVERIFY(ask(*m_engine, "OS \"CD\"\r\n").contains("C:\\\r\n"));
    QVERIFY(!ask(*m_engine, QByteArray(1, SimEngine::kEtx)).contains("aborted"));
}

void TestSimProcessing::burstReportsComeBackToBack_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<qint64>("endMs");
    QTest::addColumn<bool>("stop"); // ETX at endMs
    QTest::addColumn<QByteArray>("burst");
    QTest::newRow("complete") << QByteArray("C:\\DATA\\RUN1") << qint64(1500) << false
                              << QByteArray("Processing C:\\DATA\\RUN1.TLT\r\nPass 1 of 2\r\n"
                                            "Pass 2 of 2\r\nProcessing complete\r\n");
    QTest::newRow("missing file") << QByteArray("C:\\DATA\\RUN9") << qint64(500) << false
                                  << QByteArray("Cannot open C:\\DATA\\RUN9.TLT\r\n"
                                                "Processing aborted\r\n");
    QTest::newRow("stopped") << QByteArray("C:\\DATA\\RUN1") << qint64(700) << true
                             << QByteArray("Processing C:\\DATA\\RUN1.TLT\r\nPass 1 of 2\r\n"
                                           "Processing aborted\r\n\r\n");
}

void TestSimProcessing::burstReportsComeBackToBack()
{
    QFETCH(QByteArray, path);
    QFETCH(qint64, endMs);
    QFETCH(bool, stop);
    QFETCH(QByteArray, burst);
    m_engine->options().burstReports = true;
    ask(*m_engine, "OS \"mount BIHD\"\r\n");
    const QByteArray command = "DIRIDovavud \"" + path + "\"\r\n";
    QCOMPARE(ask(*m_engine, command), command);
    m_engine->advance(endMs - 1);
    QCOMPARE(m_engine->takeOutput(), QByteArray());
    m_engine->advance(1);
    const QByteArray said =
        stop ? ask(*m_engine, QByteArray(1, SimEngine::kEtx)) : m_engine->takeOutput();
    QCOMPARE(said, burst + SimEngine::prompt());
}

QTEST_GUILESS_MAIN(TestSimProcessing)
#include "tst_SimProcessing.moc"
