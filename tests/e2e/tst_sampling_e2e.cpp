// The Sampling and Save to File panels against orvantis-sim over a real pseudo-terminal:
// what lands in the data file is byte for byte what the instrument sent, and periodic
// sampling ends with exactly three ETX.
#include "testkit/DeviceConsole.h"
#include "testkit/TestSettings.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class SamplingEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sampleOnceFilesExactlyWhatTheInstrumentSent();
    void periodicSamplingRunsUntilStopSendsThreeEtx();

private:
    // Until the instrument's last word has reached the console: a command framed up to its
    // prompt, and that prompt the last thing in the record of what it sent.
    static void settle(DeviceConsole &console, const QString &sentRecord);
    // "New File..." with the operator choosing `path`.
    static void openDataFile(DeviceConsole &console, const QString &path);

    QTemporaryDir m_dir;
};

void SamplingEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

void SamplingEndToEnd::settle(DeviceConsole &console, const QString &sentRecord)
{
    const QByteArray reply =
        console.binding.form.transaction().SendCommand("id\r", "", "Orvantis>", 5);
    QVERIFY2(reply.contains("firmware"), reply.constData());
    QTRY_VERIFY(DeviceConsole::fileBytes(sentRecord).endsWith("Orvantis>"));
}

void SamplingEndToEnd::openDataFile(DeviceConsole &console, const QString &path)
{
    console.scripted.pathAnswers << path;
    console.controls().NewFileButton->click();
    QCOMPARE(console.binding.state.DataFileNumber(), 1);
    QCOMPARE(console.controls().SavingLabel->text(),
             "Saving to \"" + QFileInfo(path).fileName() + '"');
    QVERIFY(!console.controls().NewFileButton->isEnabled());
    QVERIFY(console.controls().StopSavingButton->isEnabled());
}

void SamplingEndToEnd::sampleOnceFilesExactlyWhatTheInstrumentSent()
{
    const QString sent = m_dir.filePath("once-sent.bin");
    SimProcess sim;
    QVERIFY2(sim.start({"--fast", "--record", sent}), qPrintable(sim.errorString()));
    DeviceConsole console(sim.devicePath());
    const MainFormControls &c = console.controls();
    QVERIFY(console.connect());
    console.stopPolling();
    settle(console, sent);

    const QString path = m_dir.filePath("once.raw");
    openDataFile(console, path);
    const qint64 before = DeviceConsole::fileBytes(sent).size();
    c.SampleOnceButton->click();
    QCOMPARE(console.status(), int(LinkStatus::Idle));
    QTRY_VERIFY(DeviceConsole::fileBytes(sent).endsWith("Orvantis>"));
    const QByteArray expected = DeviceConsole::fileBytes(sent).mid(before);
    // The receive loop writes what it read at the end of each run.
    QTRY_COMPARE(QFileInfo(path).size(), qint64(expected.size()));
    c.StopSavingButton->click();
    QCOMPARE(console.binding.state.DataFileNumber(), 0);
    QCOMPARE(c.SavingLabel->text(), QString("No file open"));

    const QByteArray got = DeviceConsole::fileBytes(path);
    QCOMPARE(got, expected);
    QVERIFY2(got.startsWith("Acquire auto,1,1,\"\",0,-1,2\r\nsample,1,"), got.left(80).constData());
    QVERIFY(got.endsWith("\r\nOrvantis>"));
    QCOMPARE(console.scripted.errors, QStringList());
}

void SamplingEndToEnd::periodicSamplingRunsUntilStopSendsThreeEtx()
{
    const QString sent = m_dir.filePath("periodic-sent.bin");
    const QString received = m_dir.filePath("periodic-received.bin");
    SimProcess sim;
    QVERIFY2(sim.start({"--fast", "--record", sent, "--record-input", received}),
             qPrintable(sim.errorString()));
    DeviceConsole console(sim.devicePath());
    const MainFormControls &c = console.controls();
    QVERIFY(console.connect());
    console.stopPolling();
    settle(console, sent);

    const QString path = m_dir.filePath("periodic.raw");
    openDataFile(console, path);
    const qint64 sentBefore = DeviceConsole::fileBytes(sent).size();
    const qint64 receivedBefore = DeviceConsole::fileBytes(received).size();
    c.SampleDelayText->setText("1");
    c.StartSamplingButton->click();
    QCOMPARE(console.status(), int(LinkStatus::PeriodicSampling));
    QCOMPARE(c.StatusLabel->text().trimmed(), QString("Periodic sampling (1 s)"));
    QVERIFY(!c.StartSamplingButton->isEnabled());
    QVERIFY(!c.SampleOnceButton->isEnabled());
    QVERIFY(c.StopSamplingButton->isEnabled());
    QCOMPARE(DeviceConsole::fileBytes(received).mid(receivedBefore),
             QByteArray("start 1 Acquire auto,1,1,\"\",0,-1,2\r"));

    // One sample a second lands in the file while the window waits in status 4.
    QTRY_VERIFY_WITH_TIMEOUT(DeviceConsole::fileBytes(path).count("sample,") >= 3, 15000);
    QCOMPARE(console.status(), int(LinkStatus::PeriodicSampling));

    const qint64 receivedAtStop = DeviceConsole::fileBytes(received).size();
    c.StopSamplingButton->click();
    QCOMPARE(console.status(), int(LinkStatus::Idle));
    QVERIFY(c.StartSamplingButton->isEnabled());
    const QByteArray threeEtx(3, '\x03');
    QTRY_COMPARE(DeviceConsole::fileBytes(received).mid(receivedAtStop), threeEtx);
    // The instrument recorded the ETX before it acted on them, so every sample it sent
    // before the stop is in the record now.
    const qsizetype samplesAtStop = DeviceConsole::fileBytes(sent).count("sample,");

    // More than two periods of receive runs: no sample follows, nothing more is sent.
    QSignalSpy runs(console.binding.form.Timer1(), &QTimer::timeout);
    QTRY_VERIFY_WITH_TIMEOUT(runs.size() >= 15, 15000);
    const QByteArray allSent = DeviceConsole::fileBytes(sent);
    QCOMPARE(allSent.count("sample,"), samplesAtStop);
    QVERIFY(allSent.endsWith("\r\nOrvantis>"));
    QCOMPARE(DeviceConsole::fileBytes(received).mid(receivedAtStop), threeEtx);

    c.StopSavingButton->click();
    const QByteArray got = DeviceConsole::fileBytes(path);
    QCOMPARE(got, allSent.mid(sentBefore));
    QVERIFY(got.count("sample,") >= 3);
    QCOMPARE(console.scripted.errors, QStringList());
}

QTEST_MAIN(SamplingEndToEnd)
#include "tst_sampling_e2e.moc"
