// The Sampling and Save to File panels against orvantis-sim over a real pseudo-terminal:
// the data file holds byte for byte what the instrument sent, in place of what the file
// held before, and keeps it when a new file is declined; the panel's settings reach the
// acquire command as the instrument hears it; periodic sampling runs until Stop sends
// exactly three ETX, and does not start on a period that is no number.
#include "testkit/SimRig.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class SamplingEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void declinedNewFileKeepsTheOldOneTakingSamples();
    void periodicSamplingRunsUntilStopSendsThreeEtx();
    void panelSettingsReachTheAcquireAndABadPeriodSendsNothing();
};

namespace
{
// The data file through "New File...", over an older and longer file of that name; the panel
// shows it.
void openOverAnOlderFile(SimRig &rig, const QString &path)
{
    QVERIFY(writeFile(path, QByteArray(100000, 'o')));
    QVERIFY(rig.openDataFile(path));
    QCOMPARE(rig.controls().SavingLabel->text(), "Saving to \"" + QFileInfo(path).fileName() + '"');
    QVERIFY(!rig.controls().NewFileButton->isEnabled());
    QVERIFY(rig.controls().StopSavingButton->isEnabled());
    // The instrument's record has caught up with the search.
    QTRY_VERIFY(rig.sent().endsWith("Orvantis>"));
}
} // namespace

void SamplingEndToEnd::declinedNewFileKeepsTheOldOneTakingSamples()
{
    SimRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const QString path = rig.path("kept.raw");
    openOverAnOlderFile(rig, path);
    rig.dialogs.questionAnswers << -1;
    QCOMPARE(rig.c().sampling.OpenNewFile(), -1);
    QCOMPARE(rig.dialogs.questions, QStringList{"Close the current file?"});
    // The chooser came up once, for the first file.
    QCOMPARE(rig.dialogs.fileChoosers, QStringList{": Text Files (*.raw);;All Files (*.*)"});
    QCOMPARE(rig.controls().SavingLabel->text(), QString("Saving to \"kept.raw\""));
    const qsizetype before = rig.sent().size();
    rig.click("Sample Once");
    QCOMPARE(rig.status(), StatusCode::Idle);
    QTRY_VERIFY(rig.sent().endsWith("Orvantis>"));
    const QByteArray expected = rig.sent().mid(before);
    // The receive loop writes what it read at the end of each run.
    QTRY_COMPARE_WITH_TIMEOUT(fileBytes(path), expected, 15000);
    QVERIFY2(expected.startsWith("Acquire auto,1,1,\"\",0,-1,2\r\nsample,1,"),
             expected.left(80).constData());
    QVERIFY(expected.endsWith("\r\nOrvantis>"));
    rig.click("Stop Saving");
    QVERIFY(!probe::dataFile(rig.session()).isOpen());
    QCOMPARE(fileBytes(path), expected);
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void SamplingEndToEnd::periodicSamplingRunsUntilStopSendsThreeEtx()
{
    SimRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const QString path = rig.path("periodic.raw");
    openOverAnOlderFile(rig, path);
    const qsizetype sentBefore = rig.sent().size();
    const qsizetype heardBefore = rig.heard().size();
    rig.startPeriodic("1");
    QCOMPARE(rig.heardSince(heardBefore), QByteArray("start 1 Acquire auto,1,1,\"\",0,-1,2\r"));
    // One sample a second lands in the file while the window waits in status 4.
    QTRY_VERIFY_WITH_TIMEOUT(fileBytes(path).count("sample,") >= 3, 15000);
    QCOMPARE(rig.status(), StatusCode::PeriodicSampling);
    const qsizetype heardAtStop = rig.heard().size();
    rig.click("Stop");
    QTRY_COMPARE(rig.heardSince(heardAtStop), QByteArray(3, '\x03'));
    // The instrument recorded the ETX before it acted on them.
    QTRY_VERIFY(!rig.sim.isSampling());
    const qsizetype samplesAtStop = rig.sent().count("sample,");
    // More than two periods of receive runs: no sample follows, nothing more is sent.
    QSignalSpy runs(rig.session().findChild<QTimer *>("Timer1"), &QTimer::timeout);
    QTRY_VERIFY_WITH_TIMEOUT(runs.size() >= 15, 15000);
    const QByteArray allSent = rig.sent();
    QCOMPARE(allSent.count("sample,"), samplesAtStop);
    QVERIFY(allSent.endsWith("\r\nOrvantis>"));
    QCOMPARE(rig.heardSince(heardAtStop), QByteArray(3, '\x03'));
    rig.click("Stop Saving");
    QCOMPARE(fileBytes(path), allSent.mid(sentBefore));
    QCOMPARE(rig.dialogs.errors, QStringList());
}

void SamplingEndToEnd::panelSettingsReachTheAcquireAndABadPeriodSendsNothing()
{
    SimRig rig;
    QVERIFY2(rig.start(), qPrintable(rig.error()));
    const MainFormControls &c = rig.controls();
    // A pasted name of 10: cut to 8 with a word why; the command takes 7 of them.
    c.FlashFilenameText->setText("SAMPLE1234");
    QCOMPARE(c.FlashFilenameText->text(), QString("SAMPLE12"));
    QCOMPARE(rig.dialogs.messages, QStringList{"Orvantis Console: Flash file names are limited to "
                                               "8 characters (extension is added automatically)"});
    rig.click("Store samples in Orvantis flash");
    rig.click("Average multiple spectra in each sample:");
    c.AverageSamplesText->setText("25");
    const qsizetype before = rig.heard().size();
    c.SampleDelayText->setText("ten");
    rig.click("Start Periodic");
    QCOMPARE(rig.dialogs.errors,
             QStringList{"The minimum period must be a number of seconds, such as 10 or 2.5. "
                         "Periodic sampling was not started."});
    QCOMPARE(rig.status(), StatusCode::Idle);
    QVERIFY(c.StartSamplingButton->isEnabled());
    // Nothing went out for it: the next the instrument hears is the sample asked for now.
    rig.click("Sample Once");
    QTRY_COMPARE(rig.heardSince(before), QByteArray("Acquire auto,25,1,SAMPLE1,0,-1,4\r"));
    // Samples coming with no file open to take them: the label says so in bold red until Stop.
    QVERIFY(!c.SavingLabel->font().bold());
    c.SampleDelayText->setText("1");
    rig.click("Start Periodic");
    QVERIFY(c.SavingLabel->font().bold());
    QCOMPARE(c.SavingLabel->styleSheet(), QString("color: rgb(255, 0, 0);"));
    rig.click("Stop");
    QVERIFY(!c.SavingLabel->font().bold() && c.SavingLabel->styleSheet().isEmpty());
}

QTEST_MAIN(SamplingEndToEnd)
#include "tst_sampling_e2e.moc"
