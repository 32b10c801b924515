#include "SimEngine.h"
#include "testkit/SimEngineChecks.h"
#include "testkit/SimOutputTimeline.h"

#include <QtTest>

// The simulator's sampling and cal check commands, run on the engine's own clock: every
// time below is engine time, moved on explicitly.

namespace
{

using namespace sim_checks;

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

class TestSimSamplingCommands : public QObject
{
    Q_OBJECT
private slots:
    void acquireSendsAndStoresAsAsked_data();
    void acquireSendsAndStoresAsAsked();
    void periodicSamplesComeEveryPeriodUntilEtx();
    void calCheckCommandsCountUpOverTime();
    void darkSetDiffersFromLightSet();
};

void TestSimSamplingCommands::acquireSendsAndStoresAsAsked_data()
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

void TestSimSamplingCommands::acquireSendsAndStoresAsAsked()
{
    QFETCH(QByteArray, command);
    QFETCH(bool, sent);
    QFETCH(QByteArray, stored);
    QFETCH(int, spectra);
    SimEngine engine(quietDisk());
    engine.feed(command + '\r');
    const SimOutputTimeline pieces = SimOutputTimeline::run(engine, 60000);
    const QByteArray out = pieces.text();

    const QByteArray echo = command + "\r\n";
    QVERIFY(out.startsWith(echo));
    QVERIFY(out.endsWith(kPrompt));
    // The sample must not end a reply framed up to ">" early.
    QCOMPARE(out.indexOf('>'), out.size() - 1);
    // The prompt comes once the spectra are taken.
    QCOMPARE(pieces.timeOfByte(out.size() - 1), qint64(spectra) * engine.options().spectrumMs);

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

void TestSimSamplingCommands::periodicSamplesComeEveryPeriodUntilEtx()
{
    SimEngine engine(quietDisk());
    const QByteArray command("start 10 Acquire auto,1,1,STORE,0,-1,4");
    engine.feed(command + '\r');
    SimOutputTimeline pieces = SimOutputTimeline::run(engine, 35000);
    QByteArray out = pieces.text();
    QVERIFY(out.startsWith(command + "\r\n"));

    // Samples at 0, 10, 20 and 30 s, each one sample followed by the prompt.
    QCOMPARE(out.count("sample,"), 4);
    QCOMPARE(out.count(kPrompt), 4);
    for (int n = 1; n <= 4; ++n) {
        const qsizetype at = out.indexOf("sample," + QByteArray::number(n) + ',');
        QVERIFY(at > 0);
        QCOMPARE(pieces.timeOfByte(at), (n - 1) * 10000 + engine.options().spectrumMs);
        const qsizetype prompt = out.indexOf(kPrompt, at);
        QCOMPARE(out.indexOf('>', at), prompt + kPrompt.size() - 1);
        QCOMPARE(out.indexOf("sample,", at + 1) < 0 ? out.size() : out.indexOf("sample,", at + 1),
                 prompt + kPrompt.size());
    }
    QCOMPARE(fileOf(engine, "STORE.RAW").count("sample,"), 4);
    // Commands are not taken while sampling.
    engine.feed("st\r");
    QVERIFY(!SimOutputTimeline::run(engine, 36000).text().contains("st:"));

    // Three ETX: one prompt, and the sampling is over.
    engine.feed("\x03\x03\x03");
    QCOMPARE(engine.takeOutput(), "\r\n" + kPrompt);
    QVERIFY(!engine.isBusy());
    QVERIFY(SimOutputTimeline::run(engine, 100000).text().isEmpty());

    // A period shorter than the spectra take: the next begins when the last one ends.
    engine.feed("start 0.01 Acquire auto,5,1,\"\",0,-1,2\r");
    pieces = SimOutputTimeline::run(engine, 100000 + 350);
    out = pieces.text();
    QCOMPARE(out.count("sample,"), 3);
    QCOMPARE(pieces.timeOfByte(out.indexOf("sample,7,")), 100000 + 300);
}

void TestSimSamplingCommands::calCheckCommandsCountUpOverTime()
{
    SimEngine engine(quietDisk());
    engine.feed("auto\r");
    QVERIFY(SimOutputTimeline::run(engine, 100).text().endsWith(kPrompt));

    const QByteArray acquire("acquire fixed 100 1 \"\" 0 -1 2");
    QCOMPARE(acquire.size(), 29);
    qint64 began = engine.now();
    engine.feed(acquire + '\r');
    SimOutputTimeline pieces = SimOutputTimeline::run(engine, 30000);
    QByteArray out = pieces.text();

    // Framed from "ms" to "data": no comma and no "ata" in between, and that frame is out at
    // once, well before the first spectrum.
    const qsizetype ms = out.toLower().indexOf("ms");
    const qsizetype data = out.indexOf("data", ms);
    QVERIFY(ms > acquire.size() && data > ms);
    QVERIFY(!out.mid(ms, data - ms).contains(','));
    QVERIFY(!out.mid(ms, data - ms).toLower().contains("ata"));
    const qsizetype firstComma = out.indexOf(',');
    QVERIFY(firstComma > data);
    QCOMPARE(pieces.timeOfByte(data), began);
    QVERIFY(pieces.timeOfByte(firstComma) - began >= 400);

    // Exactly 100 commas, one per spectrum, arriving over time.
    QCOMPARE(out.count(','), 100);
    const qsizetype lastComma = out.lastIndexOf(',');
    QCOMPARE(out.mid(firstComma, lastComma - firstComma + 1), QByteArray(100, ','));
    QVERIFY(pieces.timeOfByte(lastComma) - pieces.timeOfByte(firstComma) >= 99 * 15);
    // Then the data, found from "ata", and the prompt.
    const qsizetype spectral = out.indexOf("ata", lastComma);
    QVERIFY(spectral > lastComma);
    QVERIFY(out.endsWith(kPrompt));
    QCOMPARE(out.indexOf('>'), out.size() - 1);
    QCOMPARE(out.mid(spectral).count("\r\n"), 1 + 512 / 16);
    QVERIFY(!out.mid(lastComma + 1).contains(','));

    began = engine.now();
    engine.feed("lref,0,0,10\r");
    pieces = SimOutputTimeline::run(engine, 60000);
    out = pieces.text();
    QVERIFY(out.startsWith("lref,0,0,10\r\n"));
    QCOMPARE(out.count('.'), 88);
    QCOMPARE(out.indexOf('.'), qsizetype(13));
    QCOMPARE(out.mid(13, 88), QByteArray(88, '.'));
    QVERIFY(out.endsWith(kPrompt));
    QVERIFY(pieces.timeOfByte(13) - began < 1000); // within the first reply's time-out
    QVERIFY(pieces.timeOfByte(13 + 87) - pieces.timeOfByte(13) >= 87 * 15);
}

void TestSimSamplingCommands::darkSetDiffersFromLightSet()
{
    SimEngine engine(quietDisk());
    const QByteArray acquire("acquire fixed 100 1 \"\" 0 -1 2\r");
    engine.feed(acquire);
    QByteArray light = SimOutputTimeline::run(engine, 20000).text();
    engine.feed("lpower,0\r" + acquire);
    QByteArray dark = SimOutputTimeline::run(engine, 40000).text();
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

QTEST_GUILESS_MAIN(TestSimSamplingCommands)
#include "tst_SimSamplingCommands.moc"
