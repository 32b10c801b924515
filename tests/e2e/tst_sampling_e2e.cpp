// The Sampling and Save to File panels against orvantis-sim over a real pseudo-terminal:
// the data file holds byte for byte what the instrument sent, in place of what the file
// held before, and periodic sampling runs until Stop sends exactly three ETX.
#include "testkit/SimConsole.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    // The simulator recording both directions, the console connected, polling off, and the
    // instrument's last word read.
    bool start(SimConsole &rig);
    // "New File..." with the operator choosing `path`, over an older and longer file.
    void openDataFile(SimConsole &rig, const QString &path);

    QTemporaryDir m_dir;
    QString m_sent;
    QString m_received;
};

void SamplingEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir.filePath("settings"));
}

bool SamplingEndToEnd::start(SimConsole &rig)
{
    if (!rig.startedAndConnected())
        return false;
    rig.stopPolling();
    const QByteArray reply = rig.c().session.line().SendCommand("id\r", "", "Orvantis>", 5);
    return reply.contains("firmware") &&
           QTest::qWaitFor([&] { return fileBytes(m_sent).endsWith("Orvantis>"); }, 5000);
}

void SamplingEndToEnd::openDataFile(SimConsole &rig, const QString &path)
{
    QVERIFY(writeFile(path, QByteArray(100000, 'o')));
    rig.dialogs.pathAnswers << path;
    rig.controls().NewFileButton->click();
    QCOMPARE(rig.c().session.state().DataFileNumber(), 1);
    QCOMPARE(rig.controls().SavingLabel->text(), "Saving to \"" + QFileInfo(path).fileName() + '"');
    QVERIFY(!rig.controls().NewFileButton->isEnabled());
    QVERIFY(rig.controls().StopSavingButton->isEnabled());
}

void SamplingEndToEnd::sampleOnceFilesExactlyWhatTheInstrumentSent()
{
    m_sent = m_dir.filePath("once-sent.bin");
    SimConsole rig({"--fast", "--record", m_sent});
    QVERIFY(start(rig));
    const MainFormControls &c = rig.controls();
    const QString path = m_dir.filePath("once.raw");
    openDataFile(rig, path);
    const qint64 before = fileBytes(m_sent).size();

    c.SampleOnceButton->click();

    QCOMPARE(rig.status(), int(StatusCode::Idle));
    QTRY_VERIFY(fileBytes(m_sent).endsWith("Orvantis>"));
    const QByteArray expected = fileBytes(m_sent).mid(before);
    // The receive loop writes what it read at the end of each run.
    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(path).size(), qint64(expected.size()), 15000);
    c.StopSavingButton->click();
    QCOMPARE(rig.c().session.state().DataFileNumber(), 0);
    QCOMPARE(c.SavingLabel->text(), QString("No file open"));
    const QByteArray got = fileBytes(path);
    QCOMPARE(got, expected);
    QVERIFY2(got.startsWith("Acquire auto,1,1,\"\",0,-1,2\r\nsample,1,"), got.left(80).constData());
    QVERIFY(got.endsWith("\r\nOrvantis>"));
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void SamplingEndToEnd::periodicSamplingRunsUntilStopSendsThreeEtx()
{
    m_sent = m_dir.filePath("periodic-sent.bin");
    m_received = m_dir.filePath("periodic-received.bin");
    SimConsole rig({"--fast", "--record", m_sent, "--record-input", m_received});
    QVERIFY(start(rig));
    const MainFormControls &c = rig.controls();
    const QString path = m_dir.filePath("periodic.raw");
    openDataFile(rig, path);
    const qint64 sentBefore = fileBytes(m_sent).size();
    const qint64 receivedBefore = fileBytes(m_received).size();
    c.SampleDelayText->setText("1");

    c.StartSamplingButton->click();

    QCOMPARE(rig.status(), int(StatusCode::PeriodicSampling));
    QCOMPARE(c.StatusLabel->text().trimmed(), QString("Periodic sampling (1 s)"));
    QVERIFY(!c.StartSamplingButton->isEnabled() && !c.SampleOnceButton->isEnabled());
    QVERIFY(c.StopSamplingButton->isEnabled());
    QCOMPARE(fileBytes(m_received).mid(receivedBefore),
             QByteArray("start 1 Acquire auto,1,1,\"\",0,-1,2\r"));
    // One sample a second lands in the file while the window waits in status 4.
    QTRY_VERIFY_WITH_TIMEOUT(fileBytes(path).count("sample,") >= 3, 15000);
    QCOMPARE(rig.status(), int(StatusCode::PeriodicSampling));

    const qint64 receivedAtStop = fileBytes(m_received).size();
    c.StopSamplingButton->click();
    QCOMPARE(rig.status(), int(StatusCode::Idle));
    QVERIFY(c.StartSamplingButton->isEnabled());
    const QByteArray threeEtx(3, '\x03');
    QTRY_COMPARE(fileBytes(m_received).mid(receivedAtStop), threeEtx);
    // The instrument recorded the ETX before it acted on them.
    const qsizetype samplesAtStop = fileBytes(m_sent).count("sample,");

    // More than two periods of receive runs: no sample follows, nothing more is sent.
    QSignalSpy runs(rig.c().session.findChild<QTimer *>("Timer1"), &QTimer::timeout);
    QTRY_VERIFY_WITH_TIMEOUT(runs.size() >= 15, 15000);
    const QByteArray allSent = fileBytes(m_sent);
    QCOMPARE(allSent.count("sample,"), samplesAtStop);
    QVERIFY(allSent.endsWith("\r\nOrvantis>"));
    QCOMPARE(fileBytes(m_received).mid(receivedAtStop), threeEtx);
    c.StopSavingButton->click();
    QCOMPARE(fileBytes(path), allSent.mid(sentBefore));
    QCOMPARE(rig.dialogs.errors, QStringList());
}

QTEST_MAIN(SamplingEndToEnd)
#include "tst_sampling_e2e.moc"
