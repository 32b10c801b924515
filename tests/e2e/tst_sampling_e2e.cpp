// The Sampling and Save to File panels against orvantis-sim over a real pseudo-terminal:
// the data file holds byte for byte what the instrument sent, in place of what the file
// held before, and keeps it when a new file is declined; the panel's settings reach the
// acquire command as the instrument hears it; periodic sampling runs until Stop sends
// exactly three ETX, and does not start on a period that is no number.
#include "testkit/SimConsole.h"
#include "testkit/TestFiles.h"
#include "testkit/TestSettings.h"

#include <QCheckBox>
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
    void declinedNewFileKeepsTheOldOneGrowing();
    void panelSettingsReachTheAcquireAndABadPeriodSendsNothing();

private:
    // The simulator recording both directions (m_sent, m_received, named after `name`), the
    // console connected, polling off, and the instrument's last word read; null on failure.
    std::unique_ptr<SimConsole> start(const QString &name);
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

std::unique_ptr<SimConsole> SamplingEndToEnd::start(const QString &name)
{
    m_sent = m_dir.filePath(name + "-sent.bin");
    m_received = m_dir.filePath(name + "-received.bin");
    auto rig = std::make_unique<SimConsole>(
        QStringList{"--fast", "--record", m_sent, "--record-input", m_received});
    if (!rig->startedAndConnected())
        return nullptr;
    rig->stopPolling();
    const QByteArray reply = rig->c().session.line().SendCommand("id\r", "", "Orvantis>", 5);
    const bool ready =
        reply.contains("firmware") &&
        QTest::qWaitFor([&] { return fileBytes(m_sent).endsWith("Orvantis>"); }, 5000);
    return ready ? std::move(rig) : nullptr;
}

void SamplingEndToEnd::openDataFile(SimConsole &rig, const QString &path)
{
    QVERIFY(writeFile(path, QByteArray(100000, 'o')));
    rig.dialogs.pathAnswers << path;
    rig.controls().NewFileButton->click();
    QCOMPARE(rig.c().session.DataFileNumber(), 1);
    QCOMPARE(rig.controls().SavingLabel->text(), "Saving to \"" + QFileInfo(path).fileName() + '"');
    QVERIFY(!rig.controls().NewFileButton->isEnabled());
    QVERIFY(rig.controls().StopSavingButton->isEnabled());
}

void SamplingEndToEnd::sampleOnceFilesExactlyWhatTheInstrumentSent()
{
    const auto started = start("once");
    QVERIFY(started);
    SimConsole &rig = *started;
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
    QCOMPARE(rig.c().session.DataFileNumber(), 0);
    QCOMPARE(c.SavingLabel->text(), QString("No file open"));
    const QByteArray got = fileBytes(path);
    QCOMPARE(got, expected);
    QVERIFY2(got.startsWith("Acquire auto,1,1,\"\",0,-1,2\r\nsample,1,"), got.left(80).constData());
    QVERIFY(got.endsWith("\r\nOrvantis>"));
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void SamplingEndToEnd::periodicSamplingRunsUntilStopSendsThreeEtx()
{
    const auto started = start("periodic");
    QVERIFY(started);
    SimConsole &rig = *started;
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

void SamplingEndToEnd::declinedNewFileKeepsTheOldOneGrowing()
{
    const auto started = start("declined");
    QVERIFY(started);
    SimConsole &rig = *started;
    const QString path = m_dir.filePath("kept.raw");
    openDataFile(rig, path);

    rig.dialogs.questionAnswers << -1;
    QCOMPARE(rig.c().sampling.OpenNewFile(), -1);

    QCOMPARE(rig.dialogs.questions, QStringList{"Close the current file?"});
    QCOMPARE(rig.dialogs.fileChoosers.size(), 1);
    QCOMPARE(rig.controls().SavingLabel->text(), QString("Saving to \"kept.raw\""));
    QVERIFY(rig.controls().StopSavingButton->isEnabled());
    const qint64 before = fileBytes(m_sent).size();
    rig.controls().SampleOnceButton->click();
    QTRY_VERIFY(fileBytes(m_sent).endsWith("Orvantis>"));
    QTRY_COMPARE_WITH_TIMEOUT(fileBytes(path), fileBytes(m_sent).mid(before), 15000);
    QVERIFY(fileBytes(path).contains("sample,"));
}

void SamplingEndToEnd::panelSettingsReachTheAcquireAndABadPeriodSendsNothing()
{
    const auto started = start("settings");
    QVERIFY(started);
    SimConsole &rig = *started;
    const MainFormControls &c = rig.controls();
    // A pasted name of 10: cut to 8 with a word why; the command takes 7 of them.
    c.FlashFilenameText->setText("SAMPLE1234");
    QCOMPARE(c.FlashFilenameText->text(), QString("SAMPLE12"));
    QCOMPARE(rig.dialogs.messages, QStringList{"Orvantis Console: Flash file names are limited to "
                                               "8 characters (extension is added automatically)"});
    c.StoreInFlashCheck->setChecked(true);
    c.AverageCheck->setChecked(true);
    c.AverageSamplesText->setText("25");
    const qint64 before = fileBytes(m_received).size();

    c.SampleDelayText->setText("ten");
    c.StartSamplingButton->click();
    QCOMPARE(rig.dialogs.errors,
             QStringList{"The minimum period must be a number of seconds, such as 10 or 2.5. "
                         "Periodic sampling was not started."});
    QCOMPARE(rig.status(), int(StatusCode::Idle));
    QVERIFY(c.StartSamplingButton->isEnabled());

    // Nothing went out for it: the next the instrument hears is the sample asked for now.
    c.SampleOnceButton->click();
    QTRY_COMPARE(fileBytes(m_received).mid(before),
                 QByteArray("Acquire auto,25,1,SAMPLE1,0,-1,4\r"));

    // Samples coming with no file open to take them: the label says so in bold red until Stop.
    QVERIFY(!c.SavingLabel->font().bold());
    c.SampleDelayText->setText("1");
    c.StartSamplingButton->click();
    QVERIFY(c.SavingLabel->font().bold());
    QCOMPARE(c.SavingLabel->styleSheet(), QString("color: rgb(255, 0, 0);"));
    c.StopSamplingButton->click();
    QVERIFY(!c.SavingLabel->font().bold() && c.SavingLabel->styleSheet().isEmpty());
}

QTEST_MAIN(SamplingEndToEnd)
#include "tst_sampling_e2e.moc"
